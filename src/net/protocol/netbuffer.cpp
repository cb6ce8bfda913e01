#include "net/protocol/netbuffer.h"

#include <bit>
#include <cmath>

bool tNetWriter::Room(std::size_t Bytes) {
    if (Failed || Capacity - Used < Bytes) Failed = true;
    return !Failed;
}

void tNetWriter::U8(uint8_t V) {
    if (Room(1)) Buffer[Used++] = V;
}

void tNetWriter::U16(uint16_t V) {
    if (!Room(2)) return;
    Buffer[Used++] = static_cast<uint8_t>(V);
    Buffer[Used++] = static_cast<uint8_t>(V >> 8);
}

void tNetWriter::U32(uint32_t V) {
    if (!Room(4)) return;
    for (int Shift = 0; Shift < 32; Shift += 8) Buffer[Used++] = static_cast<uint8_t>(V >> Shift);
}

void tNetWriter::F32(float V) { U32(std::bit_cast<uint32_t>(V)); }

void tNetWriter::VarU32(uint32_t V) {
    while (V >= 0x80) {
        U8(static_cast<uint8_t>(V | 0x80));
        V >>= 7;
    }
    U8(static_cast<uint8_t>(V));
}

void tNetWriter::VarI32(int32_t V) {
    const uint32_t Bits = static_cast<uint32_t>(V);
    VarU32((Bits << 1) ^ (V < 0 ? 0xFFFFFFFFu : 0u));
}

void tNetWriter::Text(std::string_view V, std::size_t MaxLength) {
    if (V.size() > MaxLength || V.size() > 255 || !Room(1 + V.size())) {
        Failed = true;
        return;
    }
    Buffer[Used++] = static_cast<uint8_t>(V.size());
    for (char C : V) Buffer[Used++] = static_cast<uint8_t>(C);
}

bool tNetReader::Has(std::size_t Bytes) {
    if (Failed || End - Position < Bytes) Failed = true;
    return !Failed;
}

uint8_t tNetReader::U8() { return Has(1) ? Data[Position++] : 0; }

uint16_t tNetReader::U16() {
    if (!Has(2)) return 0;
    const uint16_t V = static_cast<uint16_t>(Data[Position] | Data[Position + 1] << 8);
    Position += 2;
    return V;
}

uint32_t tNetReader::U32() {
    if (!Has(4)) return 0;
    uint32_t V = 0;
    for (int Shift = 0; Shift < 32; Shift += 8) V |= uint32_t(Data[Position++]) << Shift;
    return V;
}

float tNetReader::F32() {
    const float V = std::bit_cast<float>(U32());
    if (!std::isfinite(V)) {
        Failed = true;
        return 0;
    }
    return V;
}

uint32_t tNetReader::VarU32() {
    uint32_t V = 0;
    for (int Shift = 0; Shift < 35; Shift += 7) {
        const uint8_t Byte = U8();
        if (Failed) return 0;
        // The fifth byte holds the top four bits only.
        if (Shift == 28 && Byte > 0x0F) break;
        V |= uint32_t(Byte & 0x7F) << Shift;
        if (!(Byte & 0x80)) return V;
    }
    Failed = true;
    return 0;
}

int32_t tNetReader::VarI32() {
    const uint32_t Bits = VarU32();
    return static_cast<int32_t>((Bits >> 1) ^ (0u - (Bits & 1)));
}

std::string tNetReader::Text(std::size_t MaxLength) {
    const uint8_t Length = U8();
    if (Length > MaxLength || !Has(Length)) {
        Failed = true;
        return {};
    }
    std::string V(reinterpret_cast<const char*>(Data + Position), Length);
    Position += Length;
    for (char C : V)
        if (C < 32 || C > 126) {
            Failed = true;
            return {};
        }
    return V;
}

int32_t tNetReader::Ranged(int32_t V, int32_t Low, int32_t High) {
    if (V < Low || V > High) Failed = true;
    return V;
}
