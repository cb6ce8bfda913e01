#pragma once
// Uncompressed BMP output for the content generators in tools/: 24-bit BGR or
// 32-bit BGRA, rows stored bottom first and padded to 4 bytes, as the engine's
// BMP loader reads them.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

struct Color {
    uint8_t R, G, B, A = 255;
};

inline void PutLE(std::vector<uint8_t>& Out, uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I) Out.push_back(static_cast<uint8_t>(Value >> (8 * I)));
}

// Pixel(X, Y) counts Y from the top of the picture.
inline void WriteBMP(const std::filesystem::path& File, int Width, int Height, bool Alpha,
                     const std::function<Color(int, int)>& Pixel) {
    constexpr int FileHeaderSize = 14, InfoHeaderSize = 40;
    const int Bits = Alpha ? 32 : 24;
    const int RowBytes = (Width * Bits / 8 + 3) / 4 * 4;
    const uint32_t DataOffset = FileHeaderSize + InfoHeaderSize;
    std::vector<uint8_t> Out;
    Out.reserve(DataOffset + static_cast<std::size_t>(RowBytes) * Height);
    Out.push_back('B');
    Out.push_back('M');
    PutLE(Out, DataOffset + RowBytes * Height, 4);
    PutLE(Out, 0, 4);
    PutLE(Out, DataOffset, 4);
    PutLE(Out, InfoHeaderSize, 4);
    PutLE(Out, Width, 4);
    PutLE(Out, Height, 4);
    PutLE(Out, 1, 2);     // planes
    PutLE(Out, Bits, 2);
    PutLE(Out, 0, 4);     // no compression
    PutLE(Out, RowBytes * Height, 4);
    PutLE(Out, 2835, 4);  // 72 dpi
    PutLE(Out, 2835, 4);
    PutLE(Out, 0, 4);
    PutLE(Out, 0, 4);
    for (int Row = Height - 1; Row >= 0; --Row) {
        const std::size_t Start = Out.size();
        for (int X = 0; X < Width; ++X) {
            const Color C = Pixel(X, Row);
            Out.insert(Out.end(), {C.B, C.G, C.R});
            if (Alpha) Out.push_back(C.A);
        }
        Out.resize(Start + RowBytes, 0);
    }
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Out.data()), Out.size());
}
