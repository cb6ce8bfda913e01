#include "kernel/vm/vmthread.h"

#include <cmath>
#include <cstdio>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

namespace {

// Below this magnitude a value counts as zero for the conditional jumps. Kept in
// extended precision, so a double equal to 1e-7 counts as zero.
constexpr long double ZeroThreshold = 1e-7L;

// Addresses and jump targets are rounded operands that must fit a signed 32-bit index.
constexpr double MaxRoundedIndex = 2147483647.0;

[[noreturn]] void HaltMachine(const ShortString& Msg) {
    if (Logger) Logger->Fatal(Msg);
    InstantHalt(Msg);
}

}  // namespace

Z_IMPLEMENT_CLASS(tVMThread)

tVMThread::tVMThread()
    : MappingTable{
          &Dispatch<&tVMThread::OpCode_INVALID>, &Dispatch<&tVMThread::OpCode_NOP>,
          &Dispatch<&tVMThread::OpCode_HLT>,     &Dispatch<&tVMThread::OpCode_DBGDISP>,
          &Dispatch<&tVMThread::OpCode_PUSH>,    &Dispatch<&tVMThread::OpCode_POP>,
          &Dispatch<&tVMThread::OpCode_XCHG>,    &Dispatch<&tVMThread::OpCode_CALL>,
          &Dispatch<&tVMThread::OpCode_RET>,     &Dispatch<&tVMThread::OpCode_ADD>,
          &Dispatch<&tVMThread::OpCode_SUB>,     &Dispatch<&tVMThread::OpCode_INC>,
          &Dispatch<&tVMThread::OpCode_DEC>,     &Dispatch<&tVMThread::OpCode_JZ>,
          &Dispatch<&tVMThread::OpCode_JNZ>,     &Dispatch<&tVMThread::OpCode_LS>,
      } {}

void tVMThread::SetCodeSegment(void* Block, int32_t Size) {
    ProcTrace trace("tVMThread.SetCodeSegment(" + Int2Str(Size) + ")");
    if (Size < 0) HaltMachine("Invalid code segment size: " + Int2Str(Size));
    if (Size > 0 && !Block) HaltMachine("Code segment is missing");
    if (reinterpret_cast<uintptr_t>(Block) % alignof(double) != 0)
        HaltMachine("Code segment must be aligned to 8 bytes");

    MemorySpace = static_cast<uint8_t*>(Block);
    CodeSegment = static_cast<double*>(Block);
    CodeSegmentSize = Size;
    RecordCount = Size / static_cast<int32_t>(InstructionRecordSize);
    CellCount = Size / static_cast<int32_t>(MemoryCellSize);
    // The stack starts past the last whole cell, so the first push writes the
    // block's last cell and no push can reach beyond the block.
    MSW.SP = CellCount;
    RemapCodeSegment();
}

void tVMThread::RemapCodeSegment() {
    ProcTrace trace("tVMThread.RemapCodeSegment()");
    Decoded.resize(static_cast<std::size_t>(RecordCount));
    for (int32_t i = 0; i < RecordCount; ++i)
        Decoded[static_cast<std::size_t>(i)] = FindProcedure(ReadOpCodeNumber(MemorySpace + i * InstructionRecordSize));
}

void tVMThread::Execute(int32_t StartIP, int32_t Budget) {
    MSW.IP = StartIP;
    MSW.Halted = false;
    const tInstructionProcessor* handlers = Decoded.data();
    const uint32_t records = static_cast<uint32_t>(RecordCount);
    for (int32_t count = 0; count < Budget && !MSW.Halted; ++count) {
        if (static_cast<uint32_t>(MSW.IP) >= records) Fault("IP outside the code segment");
        handlers[MSW.IP](*this);
        ++MSW.IP;  // a jump stored its target - 1; IP stays below 2^31 - 1 (see RoundedTarget)
    }
}

tInstructionProcessor tVMThread::FindProcedure(int32_t OpCode) const {
    if (OpCode < 0 || OpCode >= OpCodeCount) HaltMachine("Invalid opcode number: " + Int2Str(OpCode));
    return MappingTable[OpCode];
}

int32_t tVMThread::FindOpcode(tInstructionProcessor Handler) const {
    for (int32_t op = 0; op < OpCodeCount; ++op)
        if (MappingTable[op] == Handler) return op;
    return OP_INVALID;
}

void* tVMThread::LocalPointer2SystemPointer(int32_t Offset) const {
    if (Offset < 0 || Offset >= CodeSegmentSize)
        HaltMachine("Offset outside the code segment: " + Int2Str(Offset));
    return MemorySpace + Offset;
}

void tVMThread::StackPush(double Value) {
    if (MSW.SP <= 0) Fault("Stack overflow");
    --MSW.SP;
    CodeSegment[MSW.SP] = Value;
}

double tVMThread::StackPop() {
    if (MSW.SP >= CellCount) Fault("Stack underflow");
    ++MSW.SP;
    return CodeSegment[MSW.SP - 1];
}

void tVMThread::DumpStack() const {
    std::printf("-- Stack dump --\n");
    for (int32_t i = MSW.SP; i < CellCount; ++i) std::printf("%15.5f\n", CodeSegment[i]);
    std::fflush(stdout);
}

void tVMThread::Fault(const ShortString& What) const {
    HaltMachine(What + " at IP=" + Int2Str(MSW.IP));
}

uint16_t tVMThread::InstrArgumentType() const {
    return ReadArgType(MemorySpace + static_cast<std::size_t>(MSW.IP) * InstructionRecordSize);
}

double* tVMThread::InstrArgument() {
    const uint8_t* record = MemorySpace + static_cast<std::size_t>(MSW.IP) * InstructionRecordSize;
    switch (ReadArgType(record)) {
        case ARG_NONE:
            if (MSW.SP >= CellCount) Fault("Stack underflow");
            return &CodeSegment[MSW.SP];
        case ARG_VALUE:
            MSW.TempRegister = ReadDArg1(record);
            return &MSW.TempRegister;
        case ARG_MEMPTR: {
            int32_t index = RoundedTarget(ReadDArg1(record));
            if (index >= CellCount) Fault("Memory cell outside the code segment: " + Int2Str(index));
            return &CodeSegment[index];
        }
        default:
            Fault("Invalid argument type: " + Int2Str(ReadArgType(record)));
    }
}

// A rounded operand used as a cell index or a jump target: 0..2^31 - 1.
int32_t tVMThread::RoundedTarget(double Value) const {
    double rounded = std::nearbyint(Value);
    if (!(rounded >= 0.0 && rounded <= MaxRoundedIndex))
        Fault("Address out of range: " + Flt2Str(rounded, 0));
    return static_cast<int32_t>(rounded);
}

void tVMThread::JumpTo(double Target) { MSW.IP = RoundedTarget(Target) - 1; }

// ---- Instruction handlers ----------------------------------------------------

void tVMThread::OpCode_INVALID() {
    std::printf("Invalid opcode at IP=%d\n", MSW.IP);
    std::fflush(stdout);
    HaltMachine("Invalid opcode at IP=" + Int2Str(MSW.IP));
}

void tVMThread::OpCode_NOP() {}

void tVMThread::OpCode_HLT() { MSW.Halted = true; }

void tVMThread::OpCode_DBGDISP() {
    std::printf("%10.5f\n", *InstrArgument());
    std::fflush(stdout);
}

void tVMThread::OpCode_PUSH() { StackPush(*InstrArgument()); }

void tVMThread::OpCode_POP() {
    switch (InstrArgumentType()) {
        case ARG_NONE:
            StackPop();
            break;
        case ARG_VALUE: {
            double count = std::nearbyint(*InstrArgument());
            if (!(count >= 1.0)) break;
            if (count > static_cast<double>(CellCount - MSW.SP)) Fault("Stack underflow");
            MSW.SP += static_cast<int32_t>(count);
            break;
        }
        default: {
            double top = StackPop();
            *InstrArgument() = top;
        }
    }
}

void tVMThread::OpCode_XCHG() {
    double a = StackPop();
    double* b = InstrArgument();
    if (InstrArgumentType() == ARG_NONE) {
        double below = StackPop();
        StackPush(a);
        StackPush(below);
    } else {
        double old = *b;
        *b = a;
        StackPush(old);
    }
}

void tVMThread::OpCode_CALL() {
    double target = *InstrArgument();
    StackPush(MSW.IP);
    JumpTo(target);
}

void tVMThread::OpCode_RET() {
    double back = std::nearbyint(StackPop());
    // The return address is the index of the call, so it must name a record.
    if (!(back >= 0.0 && back < static_cast<double>(RecordCount)))
        Fault("Return address outside the code segment: " + Flt2Str(back, 0));
    if (InstrArgumentType() != ARG_NONE) StackPush(*InstrArgument());
    MSW.IP = static_cast<int32_t>(back);
}

void tVMThread::OpCode_ADD() {
    double v = StackPop();
    *InstrArgument() += v;
}

void tVMThread::OpCode_SUB() {
    double v = StackPop();
    *InstrArgument() -= v;
}

void tVMThread::OpCode_INC() { *InstrArgument() += 1.0; }

void tVMThread::OpCode_DEC() { *InstrArgument() -= 1.0; }

void tVMThread::OpCode_JZ() {
    if (std::fabs(static_cast<long double>(StackPop())) < ZeroThreshold) JumpTo(*InstrArgument());
}

void tVMThread::OpCode_JNZ() {
    if (std::fabs(static_cast<long double>(StackPop())) > ZeroThreshold) JumpTo(*InstrArgument());
}

void tVMThread::OpCode_LS() {
    double a = StackPop();
    double b = *InstrArgument();
    StackPush(a);
    StackPush(a < b ? 1.0 : 0.0);
}
