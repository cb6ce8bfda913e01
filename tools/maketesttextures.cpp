// Writes the small BMP textures the rendering tests draw with into
// Data/Textures/Tests/ (or the directory given as the only argument):
//   red, green        solid 24-bit colours
//   glass             32-bit blue with alpha 128, for alpha blending
//   checker           16x16, quadrants red (top left), green (top right),
//                     blue (bottom left), white (bottom right)
//   frame01..frame03  red, green, blue: the frames of an animated texture
// Build and run: c++ -std=c++20 tools/maketesttextures.cpp -o /tmp/mtt && /tmp/mtt

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct Color {
    uint8_t R, G, B, A = 255;
};

constexpr Color Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255};
constexpr int FileHeaderSize = 14, InfoHeaderSize = 40;

void PutLE(std::vector<uint8_t>& Out, uint32_t Value, int Bytes) {
    for (int I = 0; I < Bytes; ++I) Out.push_back(static_cast<uint8_t>(Value >> (8 * I)));
}

// An uncompressed BMP, rows stored bottom first, BGR(A), rows padded to 4 bytes.
// Pixel(X, Y) counts Y from the top.
void WriteBMP(const std::filesystem::path& File, int Size, bool Alpha, const std::function<Color(int, int)>& Pixel) {
    const int Bits = Alpha ? 32 : 24;
    const int RowBytes = (Size * Bits / 8 + 3) / 4 * 4;
    const uint32_t DataOffset = FileHeaderSize + InfoHeaderSize;
    std::vector<uint8_t> Out;
    Out.push_back('B');
    Out.push_back('M');
    PutLE(Out, DataOffset + RowBytes * Size, 4);
    PutLE(Out, 0, 4);
    PutLE(Out, DataOffset, 4);
    PutLE(Out, InfoHeaderSize, 4);
    PutLE(Out, Size, 4);
    PutLE(Out, Size, 4);
    PutLE(Out, 1, 2);     // planes
    PutLE(Out, Bits, 2);
    PutLE(Out, 0, 4);     // no compression
    PutLE(Out, RowBytes * Size, 4);
    PutLE(Out, 2835, 4);  // 72 dpi
    PutLE(Out, 2835, 4);
    PutLE(Out, 0, 4);
    PutLE(Out, 0, 4);
    for (int Row = Size - 1; Row >= 0; --Row) {
        const std::size_t Start = Out.size();
        for (int X = 0; X < Size; ++X) {
            const Color C = Pixel(X, Row);
            Out.insert(Out.end(), {C.B, C.G, C.R});
            if (Alpha) Out.push_back(C.A);
        }
        Out.resize(Start + RowBytes, 0);
    }
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Out.data()), Out.size());
}

}  // namespace

int main(int Argc, char** Argv) {
    const std::filesystem::path Dir = Argc > 1 ? Argv[1] : "Data/Textures/Tests";
    std::filesystem::create_directories(Dir);
    auto Solid = [](Color C) { return [C](int, int) { return C; }; };
    WriteBMP(Dir / "red.bmp", 8, false, Solid(Red));
    WriteBMP(Dir / "green.bmp", 8, false, Solid(Green));
    WriteBMP(Dir / "glass.bmp", 8, true, Solid(Color{0, 0, 255, 128}));
    WriteBMP(Dir / "checker.bmp", 16, false, [](int X, int Y) {
        if (Y < 8) return X < 8 ? Red : Green;
        return X < 8 ? Blue : White;
    });
    const Color Frames[] = {Red, Green, Blue};
    for (int I = 0; I < 3; ++I)
        WriteBMP(Dir / ("frame0" + std::to_string(I + 1) + ".bmp"), 8, false, Solid(Frames[I]));
    std::cout << "Test textures written to " << Dir.string() << "\n";
    return 0;
}
