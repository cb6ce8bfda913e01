#pragma once
// The index sets of the terrain's leaves. A leaf keeps all of its samples in
// one vertex array and draws it as one triangle strip through one of these
// sets: mip level ML (1..6) uses every 2^(ML-1)-th sample, and each of the
// four edges may be snapped to the grid of a coarser neighbour (gradient
// 0..5, the neighbour's level minus the leaf's) so that no cracks open
// between leaves of different levels.
//
// Sets are shared by all leaves of one size and built when first drawn: a
// 128-cell leaf has 6 x 6^4 possible sets of up to 33278 indices, most of
// which no frame ever needs.

#include <cstdint>
#include <memory>
#include <vector>

class tElementsArray;

inline constexpr int32_t MipLevelCount = 6;
inline constexpr int32_t MaxGradient = 5;
inline constexpr int32_t GradientCount = MaxGradient + 1;
inline constexpr int32_t JunctionCount = GradientCount * GradientCount * GradientCount * GradientCount;

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

// The sets of one leaf size. Leaves hold it through a shared pointer: the
// last leaf of that size to go takes the sets with it.
class tMipIndexSets {
public:
    tMipIndexSets(int32_t W, int32_t H);
    ~tMipIndexSets();
    tMipIndexSets(const tMipIndexSets&) = delete;
    tMipIndexSets& operator=(const tMipIndexSets&) = delete;

    // The sets for leaves of W x H cells, shared with every leaf of that size
    // that is still alive.
    static std::shared_ptr<tMipIndexSets> ForLeafSize(int32_t W, int32_t H);

    int32_t VertexCount(int32_t MipLevel) const { return Counts[MipLevel - 1]; }
    // Built from the render device's vertex-array manager at first use.
    tElementsArray* Junctions(int32_t MipLevel, const TJunctionInfo& Junction);
    // How many sets have been built so far.
    int32_t BuiltSets() const { return Built; }

private:
    int32_t W, H;
    int32_t Counts[MipLevelCount];
    std::vector<tElementsArray*> Sets;  // MipLevelCount x JunctionCount, nullptr until built
    int32_t Built = 0;
};
