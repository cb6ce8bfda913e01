// Generates the textures of the sky and of the lens flare:
//   Data/Textures/Atmosphere/clouds.bmp         256 x 256 tileable cloud noise
//                                               (red: broad masses, green: detail)
//   Data/Textures/Atmosphere/clear.bmp          4 x 4 black: a sky without clouds
//   Data/Textures/Atmosphere/planet.bmp         256 x 256 the pale ringless giant
//                                               crawling across the sky
//   Data/Textures/Atmosphere/stormlight.bmp     64 x 4 light on the overcast, from
//   Data/Textures/Atmosphere/flashlight.bmp     the horizon (left) to the zenith
//   Data/Textures/Atmosphere/hellfirelight.bmp  (right): storm, lightning, hellfire
//   Data/Textures/LensFlare/glow.bmp            256 x 256 the glow with its rays
//   Data/Textures/LensFlare/{disc,ring,halo,spot}.bmp  the flare's discs
// The flare and the planet are added to the picture (black adds nothing), so
// every texture is a plain 24-bit BMP. Everything comes from fixed seeds: a
// run writes the same bytes every time.
// Build and run from the repository root:
//   c++ -std=c++20 -O2 tools/makesky.cpp -o /tmp/makesky && /tmp/makesky
// (an optional argument names the data directory instead of Data/).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "bmpwriter.h"

namespace {

constexpr double Pi = std::numbers::pi;

uint8_t Byte(double V) { return static_cast<uint8_t>(std::clamp(V, 0.0, 1.0) * 255.0 + 0.5); }
Color Rgb(double R, double G, double B) { return {Byte(R), Byte(G), Byte(B)}; }
double Smooth(double T) { return T * T * (3 - 2 * T); }
double SmoothStep(double A, double B, double X) { return Smooth(std::clamp((X - A) / (B - A), 0.0, 1.0)); }

// A repeatable lattice value in 0..1 for cell (X, Y) of a Period x Period grid.
double Lattice(int X, int Y, int Period, uint32_t Seed) {
    uint32_t H = uint32_t((X % Period + Period) % Period) * 73856093u ^ uint32_t((Y % Period + Period) % Period) * 19349663u ^ Seed * 83492791u;
    H ^= H >> 13;
    H *= 0x5bd1e995u;
    H ^= H >> 15;
    return (H & 0xFFFFFF) / double(0xFFFFFF);
}

// Value noise that tiles every Period cells, sampled at (U, V) in cells.
double TiledNoise(double U, double V, int Period, uint32_t Seed) {
    const int X = int(std::floor(U)), Y = int(std::floor(V));
    const double FX = Smooth(U - X), FY = Smooth(V - Y);
    const double A = Lattice(X, Y, Period, Seed), B = Lattice(X + 1, Y, Period, Seed);
    const double C = Lattice(X, Y + 1, Period, Seed), D = Lattice(X + 1, Y + 1, Period, Seed);
    return (A + (B - A) * FX) * (1 - FY) + (C + (D - C) * FX) * FY;
}

// Fractal sum of Octaves layers, each twice as fine and half as strong,
// tiling over the texture; S and T in 0..1.
double TiledFbm(double S, double T, int BasePeriod, int Octaves, uint32_t Seed) {
    double Sum = 0, Weight = 0.5, Total = 0;
    int Period = BasePeriod;
    for (int O = 0; O < Octaves; ++O) {
        Sum += Weight * TiledNoise(S * Period, T * Period, Period, Seed + O);
        Total += Weight;
        Weight *= 0.5;
        Period *= 2;
    }
    return Sum / Total;
}

// Stretches a noise value around 0.5 so the full range is used.
double Contrast(double V, double Gain) { return std::clamp(0.5 + (V - 0.5) * Gain, 0.0, 1.0); }

void WriteClouds(const std::filesystem::path& Dir) {
    constexpr int Size = 256;
    // Written with an (opaque) alpha channel: such textures are used without
    // mipmaps, so each lookup reads four texels instead of eight; the cloud
    // layer is hardly ever seen smaller than its texels where clouds show.
    WriteBMP(Dir / "clouds.bmp", Size, Size, true, [](int X, int Y) {
        const double S = X / double(Size), T = Y / double(Size);
        const double Masses = Contrast(TiledFbm(S, T, 4, 6, 11), 2.2);
        const double Detail = Contrast(TiledFbm(S, T, 16, 4, 47), 2.0);
        return Rgb(Masses, Detail, 0);
    });
    WriteBMP(Dir / "clear.bmp", 4, 4, false, [](int, int) { return Rgb(0, 0, 0); });
}

// A banded gas giant lit from one side, with a dark limb, in the middle of
// the quad, fading into black at its rim.
void WritePlanet(const std::filesystem::path& Dir) {
    constexpr int Size = 256;
    constexpr double Radius = 0.36;
    WriteBMP(Dir / "planet.bmp", Size, Size, false, [](int X, int Y) {
        const double U = (X + 0.5) / Size - 0.5, V = (Y + 0.5) / Size - 0.5;
        const double R = std::sqrt(U * U + V * V) / Radius;
        if (R >= 1.0) return Rgb(0, 0, 0);
        const double Z = std::sqrt(1 - R * R);
        const double NX = U / Radius, NY = V / Radius;
        // Sunlight from the upper left; the night side keeps a little glow.
        const double Lit = std::clamp(-0.55 * NX - 0.45 * NY + 0.7 * Z, 0.0, 1.0);
        const double Latitude = NY * 7.0 + 0.6 * TiledNoise(NX * 6 + 20, NY * 40 + 20, 64, 5);
        const double Band = 0.5 + 0.5 * std::sin(Latitude * Pi);
        const double Light = (0.12 + 0.88 * Lit) * (0.55 + 0.45 * Z) * (1 - SmoothStep(0.94, 1.0, R));
        return Rgb(Light * (0.55 + 0.12 * Band), Light * (0.52 + 0.08 * Band), Light * (0.5 + 0.02 * Band));
    });
}

// Light across the overcast from the horizon (left) to the zenith (right).
void WriteLightRamp(const std::filesystem::path& File, Color Horizon, Color Zenith) {
    WriteBMP(File, 64, 4, false, [=](int X, int) {
        const double T = X / 63.0;
        auto Mix = [T](uint8_t A, uint8_t B) { return uint8_t(std::lround(A + (B - A) * T)); };
        return Color{Mix(Horizon.R, Zenith.R), Mix(Horizon.G, Zenith.G), Mix(Horizon.B, Zenith.B)};
    });
}

// Distance from the centre of a Size x Size texture in 0..1 of its half-width.
double CentreDistance(int X, int Y, int Size) {
    const double U = (X + 0.5) / Size * 2 - 1, V = (Y + 0.5) / Size * 2 - 1;
    return std::sqrt(U * U + V * V);
}

void WriteFlare(const std::filesystem::path& Dir) {
    WriteBMP(Dir / "glow.bmp", 256, 256, false, [](int X, int Y) {
        const double R = CentreDistance(X, Y, 256);
        const double Angle = std::atan2(Y - 127.5, X - 127.5);
        // Six rays of unequal length, and a soft core.
        const double Rays = std::pow(std::fabs(std::cos(Angle * 3)), 40) * (0.6 + 0.4 * std::cos(Angle * 5));
        const double Core = std::exp(-R * R * 40) + 0.35 * std::exp(-R * 5);
        const double Light = (Core + 0.25 * Rays * std::exp(-R * 3.5)) * (1 - SmoothStep(0.85, 1.0, R));
        return Rgb(Light, Light * 0.93, Light * 0.8);
    });
    WriteBMP(Dir / "disc.bmp", 64, 64, false, [](int X, int Y) {
        const double Light = 0.045 * (1 - SmoothStep(0.6, 0.95, CentreDistance(X, Y, 64)));
        return Rgb(Light, Light * 0.95, Light * 0.85);
    });
    WriteBMP(Dir / "ring.bmp", 128, 128, false, [](int X, int Y) {
        const double R = CentreDistance(X, Y, 128);
        const double Light = 0.05 * std::exp(-std::pow((R - 0.8) / 0.05, 2));
        return Rgb(Light * 0.7, Light, Light * 0.9);
    });
    WriteBMP(Dir / "halo.bmp", 128, 128, false, [](int X, int Y) {
        const double R = CentreDistance(X, Y, 128);
        // A faint rainbow towards the edge: red outside, blue inside.
        const double Edge = 1 - SmoothStep(0.75, 0.98, R);
        return Rgb(0.03 * Edge * SmoothStep(0.5, 0.9, R), 0.027 * Edge * SmoothStep(0.3, 0.8, R), 0.03 * Edge);
    });
    WriteBMP(Dir / "spot.bmp", 64, 64, false, [](int X, int Y) {
        const double R = CentreDistance(X, Y, 64);
        const double Light = 0.035 * (1 - SmoothStep(0.85, 0.95, R)) * (0.6 + 0.4 * R);
        return Rgb(Light, Light * 0.55, Light * 0.8);
    });
}

}  // namespace

int main(int Argc, char** Argv) {
    const std::filesystem::path Data = Argc > 1 ? Argv[1] : "Data";
    const std::filesystem::path Sky = Data / "Textures" / "Atmosphere", Flare = Data / "Textures" / "LensFlare";
    std::filesystem::create_directories(Sky);
    std::filesystem::create_directories(Flare);
    WriteClouds(Sky);
    WritePlanet(Sky);
    WriteLightRamp(Sky / "stormlight.bmp", Rgb(0.3, 0.3, 0.31), Rgb(0.16, 0.16, 0.18));
    WriteLightRamp(Sky / "flashlight.bmp", Rgb(0.6, 0.6, 0.66), Rgb(0.9, 0.9, 1.0));
    WriteLightRamp(Sky / "hellfirelight.bmp", Rgb(0.95, 0.38, 0.05), Rgb(0.35, 0.03, 0.02));
    WriteFlare(Flare);
    std::cout << "Sky and lens flare textures written to " << Data.string() << "\n";
    return 0;
}
