#pragma once
// tVMThread: a small stack machine over one caller-owned memory block that holds
// the 28-byte instruction records, the data cells (8 bytes each) and the stack.
// The stack starts at the end of the block and grows towards lower cells.
//
// Every run-time fault (an IP or a cell index outside the block, a push on a
// full stack, a pop past the start of the stack, an invalid opcode or operand
// kind) ends the program with a fatal error before any memory outside the block
// is touched.

#include <cstdint>
#include <vector>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "kernel/vm/instruction.h"

class tVMThread;

// A decoded instruction: the handler routine, called with the machine that runs it.
using tInstructionProcessor = void (*)(tVMThread&);

struct tMachineStatusWord {
    int32_t IP = 0;  // index of the current instruction record
    int32_t SP = 0;  // index of the stack top, in 8-byte cells from the block start
    bool Halted = false;
    double TempRegister = 0.0;  // holds an immediate operand while an instruction uses it
};
inline constexpr tMachineStatusWord MSWReset{};

class tVMThread : public tZObject {
    Z_DECLARE_CLASS(tVMThread, tZObject)
public:
    tVMThread();

    // Loads a block of Size bytes (8-byte aligned): the stack starts empty at
    // its end, and every instruction record is decoded.
    void SetCodeSegment(void* Block, int32_t Size);
    // Decodes each record's opcode number into its handler, once, so Execute
    // dispatches every instruction with a single indirect call.
    void RemapCodeSegment();
    // Runs from record StartIP until OP_HLT or until Budget instructions have run.
    void Execute(int32_t StartIP, int32_t Budget);

    tInstructionProcessor FindProcedure(int32_t OpCode) const;
    int32_t FindOpcode(tInstructionProcessor Handler) const;
    // The host address of a byte offset inside the block.
    void* LocalPointer2SystemPointer(int32_t Offset) const;

    void StackPush(double Value);
    double StackPop();
    // "-- Stack dump --" and every stack element from the top down, to standard output.
    void DumpStack() const;

    const tMachineStatusWord& GetMSW() const { return MSW; }
    int32_t GetCodeSegmentSize() const { return CodeSegmentSize; }

private:
    template <void (tVMThread::*Handler)()>
    static void Dispatch(tVMThread& Machine) { (Machine.*Handler)(); }

    [[noreturn]] void Fault(const ShortString& What) const;
    uint16_t InstrArgumentType() const;
    double* InstrArgument();
    int32_t RoundedTarget(double Value) const;
    void JumpTo(double Target);

    void OpCode_INVALID();
    void OpCode_NOP();
    void OpCode_HLT();
    void OpCode_DBGDISP();
    void OpCode_PUSH();
    void OpCode_POP();
    void OpCode_XCHG();
    void OpCode_CALL();
    void OpCode_RET();
    void OpCode_ADD();
    void OpCode_SUB();
    void OpCode_INC();
    void OpCode_DEC();
    void OpCode_JZ();
    void OpCode_JNZ();
    void OpCode_LS();

    uint8_t* MemorySpace = nullptr;  // the block as instruction records
    double* CodeSegment = nullptr;   // the block as 8-byte cells
    int32_t CodeSegmentSize = 0;     // in bytes
    int32_t RecordCount = 0;
    int32_t CellCount = 0;
    tMachineStatusWord MSW = MSWReset;
    tInstructionProcessor MappingTable[OpCodeCount];
    // The decoded handlers, one per record. Kept apart from the block: the
    // program can write any cell, and a handler address stored where a
    // program can overwrite it would let a script call arbitrary code.
    std::vector<tInstructionProcessor> Decoded;
};
