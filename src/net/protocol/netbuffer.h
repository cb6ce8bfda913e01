#pragma once
// Bounded little-endian reading and writing of network messages. A writer
// never writes past its buffer and a reader never reads past its end: either
// sets its failure flag instead and gives zeros from then on, so a message is
// checked once, at its end. Neither allocates.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class tNetWriter {
public:
    tNetWriter(uint8_t* Buffer, std::size_t Capacity) : Buffer(Buffer), Capacity(Capacity) {}

    void U8(uint8_t V);
    void U16(uint16_t V);
    void U32(uint32_t V);
    void I16(int16_t V) { U16(static_cast<uint16_t>(V)); }
    void I32(int32_t V) { U32(static_cast<uint32_t>(V)); }
    void F32(float V);
    // 7 bits a byte, low bits first: small numbers take one byte.
    void VarU32(uint32_t V);
    // Zigzag, so small negative numbers are small too.
    void VarI32(int32_t V);
    // A length byte and the characters; a longer text fails the writer.
    void Text(std::string_view V, std::size_t MaxLength);

    // What is asked cannot be written.
    void Fail() { Failed = true; }
    bool Ok() const { return !Failed; }
    std::size_t Size() const { return Used; }
    const uint8_t* Data() const { return Buffer; }

private:
    bool Room(std::size_t Bytes);
    uint8_t* Buffer;
    std::size_t Capacity;
    std::size_t Used = 0;
    bool Failed = false;
};

class tNetReader {
public:
    tNetReader(const uint8_t* Data, std::size_t Size) : Data(Data), End(Size) {}

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    // A finite number only; NaN and infinities fail the reader.
    float F32();
    uint32_t VarU32();
    int32_t VarI32();
    // At most MaxLength printable characters (32...126); anything else fails.
    std::string Text(std::size_t MaxLength);
    // A value outside Low...High fails the reader; the value is kept as read.
    int32_t Ranged(int32_t V, int32_t Low, int32_t High);

    void Fail() { Failed = true; }
    bool Ok() const { return !Failed; }
    // Everything read, nothing left over and nothing missing.
    bool Finished() const { return !Failed && Position == End; }
    std::size_t Left() const { return Failed ? 0 : End - Position; }

private:
    bool Has(std::size_t Bytes);
    const uint8_t* Data;
    std::size_t End;
    std::size_t Position = 0;
    bool Failed = false;
};
