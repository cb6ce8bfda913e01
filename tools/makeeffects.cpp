// Writes the glow textures of the game's shots into Data/Textures/Effects/
// (or the directory given as the only argument), 64x64, 24-bit, drawn
// additively so black is transparent:
//   particle   a white-hot core fading through amber: shells and the coin's glow
//   glare      a soft round glare with a faint ring: the plasma bolts
//   rail       a small hard dot with a short halo: the particles of the rail beam
// and, 128x64 with alpha, the two puffs of explosions, wrecks and splashes:
//   burst      left half a flame (colour, alpha the shape), right half a
//              smoke puff (grey, alpha the density); drawn premultiplied
// Build and run: c++ -std=c++20 tools/makeeffects.cpp -o /tmp/mfx && /tmp/mfx

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <vector>

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

// Smooth value noise on a tileable grid of Cells x Cells, from a fixed seed.
class ValueNoise {
public:
    ValueNoise(int Cells, unsigned Seed) : Cells(Cells), Values(Cells * Cells) {
        std::mt19937 Random(Seed);
        for (double& V : Values) V = std::uniform_real_distribution<double>(0, 1)(Random);
    }
    double At(double X, double Y) const {
        const int X0 = int(std::floor(X)), Y0 = int(std::floor(Y));
        const double FX = Smooth(X - X0), FY = Smooth(Y - Y0);
        const auto V = [&](int I, int J) { return Values[Wrap(I) * Cells + Wrap(J)]; };
        const double A = V(X0, Y0) + (V(X0 + 1, Y0) - V(X0, Y0)) * FX;
        const double B = V(X0, Y0 + 1) + (V(X0 + 1, Y0 + 1) - V(X0, Y0 + 1)) * FX;
        return A + (B - A) * FY;
    }

private:
    static double Smooth(double T) { return T * T * (3 - 2 * T); }
    int Wrap(int I) const { return ((I % Cells) + Cells) % Cells; }
    int Cells;
    std::vector<double> Values;
};

// A billow: a round mask roughened by two octaves of noise.
double Billow(const ValueNoise& Noise, int X, int Y, double Softness) {
    const double R = Radius(X, Y);
    const double N = 0.65 * Noise.At(X / 8.0, Y / 8.0) + 0.35 * Noise.At(X / 4.0, Y / 4.0);
    return std::clamp((1 - R) * (0.6 + 0.8 * N) * Softness, 0.0, 1.0);
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
    const ValueNoise Flames(8, 7), Smoke(8, 13);
    WriteBMP(Dir / "burst.bmp", 2 * Size, Size, true, [&](int X, int Y) {
        if (X < Size) {
            const double Shape = Billow(Flames, X, Y, 2.2);
            const double Heat = std::clamp(Shape * 1.3 - 0.1, 0.0, 1.0);
            return Color{Channel(1.0), Channel(0.35 + 0.6 * Heat), Channel(0.08 + 0.6 * Heat * Heat),
                         Channel(Shape)};
        }
        const double Density = Billow(Smoke, X - Size, Y, 1.6);
        const uint8_t Grey = Channel(0.42 + 0.25 * Density);
        return Color{Grey, Grey, Grey, Channel(Density)};
    });
}
