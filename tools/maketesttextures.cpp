// Writes the small BMP textures the rendering tests draw with into
// Data/Textures/Tests/ (or the directory given as the only argument):
//   red, green        solid 24-bit colours
//   glass             32-bit blue with alpha 128, for alpha blending
//   checker           16x16, quadrants red (top left), green (top right),
//                     blue (bottom left), white (bottom right)
//   frame01..frame03  red, green, blue: the frames of an animated texture
// Build and run: c++ -std=c++20 tools/maketesttextures.cpp -o /tmp/mtt && /tmp/mtt

#include <filesystem>
#include <iostream>
#include <string>

#include "bmpwriter.h"

namespace {

constexpr Color Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255};

}  // namespace

int main(int Argc, char** Argv) {
    const std::filesystem::path Dir = Argc > 1 ? Argv[1] : "Data/Textures/Tests";
    std::filesystem::create_directories(Dir);
    auto Solid = [](Color C) { return [C](int, int) { return C; }; };
    WriteBMP(Dir / "red.bmp", 8, 8, false, Solid(Red));
    WriteBMP(Dir / "green.bmp", 8, 8, false, Solid(Green));
    WriteBMP(Dir / "glass.bmp", 8, 8, true, Solid(Color{0, 0, 255, 128}));
    WriteBMP(Dir / "checker.bmp", 16, 16, false, [](int X, int Y) {
        if (Y < 8) return X < 8 ? Red : Green;
        return X < 8 ? Blue : White;
    });
    const Color Frames[] = {Red, Green, Blue};
    for (int I = 0; I < 3; ++I)
        WriteBMP(Dir / ("frame0" + std::to_string(I + 1) + ".bmp"), 8, 8, false, Solid(Frames[I]));
    std::cout << "Test textures written to " << Dir.string() << "\n";
    return 0;
}
