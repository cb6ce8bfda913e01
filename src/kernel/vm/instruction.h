#pragma once
// The script machine's instruction set and its 28-byte instruction record.
// Records live in a plain memory block shared with data cells and the stack,
// so every field is read and written byte by byte, little-endian, never through
// a padded C++ struct.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include "kernel/core/byteorder.h"

enum tOpCode : int32_t {
    OP_INVALID = 0,
    OP_NOP = 1,
    OP_HLT = 2,
    OP_DBGDISP = 3,
    OP_PUSH = 4,
    OP_POP = 5,
    OP_XCHG = 6,
    OP_CALL = 7,
    OP_RET = 8,
    OP_ADD = 9,
    OP_SUB = 10,
    OP_INC = 11,
    OP_DEC = 12,
    OP_JZ = 13,
    OP_JNZ = 14,
    OP_LS = 15,
};
constexpr int32_t OpCodeCount = OP_LS + 1;

// Where an instruction finds its operand.
enum tArgType : uint16_t {
    ARG_NONE = 0,    // the stack top
    ARG_VALUE = 1,   // the immediate double DArg1
    ARG_MEMPTR = 2,  // the memory cell whose index is DArg1
};

// Byte layout of one instruction record: bytes 0-3 the opcode number (4-7
// ignored), 8-9 the operand kind, 10-11 reserved, 12-27 the argument area (four
// 32-bit integers, two doubles or two 64-bit integers); the machine reads only
// the first double.
constexpr std::size_t InstructionRecordSize = 28;
constexpr std::size_t OpCodeOffset = 0;
constexpr std::size_t ArgTypeOffset = 8;
constexpr std::size_t DArg1Offset = 12;

// The size of one memory cell (and stack element) of the block.
constexpr std::size_t MemoryCellSize = 8;

inline int32_t ReadOpCodeNumber(const uint8_t* record) { return ReadLE<int32_t>(record + OpCodeOffset); }
inline uint16_t ReadArgType(const uint8_t* record) { return ReadLE<uint16_t>(record + ArgTypeOffset); }
inline double ReadDArg1(const uint8_t* record) { return ReadLE<double>(record + DArg1Offset); }

// Fills one record: opcode number, operand kind and immediate (or cell index);
// the ignored bytes 4-7, the reserved word and DArg2 are zeroed.
inline void WriteInstruction(uint8_t* record, int32_t opCode, uint16_t argType, double arg) {
    std::memset(record, 0, InstructionRecordSize);
    WriteLE<int32_t>(record + OpCodeOffset, opCode);
    WriteLE<uint16_t>(record + ArgTypeOffset, argType);
    WriteLE<double>(record + DArg1Offset, arg);
}
