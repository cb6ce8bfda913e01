#pragma once
// A tiny assembler for the script machine's tests and benchmark: it owns an
// 8-byte aligned block of exactly the requested size (so the sanitizers see any
// access past it) and writes instruction records into it one after another.

#include <cstdint>
#include <utility>
#include <vector>

#include "kernel/vm/instruction.h"
#include "kernel/vm/vmthread.h"

// A machine built and disposed the way every engine object is.
class VMMachine {
public:
    VMMachine() : Machine(NewObject<tVMThread>()) {}
    ~VMMachine() { tZObject::DisposeObject(Machine); }
    VMMachine(const VMMachine&) = delete;
    VMMachine& operator=(const VMMachine&) = delete;
    tVMThread* operator->() const { return Machine; }
    tVMThread& operator*() const { return *Machine; }

private:
    tVMThread* Machine;
};

struct VMOperand {
    uint16_t Kind = ARG_NONE;
    double Value = 0.0;
};
inline VMOperand Imm(double v) { return {ARG_VALUE, v}; }
inline VMOperand Mem(double cell) { return {ARG_MEMPTR, cell}; }

class VMProgram {
public:
    // SizeBytes must be a multiple of 8.
    explicit VMProgram(int32_t SizeBytes) : Cells(static_cast<std::size_t>(SizeBytes) / 8, 0.0), Size(SizeBytes) {}

    // Writes the next record and returns its index.
    int32_t Emit(int32_t OpCode, VMOperand Operand = {}) { return EmitAt(Next, OpCode, Operand); }
    int32_t EmitAt(int32_t Index, int32_t OpCode, VMOperand Operand = {}) {
        WriteInstruction(Bytes() + static_cast<std::size_t>(Index) * InstructionRecordSize, OpCode, Operand.Kind,
                         Operand.Value);
        if (Index >= Next) Next = Index + 1;
        return Index;
    }
    // Sets the operand kind field to any value, valid or not.
    void SetArgType(int32_t Index, uint16_t Kind) {
        WriteLE<uint16_t>(Bytes() + static_cast<std::size_t>(Index) * InstructionRecordSize + ArgTypeOffset,
                                    Kind);
    }

    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(Cells.data()); }
    void* Block() { return Cells.data(); }
    int32_t SizeBytes() const { return Size; }
    double& Cell(int32_t i) { return Cells[static_cast<std::size_t>(i)]; }

    // A data cell written by Load once the records are decoded: decoding reads
    // every whole record of the block, and a double there is no opcode number.
    void Data(int32_t Index, double Value) { Pending.push_back({Index, Value}); }

    // Loads the block into the machine, then places the data cells.
    void Load(tVMThread& Machine) {
        Machine.SetCodeSegment(Block(), Size);
        for (const auto& [index, value] : Pending) Cell(index) = value;
    }

    // The machine's stack, bottom first.
    std::vector<double> Stack(const tVMThread& Machine) const {
        std::vector<double> s;
        for (int32_t i = static_cast<int32_t>(Cells.size()) - 1; i >= Machine.GetMSW().SP; --i)
            s.push_back(Cells[static_cast<std::size_t>(i)]);
        return s;
    }

private:
    std::vector<double> Cells;
    int32_t Size;
    int32_t Next = 0;
    std::vector<std::pair<int32_t, double>> Pending;
};
