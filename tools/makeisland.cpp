// Generates the game's island and the textures drawn on and around it:
//   Data/Terrain/island.raw        1025 x 1025 16-bit height map
//   Data/Terrain/island.zhm        its description (scale, detail tiling, shaders)
//   Data/Terrain/island_color.bmp  1024 x 1024 colour map, shading baked in
//   Data/Terrain/detail.bmp        256 x 256 tileable grey detail texture
//   Data/Textures/water.bmp        256 x 256 tileable ripples for the sea
//   Data/Tree/conifer.bmp          128 x 128 32-bit conifer with alpha for the forest
// Everything comes from a fixed seed, so every run writes the same bytes.
// Build and run from the repository root:
//   c++ -std=c++20 -O2 tools/makeisland.cpp -o /tmp/makeisland && /tmp/makeisland
// (an optional argument names the data directory instead of Data/).
//
// How the map meets the world:
// - The terrain puts sample (X, Y) at world (X, Y, height): one world unit per
//   sample, and the sample is element X * 1025 + Y of the file (X is the slow
//   index). The spawn point (64, 64) is therefore sample (64, 64) itself.
// - Heights are 16-bit words times HScale = 1/256, so a word is a height in
//   1/256 units; the highest hill is about 180 units.
// - The sea is one flat plane at z = 7 drawn over the whole map, and the terrain
//   is clipped below it: everything under 7 units is sea bed or lake bed. The
//   outermost ring of the map always reads 6.0, just under the water line.
// - The forest plants trees only where the height exceeds 28 units.
// - An aircraft spawns at (64, 64, 200) heading +Y ("north"); the strip
//   X < CorridorWidth is kept far below 200 units along the whole map.
// - The colour and detail maps are addressed by world X and Y divided by the
//   map size: texture column = X, texture row (from the top of the picture) = Y.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "bmpwriter.h"

namespace {

constexpr int MapSize = 1025;
constexpr float HeightScale = 1.0f / 256.0f;
constexpr float WaterLine = 7.0f;
constexpr float ForestLine = 28.0f;
constexpr float PeakHeight = 180.0f;
constexpr float TargetForestShare = 0.5f;  // of the land, above the forest line
constexpr float SpawnX = 64, SpawnY = 64, SpawnGround = 12.0f;
constexpr float PeninsulaX = 95, PeninsulaY = 95, PeninsulaEnd = 270;
constexpr float CorridorWidth = 130, CorridorCeiling = 45.0f;
constexpr float TileDetailTexture = 92.0f;
constexpr uint32_t Seed = 20240307;

constexpr int ColorMapSize = 1024, DetailSize = 256, WaterSize = 256, TreeSize = 128;

float Saturate(float V) { return std::clamp(V, 0.0f, 1.0f); }
float SmoothStep(float E0, float E1, float V) {
    const float T = Saturate((V - E0) / (E1 - E0));
    return T * T * (3 - 2 * T);
}
float Mix(float A, float B, float T) { return A + (B - A) * T; }

struct Vec3 {
    float X, Y, Z;
};
Vec3 Normalize(Vec3 V) {
    const float L = std::sqrt(V.X * V.X + V.Y * V.Y + V.Z * V.Z);
    return {V.X / L, V.Y / L, V.Z / L};
}
float Dot(Vec3 A, Vec3 B) { return A.X * B.X + A.Y * B.Y + A.Z * B.Z; }

// Uniform numbers from the raw generator output, so that the results do not
// depend on the standard library's distributions.
class Random {
public:
    explicit Random(uint32_t S) : Engine(S) {}
    float Unit() { return static_cast<float>(Engine() >> 8) / static_cast<float>(1u << 24); }
    float Range(float Lo, float Hi) { return Lo + (Hi - Lo) * Unit(); }
    uint32_t Next() { return Engine(); }

private:
    std::mt19937 Engine;
};

// Gradient noise on an integer lattice; with a period the lattice wraps, which
// makes tileable textures.
class Noise {
public:
    explicit Noise(uint32_t S) {
        Random R(S);
        for (int I = 0; I < 256; ++I) Perm[I] = static_cast<uint8_t>(I);
        for (int I = 255; I > 0; --I) std::swap(Perm[I], Perm[R.Next() % (I + 1)]);
        for (int I = 0; I < 256; ++I) {
            const float A = R.Unit() * 6.2831853f;
            Gradients[I] = {std::cos(A), std::sin(A)};
        }
    }

    // About -1..1.
    float At(float X, float Y, int Period = 0) const {
        const float FX = std::floor(X), FY = std::floor(Y);
        const int IX = static_cast<int>(FX), IY = static_cast<int>(FY);
        const float DX = X - FX, DY = Y - FY;
        const float U = Fade(DX), V = Fade(DY);
        const float A = Corner(IX, IY, DX, DY, Period), B = Corner(IX + 1, IY, DX - 1, DY, Period);
        const float C = Corner(IX, IY + 1, DX, DY - 1, Period), D = Corner(IX + 1, IY + 1, DX - 1, DY - 1, Period);
        return 1.4f * Mix(Mix(A, B, U), Mix(C, D, U), V);
    }

    // Octaves of halving amplitude; about -1..1.
    float Fractal(float X, float Y, int Octaves, int Period = 0) const {
        float Sum = 0, Amplitude = 1, Total = 0;
        for (int O = 0; O < Octaves; ++O) {
            Sum += At(X, Y, Period) * Amplitude;
            Total += Amplitude;
            Amplitude *= 0.5f;
            X *= 2;
            Y *= 2;
            Period *= 2;
        }
        return Sum / Total;
    }

    // Sharp crests along the noise's zero lines, each octave weighted by the one
    // above it so that the crests carry the finer detail: 0..1.
    float Ridged(float X, float Y, int Octaves) const {
        float Sum = 0, Amplitude = 0.5f, Weight = 1, Total = 0;
        for (int O = 0; O < Octaves; ++O) {
            float R = 1 - std::fabs(At(X, Y));
            R *= R * Weight;
            Weight = Saturate(R * 1.6f);
            Sum += R * Amplitude;
            Total += Amplitude;
            Amplitude *= 0.5f;
            X *= 2.03f;
            Y *= 2.03f;
        }
        return Sum / Total;
    }

private:
    static float Fade(float T) { return T * T * T * (T * (T * 6 - 15) + 10); }
    float Corner(int IX, int IY, float DX, float DY, int Period) const {
        if (Period > 0) {
            IX = ((IX % Period) + Period) % Period;
            IY = ((IY % Period) + Period) % Period;
        }
        const auto& G = Gradients[Perm[(Perm[IX & 255] + IY) & 255]];
        return G[0] * DX + G[1] * DY;
    }

    std::array<uint8_t, 256> Perm{};
    std::array<std::array<float, 2>, 256> Gradients{};
};

// Heights in world units, sample (X, Y) at X * Size + Y as in the file.
struct HeightField {
    int Size = MapSize;
    std::vector<float> H = std::vector<float>(static_cast<std::size_t>(MapSize) * MapSize, 0.0f);

    float& At(int X, int Y) { return H[static_cast<std::size_t>(X) * Size + Y]; }
    float At(int X, int Y) const { return H[static_cast<std::size_t>(X) * Size + Y]; }
    float Clamped(int X, int Y) const { return At(std::clamp(X, 0, Size - 1), std::clamp(Y, 0, Size - 1)); }
    float Sample(float X, float Y) const {
        const int IX = static_cast<int>(std::floor(X)), IY = static_cast<int>(std::floor(Y));
        const float FX = X - IX, FY = Y - IY;
        return Mix(Mix(Clamped(IX, IY), Clamped(IX + 1, IY), FX), Mix(Clamped(IX, IY + 1), Clamped(IX + 1, IY + 1), FX),
                   FY);
    }
    // Surface normal from central differences Step samples apart.
    Vec3 Normal(float X, float Y, float Step) const {
        const float DX = Sample(X + Step, Y) - Sample(X - Step, Y);
        const float DY = Sample(X, Y + Step) - Sample(X, Y - Step);
        return Normalize({-DX, -DY, 2 * Step});
    }
    template <typename F>
    void ForEach(F&& Visit) {
        for (int X = 0; X < Size; ++X)
            for (int Y = 0; Y < Size; ++Y) Visit(X, Y, At(X, Y));
    }
};

// ---------------------------------------------------------------- the shape

// Signed distance in units from the coastline, positive inland. The island is
// a rounded blob around the map centre whose shore wanders with warped noise
// (bays, capes), joined by a neck of land to a long peninsula reaching into the
// south-west corner, on which the spawn point stands.
float CoastDistance(const Noise& N, float X, float Y) {
    const float Centre = (MapSize - 1) / 2.0f;
    const float WX = X + 90 * N.At(X / 260 + 11.3f, Y / 260 + 4.1f);
    const float WY = Y + 90 * N.At(X / 260 + 7.7f, Y / 260 + 19.9f);
    const float DX = std::fabs(WX - Centre), DY = std::fabs(WY - Centre);
    const float Radius = std::pow(std::pow(DX, 3.0f) + std::pow(DY, 3.0f), 1.0f / 3);
    const float Island = 400 + 70 * N.Fractal(WX / 300, WY / 300, 5) - Radius;
    // The peninsula: a capsule from the spawn corner towards the island.
    const float Along = Saturate(((X - PeninsulaX) + (Y - PeninsulaY)) / (2 * (PeninsulaEnd - PeninsulaX)));
    const float AxisX = Mix(PeninsulaX, PeninsulaEnd, Along), AxisY = Mix(PeninsulaY, PeninsulaEnd, Along);
    const float Axis = std::hypot(X - AxisX, Y - AxisY);
    const float Peninsula = 70 - Axis * Axis / 70 + 12 * N.Fractal(X / 60, Y / 60, 3);
    // Smooth maximum: the two shapes merge through a neck instead of a crease.
    const float Neck = 70;
    const float H = Saturate(0.5f + 0.5f * (Island - Peninsula) / Neck);
    return Mix(Peninsula, Island, H) + Neck * H * (1 - H);
}

void ShapeIsland(HeightField& F, const Noise& N) {
    F.ForEach([&](int IX, int IY, float&) {
        const float X = static_cast<float>(IX), Y = static_cast<float>(IY);
        const float Coast = CoastDistance(N, X, Y);
        if (Coast < 0) {  // sea bed falling away from the beach
            F.At(IX, IY) = std::max(0.5f, WaterLine - 1 - 6 * Saturate(-Coast / 40) + N.At(X / 40, Y / 40));
            return;
        }
        // Highlands: a ridged range across the island, broken up by warped noise.
        const float WX = X + 80 * N.At(X / 220 + 3.1f, Y / 220 + 8.4f);
        const float WY = Y + 80 * N.At(X / 220 + 15.2f, Y / 220 + 1.7f);
        const float Range = SmoothStep(-0.5f, 0.6f, N.Fractal(WX / 520 + 2.5f, WY / 520 + 9.1f, 3));
        const float Ridges = N.Ridged(WX / 230, WY / 230, 6);
        const float Rolling = 0.5f + 0.5f * N.Fractal(WX / 160 + 5.5f, WY / 160 + 2.2f, 6);
        const float Inland = SmoothStep(0, 180, Coast);
        const float Elevation = Inland * (0.35f * Rolling + Range * Ridges * 1.1f);
        const float Beach = 0.15f * SmoothStep(0, 25, Coast);
        const float Roughness = 0.004f * N.Fractal(X / 20 + 1.3f, Y / 20 + 6.1f, 3);
        F.At(IX, IY) = WaterLine + 0.002f + Beach + Elevation + Roughness;  // the land is rescaled below
    });
}

// Land (above the water line) is mapped through a power curve that keeps the
// water line fixed, puts the highest point at PeakHeight and half the land
// above the forest line; the sea bed stays as it is.
void RescaleLand(HeightField& F, float Peak, float ForestShare) {
    std::vector<float> Land;
    for (float H : F.H)
        if (H > WaterLine) Land.push_back(H);
    std::sort(Land.begin(), Land.end());
    const float High = Land.back();
    // The land height at the wanted quantile must land on the forest line.
    const float Quantile = Land[static_cast<std::size_t>((1 - ForestShare) * Land.size())];
    const float T = (Quantile - WaterLine) / (High - WaterLine);
    const float Exponent = std::log((ForestLine - WaterLine) / (Peak - WaterLine)) / std::log(T);
    for (float& H : F.H)
        if (H > WaterLine) H = WaterLine + (Peak - WaterLine) * std::pow((H - WaterLine) / (High - WaterLine), Exponent);
}

// Droplet erosion: rain drops run downhill, pick up soil where they speed up
// and drop it where they slow down, which cuts gullies and fills valley floors.
void Erode(HeightField& F, int Drops, uint32_t S) {
    constexpr int Radius = 3, Lifetime = 40;
    constexpr float Inertia = 0.08f, Capacity = 6, MinSlope = 0.002f, DepositRate = 0.25f, ErodeRate = 0.35f,
                    Evaporation = 0.025f, Gravity = 6;
    struct Tap {
        int DX, DY;
        float W;
    };
    std::vector<Tap> Brush;
    float BrushTotal = 0;
    for (int DX = -Radius; DX <= Radius; ++DX)
        for (int DY = -Radius; DY <= Radius; ++DY) {
            const float W = 1 - std::hypot(static_cast<float>(DX), static_cast<float>(DY)) / (Radius + 0.5f);
            if (W > 0) {
                Brush.push_back({DX, DY, W});
                BrushTotal += W;
            }
        }
    for (Tap& T : Brush) T.W /= BrushTotal;

    Random R(S);
    const float Border = Radius + 2;
    for (int D = 0; D < Drops; ++D) {
        float X = R.Range(Border, F.Size - 1 - Border), Y = R.Range(Border, F.Size - 1 - Border);
        float DirX = 0, DirY = 0, Speed = 1, Water = 1, Sediment = 0;
        for (int Step = 0; Step < Lifetime; ++Step) {
            const int IX = static_cast<int>(X), IY = static_cast<int>(Y);
            const float FX = X - IX, FY = Y - IY;
            if (F.At(IX, IY) < WaterLine) break;  // reached the sea or a lake
            const float H00 = F.At(IX, IY), H10 = F.At(IX + 1, IY), H01 = F.At(IX, IY + 1), H11 = F.At(IX + 1, IY + 1);
            const float GX = Mix(H10 - H00, H11 - H01, FY), GY = Mix(H01 - H00, H11 - H10, FX);
            const float Height = Mix(Mix(H00, H10, FX), Mix(H01, H11, FX), FY);
            DirX = DirX * Inertia - GX * (1 - Inertia);
            DirY = DirY * Inertia - GY * (1 - Inertia);
            const float Len = std::hypot(DirX, DirY);
            if (Len < 1e-6f) break;
            DirX /= Len;
            DirY /= Len;
            X += DirX;
            Y += DirY;
            if (X < Border || Y < Border || X > F.Size - 1 - Border || Y > F.Size - 1 - Border) break;
            const float NewHeight = F.Sample(X, Y);
            const float Drop = NewHeight - Height;
            const float Carry = std::max(-Drop, MinSlope) * Speed * Water * Capacity;
            if (Drop > 0 || Sediment > Carry) {
                const float Amount = Drop > 0 ? std::min(Drop, Sediment) : (Sediment - Carry) * DepositRate;
                Sediment -= Amount;
                F.At(IX, IY) += Amount * (1 - FX) * (1 - FY);
                F.At(IX + 1, IY) += Amount * FX * (1 - FY);
                F.At(IX, IY + 1) += Amount * (1 - FX) * FY;
                F.At(IX + 1, IY + 1) += Amount * FX * FY;
            } else {
                const float Amount = std::min((Carry - Sediment) * ErodeRate, -Drop);
                for (const Tap& T : Brush) F.At(IX + T.DX, IY + T.DY) -= Amount * T.W;
                Sediment += Amount;
            }
            Speed = std::sqrt(std::max(0.0f, Speed * Speed - Drop * Gravity));
            Water *= 1 - Evaporation;
        }
    }
}

constexpr float LakeBed = 2.0f;
constexpr float LakeRim = 1.6f;  // where a lake's hollow ends, in lake radii

struct Lake {
    float X, Y, Radius;
    float Angle, Stretch;  // lakes are drawn out along a direction
};

// Distance from the lake's middle in lake radii, on a stretched, wobbling
// ellipse so that no two shores look alike.
float LakeDistance(const Lake& L, const Noise& N, float X, float Y) {
    const float DX = X - L.X, DY = Y - L.Y;
    const float U = (DX * std::cos(L.Angle) + DY * std::sin(L.Angle)) / L.Stretch;
    const float V = -DX * std::sin(L.Angle) + DY * std::cos(L.Angle);
    return std::hypot(U, V) / L.Radius * (1 + 0.3f * N.Fractal(X / 45 + L.Y, Y / 45 + L.X, 3));
}

// How far a lake presses the ground down: a flat-bottomed hollow, so the shore
// follows the ground's own contours.
float LakeHollow(float Distance, float Depth) { return Depth * SmoothStep(LakeRim, 0.3f, Distance); }

float LakeDepth(const HeightField& F, const Lake& L) {
    return F.At(static_cast<int>(L.X), static_cast<int>(L.Y)) + 3 - LakeBed;
}

template <typename F>
void ForLakeArea(const HeightField& Field, const Lake& L, F&& Visit) {
    const int Reach = static_cast<int>(L.Radius * L.Stretch * LakeRim * 1.6f);
    for (int X = std::max(0, static_cast<int>(L.X) - Reach); X <= std::min(Field.Size - 1, static_cast<int>(L.X) + Reach); ++X)
        for (int Y = std::max(0, static_cast<int>(L.Y) - Reach); Y <= std::min(Field.Size - 1, static_cast<int>(L.Y) + Reach);
             ++Y)
            Visit(X, Y);
}

// A lake must not spill: the ground just beyond its hollow stays above the
// water line.
bool HoldsWater(const HeightField& F, const Noise& N, const Lake& L) {
    const float Depth = LakeDepth(F, L);
    bool Holds = true;
    ForLakeArea(F, L, [&](int X, int Y) {
        const float D = LakeDistance(L, N, static_cast<float>(X), static_cast<float>(Y));
        if (D > LakeRim * 0.85f && D < LakeRim * 1.3f && F.At(X, Y) - LakeHollow(D, Depth) < WaterLine + 1.5f)
            Holds = false;
    });
    return Holds;
}

// Lakes sit in inland lowland, far from the coast, the spawn and each other.
std::vector<Lake> ChooseLakes(const HeightField& F, const Noise& N, int Count) {
    struct Candidate {
        float X, Y, Height;
    };
    std::vector<Candidate> Candidates;
    for (int X = 96; X < F.Size - 96; X += 16)
        for (int Y = 96; Y < F.Size - 96; Y += 16) {
            const float FX = static_cast<float>(X), FY = static_cast<float>(Y);
            if (CoastDistance(N, FX, FY) < 120 || std::hypot(FX - SpawnX, FY - SpawnY) < 250 || FX < CorridorWidth + 60)
                continue;
            float Mean = 0;  // the ground over the lake's whole area
            for (int DX = -32; DX <= 32; DX += 8)
                for (int DY = -32; DY <= 32; DY += 8) Mean += F.At(X + DX, Y + DY);
            Candidates.push_back({FX, FY, Mean / 81});
        }
    std::sort(Candidates.begin(), Candidates.end(), [](const Candidate& A, const Candidate& B) {
        return A.Height < B.Height;
    });
    std::vector<Lake> Lakes;
    for (const Candidate& C : Candidates) {
        if (static_cast<int>(Lakes.size()) == Count) break;
        const bool Apart = std::all_of(Lakes.begin(), Lakes.end(), [&](const Lake& L) {
            return std::hypot(L.X - C.X, L.Y - C.Y) > 230;
        });
        const float Order = static_cast<float>(Lakes.size());
        const Lake L{C.X, C.Y, 38.0f + 8.0f * std::fmod(Order, 3.0f), 0.4f + 1.1f * Order, 1.3f + 0.25f * std::fmod(Order, 3.0f)};
        if (Apart && HoldsWater(F, N, L)) Lakes.push_back(L);
    }
    return Lakes;
}

void DigLakes(HeightField& F, const Noise& N, const std::vector<Lake>& Lakes) {
    for (const Lake& L : Lakes) {
        const float Depth = LakeDepth(F, L);
        ForLakeArea(F, L, [&](int X, int Y) {
            const float Hollow = LakeHollow(LakeDistance(L, N, static_cast<float>(X), static_cast<float>(Y)), Depth);
            F.At(X, Y) = std::max(0.0f, F.At(X, Y) - Hollow);
        });
    }
}

// A low, gently rolling plain around the spawn point, and the strip along the
// west coast held under CorridorCeiling so that a plane heading north at 200
// never meets the ground.
void ClearSpawnAndCorridor(HeightField& F, const Noise& N) {
    F.ForEach([&](int IX, int IY, float& H) {
        const float X = static_cast<float>(IX), Y = static_cast<float>(IY);
        const float Plain = SpawnGround + 1.5f * N.At(X / 25, Y / 25);
        const float OnLand = SmoothStep(0, 30, CoastDistance(N, X, Y));
        H = Mix(H, Mix(Plain, H, SmoothStep(45, 160, std::hypot(X - SpawnX, Y - SpawnY))), OnLand);
        const float Ceiling = CorridorCeiling + std::max(0.0f, X - CorridorWidth) * 1.2f;
        if (H > Ceiling) H = Ceiling + (H - Ceiling) * 0.15f;
    });
}

// The border ring of the map reads 6.0 in the engine; the sea bed meets it there.
void SinkBorder(HeightField& F) {
    F.ForEach([&](int X, int Y, float& H) {
        const int Edge = std::min(std::min(X, Y), std::min(F.Size - 1 - X, F.Size - 1 - Y));
        if (Edge < 12) H = std::min(H, 6.0f - 0.1f * (12 - Edge));
    });
}

// ---------------------------------------------------------------- files

void WriteRaw(const std::filesystem::path& File, const HeightField& F) {
    std::vector<uint8_t> Out;
    Out.reserve(F.H.size() * 2);
    for (float H : F.H) {
        const long Word = std::lround(std::clamp(H, 0.0f, 65535 * HeightScale) / HeightScale);
        PutLE(Out, static_cast<uint32_t>(Word), 2);
    }
    std::ofstream(File, std::ios::binary).write(reinterpret_cast<const char*>(Out.data()), Out.size());
}

void WriteZHM(const std::filesystem::path& File) {
    char Text[512];
    const int Length = std::snprintf(Text, sizeof Text,
                                     "!!ZHM1.0\n"
                                     "; The island: %d x %d samples, one world unit apart; heights are\n"
                                     "; 16-bit words times HScale. Written by tools/makeisland.cpp.\n"
                                     "HeightMap\n"
                                     "{\n"
                                     "   HeightData          Terrain\\island.raw\n"
                                     "   HScale              %.8f\n"
                                     "   TileDetailTexture   %.1f\n"
                                     "   ShaderName          Shaders\\terrain.shader\n"
                                     "   LowDetailShaderName Shaders\\terrain_lowdetail.shader\n"
                                     "}\n",
                                     MapSize, MapSize, HeightScale, TileDetailTexture);
    std::ofstream(File, std::ios::binary).write(Text, Length);
}

Color ToColor(Vec3 C, float Alpha = 1) {
    auto Byte = [](float V) { return static_cast<uint8_t>(std::lround(Saturate(V) * 255)); };
    return {Byte(C.X), Byte(C.Y), Byte(C.Z), Byte(Alpha)};
}
Vec3 Blend(Vec3 A, Vec3 B, float T) { return {Mix(A.X, B.X, T), Mix(A.Y, B.Y, T), Mix(A.Z, B.Z, T)}; }
Vec3 Scale(Vec3 A, float S) { return {A.X * S, A.Y * S, A.Z * S}; }

// ---------------------------------------------------------------- colour map

// Fraction of sunlight reaching a point: a march towards the sun that darkens
// the point when the ground rises above the ray, softened by the clearance.
float SunVisibility(const HeightField& F, float X, float Y, Vec3 Sun) {
    float Z = F.Sample(X, Y) + 0.5f, Light = 1;
    const float Horizontal = std::hypot(Sun.X, Sun.Y);
    const float StepX = Sun.X / Horizontal * 2, StepY = Sun.Y / Horizontal * 2, Rise = Sun.Z / Horizontal * 2;
    for (int I = 1; I < 160; ++I) {
        X += StepX;
        Y += StepY;
        Z += Rise;
        if (Z > PeakHeight || X < 0 || Y < 0 || X > MapSize - 1 || Y > MapSize - 1) break;
        const float Clearance = Z - F.Sample(X, Y);
        Light = std::min(Light, Saturate(0.5f + Clearance / (1.2f * I)));
    }
    return Light;
}

void WriteColorMap(const std::filesystem::path& File, const HeightField& F, const Noise& N) {
    const Vec3 Sun = Normalize({-0.55f, 0.45f, 0.7f});  // from the north-west, high in the sky
    const Vec3 WetSand{0.56f, 0.50f, 0.38f}, Sand{0.80f, 0.73f, 0.55f}, Meadow{0.42f, 0.55f, 0.22f},
        DryGrass{0.52f, 0.56f, 0.28f}, Forest{0.17f, 0.33f, 0.13f}, DarkForest{0.11f, 0.24f, 0.10f},
        Heath{0.38f, 0.40f, 0.26f}, Rock{0.47f, 0.44f, 0.40f}, DarkRock{0.32f, 0.30f, 0.28f};
    const float Texel = static_cast<float>(MapSize) / ColorMapSize;
    WriteBMP(File, ColorMapSize, ColorMapSize, false, [&](int Column, int Row) {
        const float X = (Column + 0.5f) * Texel, Y = (Row + 0.5f) * Texel;
        const float H = F.Sample(X, Y);
        const Vec3 Normal = F.Normal(X, Y, 1.5f);
        const float Steep = SmoothStep(0.78f, 0.6f, Normal.Z);
        const float Patches = N.Fractal(X / 70 + 40, Y / 70 + 40, 5), Speckle = N.At(X / 3, Y / 3);

        // Bands by height, each edge blurred by noise so no contour line shows.
        const float Jitter = 4 * Patches;
        Vec3 C = Blend(WetSand, Sand, SmoothStep(WaterLine - 0.5f, WaterLine + 0.4f, H));
        C = Blend(C, Blend(Meadow, DryGrass, Saturate(0.5f + Patches)), SmoothStep(7.8f, 9.0f, H + Jitter * 0.15f));
        C = Blend(C, Blend(Forest, DarkForest, Saturate(0.5f - Patches * 1.5f)),
                  SmoothStep(ForestLine - 2, ForestLine + 3, H + Jitter));
        C = Blend(C, Heath, SmoothStep(110, 135, H + 10 * Patches));
        C = Blend(C, Blend(Rock, DarkRock, Saturate(0.5f + Speckle)), std::max(Steep, SmoothStep(140, 165, H + 8 * Patches)));
        C = Scale(C, 1 + 0.08f * Speckle);

        // Baked light: sun, shadow and a sky term that darkens hollows.
        const float Direct = std::max(0.0f, Dot(Normal, Sun)) * SunVisibility(F, X, Y, Sun);
        const float Sky = 0.5f + 0.5f * Normal.Z;
        const float Hollow = Saturate(1 + (H - (F.Sample(X - 6, Y) + F.Sample(X + 6, Y) + F.Sample(X, Y - 6) +
                                               F.Sample(X, Y + 6)) / 4) * 0.06f);
        return ToColor(Scale(C, (0.38f * Sky * Hollow + 0.85f * Direct) * 1.1f));
    });
}

// ---------------------------------------------------------------- tiles

// Grey noise averaging exactly 128, so colour x detail x 2 keeps the colour's tone.
void WriteDetail(const std::filesystem::path& File, const Noise& N) {
    std::vector<float> V(DetailSize * DetailSize);
    float Mean = 0;
    for (int Y = 0; Y < DetailSize; ++Y)
        for (int X = 0; X < DetailSize; ++X) {
            const float U = static_cast<float>(X) / DetailSize * 8, W = static_cast<float>(Y) / DetailSize * 8;
            const float Grain = N.Fractal(U, W, 5, 8);
            const float Clods = N.Fractal(U * 2 + 0.5f, W * 2 + 0.5f, 2, 16);
            V[Y * DetailSize + X] = 0.7f * Grain + 0.3f * Clods;
            Mean += V[Y * DetailSize + X];
        }
    Mean /= static_cast<float>(V.size());
    WriteBMP(File, DetailSize, DetailSize, false, [&](int X, int Y) {
        const float G = 0.502f + 0.28f * (V[Y * DetailSize + X] - Mean);
        const float Warm = 0.006f * N.At(X / 32.0f, Y / 32.0f, 8);
        return ToColor({G + Warm, G, G - Warm});
    });
}

// Blue-green water: two trains of sharp wave crests crossing over a slow swell.
// Every wave and the noise bending it repeat a whole number of times across
// the tile, so its edges meet.
void WriteWater(const std::filesystem::path& File, const Noise& N) {
    const Vec3 Deep{0.05f, 0.22f, 0.28f}, Shallow{0.13f, 0.36f, 0.40f}, Crest{0.50f, 0.68f, 0.70f};
    WriteBMP(File, WaterSize, WaterSize, false, [&](int X, int Y) {
        constexpr float Pi = 3.14159265f;
        const float U = static_cast<float>(X) / WaterSize, V = static_cast<float>(Y) / WaterSize;
        const float Bend = 1.2f * N.Fractal(U * 4, V * 4, 3, 4), Bend2 = 1.2f * N.Fractal(U * 4 + 7, V * 4 + 7, 3, 4);
        const float Train = std::pow(1 - std::fabs(std::sin(Pi * (4 * U + 3 * V) + Bend)), 4.0f);
        const float Cross = std::pow(1 - std::fabs(std::sin(Pi * (-3 * U + 5 * V) + Bend2)), 4.0f);
        const float Swell = N.Fractal(U * 4 + 3, V * 4 + 3, 4, 4);
        const Vec3 C = Blend(Deep, Shallow, Saturate(0.5f + 0.7f * Swell));
        return ToColor(Blend(C, Crest, Saturate(0.45f * Train + 0.3f * Cross)));
    });
}

// A spruce: a narrow stack of drooping tiers around a short trunk, lit from the
// left; the pixels around it are transparent, their colour the foliage's so
// that filtering at the outline does not bleed a halo.
void WriteConifer(const std::filesystem::path& File, const Noise& N) {
    const Vec3 Shade{0.06f, 0.17f, 0.08f}, Lit{0.20f, 0.38f, 0.16f}, Bark{0.28f, 0.18f, 0.10f};
    constexpr float Top = 6, Bottom = 112, TrunkTop = 104, TrunkBottom = 126, Tiers = 6;
    WriteBMP(File, TreeSize, TreeSize, true, [&](int X, int Y) {
        const float CX = X + 0.5f - TreeSize / 2.0f, CY = Y + 0.5f;
        if (CY > TrunkTop && CY < TrunkBottom && std::fabs(CX) < 3.5f)
            return ToColor(Scale(Bark, 0.8f + 0.4f * Saturate(0.5f - CX / 7)));
        if (CY < Top || CY > Bottom) return ToColor(Shade, 0);
        const float Along = (CY - Top) / (Bottom - Top);  // 0 at the tip, 1 at the lowest branches
        const float Tier = std::fmod(Along * Tiers, 1.0f);
        const float Width = (3 + 42 * Along) * (0.7f + 0.3f * Tier) + 4 * N.At(X / 5.0f, Y / 5.0f);
        if (std::fabs(CX) > Width) return ToColor(Shade, 0);
        const float Side = Saturate(0.5f - CX / (2 * Width + 1));
        const float Needles = 0.5f + 0.5f * N.At(X / 2.5f + 9, Y / 2.5f + 9);
        return ToColor(Blend(Shade, Lit, Saturate(Side * 0.8f + Tier * 0.35f + Needles * 0.3f - 0.2f)));
    });
}

// ---------------------------------------------------------------- report

void Report(const HeightField& F, const std::vector<Lake>& Lakes) {
    std::size_t Land = 0, Forest = 0;
    float Peak = 0, Corridor = 0;
    for (int X = 0; X < F.Size; ++X)
        for (int Y = 0; Y < F.Size; ++Y) {
            const float H = F.At(X, Y);
            Land += H > WaterLine;
            Forest += H > ForestLine;
            Peak = std::max(Peak, H);
            if (X < CorridorWidth) Corridor = std::max(Corridor, H);
        }
    const double Cells = static_cast<double>(F.H.size());
    std::printf("Map %d x %d, 1 unit per cell, HScale %.8f, water line %.1f\n", F.Size, F.Size, HeightScale, WaterLine);
    std::printf("Land above the water line: %.1f %% of the map\n", 100 * Land / Cells);
    std::printf("Above %.0f units: %.1f %% of the land, %.1f %% of the map\n", ForestLine, 100.0 * Forest / Land,
                100 * Forest / Cells);
    std::printf("Highest point %.1f; spawn (64, 64) at %.1f; highest ground for X < %.0f: %.1f\n", Peak,
                F.At(64, 64), CorridorWidth, Corridor);
    for (const Lake& L : Lakes)
        std::printf("Lake at (%.0f, %.0f), radius about %.0f, bed %.1f\n", L.X, L.Y, L.Radius,
                    F.At(static_cast<int>(L.X), static_cast<int>(L.Y)));
}

}  // namespace

int main(int Argc, char** Argv) {
    const std::filesystem::path Data = Argc > 1 ? Argv[1] : "Data";
    for (const char* Dir : {"Terrain", "Textures", "Tree"}) std::filesystem::create_directories(Data / Dir);
    const Noise N(Seed);

    HeightField F;
    ShapeIsland(F, N);
    RescaleLand(F, PeakHeight, TargetForestShare);  // erosion works on the final scale
    Erode(F, 350000, Seed + 1);
    ClearSpawnAndCorridor(F, N);
    const std::vector<Lake> Lakes = ChooseLakes(F, N, 4);
    DigLakes(F, N, Lakes);
    SinkBorder(F);
    RescaleLand(F, PeakHeight, TargetForestShare);

    WriteRaw(Data / "Terrain" / "island.raw", F);
    WriteZHM(Data / "Terrain" / "island.zhm");
    WriteColorMap(Data / "Terrain" / "island_color.bmp", F, N);
    WriteDetail(Data / "Terrain" / "detail.bmp", N);
    WriteWater(Data / "Textures" / "water.bmp", N);
    WriteConifer(Data / "Tree" / "conifer.bmp", N);
    Report(F, Lakes);
    return 0;
}
