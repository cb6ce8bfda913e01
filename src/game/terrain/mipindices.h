#pragma once
// The index strips of the terrain's leaves. A leaf keeps all of its samples
// in one vertex array and draws it as one triangle strip: mip level ML
// (1..6) uses every 2^(ML-1)-th sample, and each of the four edges may be
// snapped to the grid of a coarser neighbour (gradient 0..5, the neighbour's
// level minus the leaf's) so that no cracks open between leaves of
// different levels.
//
// A 128-cell leaf has 6 x 6^4 possible strips of up to 33278 indices: far
// too many to build ahead, and a cache of the ones met so far would keep
// allocating as the camera travels. Each leaf instead owns one index array
// of the finest level's size and lays the strip it needs into it whenever
// its level or a gradient changes.

#include <cstdint>

inline constexpr int32_t MipLevelCount = 6;
inline constexpr int32_t MaxGradient = 5;

// The gradients towards neighbours 1..4: first row, first column, last row,
// last column of the leaf.
struct TJunctionInfo {
    uint8_t Dirs[4] = {0, 0, 0, 0};
    int32_t JunctionID() const { return Dirs[0] | Dirs[1] << 8 | Dirs[2] << 16 | Dirs[3] << 24; }
    bool operator==(const TJunctionInfo& Other) const { return JunctionID() == Other.JunctionID(); }
};

// The sample step of a mip level: 1, 2, 4, 8, 16, 32.
int32_t MipStep(int32_t MipLevel);

// How many indices the strip of a W x H cell leaf takes at a mip level, and
// how many Tesselate writes (two more: the last row's unused link).
int32_t MipIndexCount(int32_t W, int32_t H, int32_t MipLevel);
int32_t MipIndexCapacity(int32_t W, int32_t H, int32_t MipLevel);

// Writes the strip of a W x H cell leaf (vertex (c, r) is r * (W + 1) + c)
// at MipLevel with the edges snapped by Junction; returns the count to draw.
// Fatal for a level above 6 or a gradient above 5.
int32_t Tesselate(uint32_t* Indices, int32_t W, int32_t H, int32_t MipLevel, const TJunctionInfo& Junction);
