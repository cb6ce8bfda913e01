// Writes the glow textures of the game's shots into Data/Textures/Effects/
// (or the directory given as the only argument), 64x64, 24-bit, drawn
// additively so black is transparent:
//   particle   a white-hot core fading through amber: shells and the coin's glow
//   glare      a soft round glare with a faint ring: the plasma bolts
//   rail       a small hard dot with a short halo: the particles of the rail beam
// Build and run: c++ -std=c++20 tools/makeeffects.cpp -o /tmp/mfx && /tmp/mfx

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "bmpwriter.h"

namespace {

constexpr int Size = 64;

// Distance from the centre, 0 in the middle to 1 at the edge's midpoint.
double Radius(int X, int Y) {
    const double H = (Size - 1) / 2.0;
    return std::hypot(X - H, Y - H) / H;
}

uint8_t Channel(double V) { return static_cast<uint8_t>(std::lround(std::clamp(V, 0.0, 1.0) * 255)); }

// Core brightness times a tint that whitens towards the centre.
Color Glow(double Core, double R, double G, double B) {
    const double White = Core * Core;
    return {Channel(Core * (R + (1 - R) * White)), Channel(Core * (G + (1 - G) * White)),
            Channel(Core * (B + (1 - B) * White))};
}

}  // namespace

int main(int Argc, char** Argv) {
    const std::filesystem::path Dir = Argc > 1 ? Argv[1] : "Data/Textures/Effects";
    std::filesystem::create_directories(Dir);
    WriteBMP(Dir / "particle.bmp", Size, Size, false, [](int X, int Y) {
        const double Core = std::pow(std::max(0.0, 1 - Radius(X, Y)), 2.2);
        return Glow(Core, 1.0, 0.62, 0.18);
    });
    WriteBMP(Dir / "glare.bmp", Size, Size, false, [](int X, int Y) {
        const double R = Radius(X, Y);
        const double Core = std::exp(-R * R * 9) + 0.25 * std::exp(-std::pow((R - 0.7) * 9, 2));
        return Glow(std::min(1.0, Core), 0.35, 0.55, 1.0);
    });
    WriteBMP(Dir / "rail.bmp", Size, Size, false, [](int X, int Y) {
        const double R = Radius(X, Y);
        const double Core = std::exp(-R * R * 16) + 0.3 * std::max(0.0, 1 - R);
        return Glow(std::min(1.0, Core), 0.3, 0.9, 1.0);
    });
}
