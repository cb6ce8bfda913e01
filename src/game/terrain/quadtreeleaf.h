#pragma once
// A leaf of the terrain's quadtree: a square patch whose samples all live in
// one vertex array, uploaded once. Every frame the leaf picks a mip level
// from the camera distance and its planar deviations (how far each coarser
// level strays from the real surface, computed once and cached on disk), and
// draws through its own index strip of that level, whose edges follow the
// coarser neighbours' grids.

#include <cstdint>

#include "game/terrain/mipindices.h"
#include "game/terrain/quadtree.h"
#include "game/terrain/terrainheights.h"

class tElementsArray;
class tShaderResource;
class tVertexArray;

struct TPlanarDeviation {
    float PlanarDeviation = 0;      // the largest height error of the level
    float MeanPlanarDeviation = 0;  // the error summed over the cells, per cell
};

class tQuadTreeLeaf : public tQuadTreeSector {
    Z_DECLARE_CLASS(tQuadTreeLeaf, tQuadTreeSector)
public:
    // The deviation cache file: the six records, each two little-endian floats.
    static constexpr int32_t DeviationRecordBytes = MipLevelCount * 2 * 4;
    // Levels whose largest error is below this are never worth drawing finer.
    static constexpr float NegligibleDeviation = 3.0f;
    // Beyond this camera distance a leaf drops one more level; nearer than
    // the second it never draws levels 5 or 6.
    static constexpr float FarDistance = 350.0f;
    static constexpr float NearDistance = 150.0f;
    // A level is fine enough while its error seen from the camera stays below this.
    static constexpr float DeviationPerDistance = 0.01f;
    // The distance classes of the shader choice; below HiShaderClasses the
    // near shader is used (about 224 units).
    static constexpr float ShaderClassDistance = 64.0f;
    static constexpr int32_t HiShaderClasses = 4;
    // Leaves farther than this along X or Y are not drawn (the fog hides the cut).
    static constexpr float VisibilityRange = 1200.0f;

    tQuadTreeLeaf(int32_t X, int32_t Y, int32_t X1, int32_t Y1, tHeightMapResource* HeightMap, tQuadTree* QuadTree);
    ~tQuadTreeLeaf() override;

    void Render() override;
    void Refresh() override;
    void EvaluateLOD() override;
    int32_t GetLOD() override;
    tQuadTreeSector* FindSector(int32_t PX, int32_t PY) override;
    bool IsVisible() override;

    // The height of (PX, PY) on the surface drawn at MipLevel.
    float LandscapeHeightInterpolated(int32_t PX, int32_t PY, int32_t MipLevel);
    void BuildDeviations();

    // A crater changes the samples of Changed: BeginImpact notes the leaf's
    // errors around them before, EndImpact after the heights changed, and
    // brings the deviations, the level floor, the bounding box (to the range
    // the tree's) and the vertices up to date. Only the neighbourhood of the
    // change is visited; the largest error of a level never shrinks (a
    // bound that errs towards finer levels). The tree widens the boxes.
    void BeginImpact(const TSampleRect& Changed);
    void EndImpact(const TSampleRect& Changed);

    tQuadTreeLeaf* NeighborNodes[4] = {};  // not owned; nullptr at the border
    tVertexArray* TerrainData = nullptr;    // owned
    tShaderResource* Shader = nullptr;      // the shader the next draw uses
    TJunctionInfo Junction, LastJunction;
    int32_t ShaderLOD = 1;
    int32_t LOD = 1, LastLOD = MipLevelCount;
    TPlanarDeviation Deviations[MipLevelCount];
    int32_t MinLOD = 1;

private:
    // The samples whose error at MipLevel depends on those of Changed.
    TSampleRect ErrorRegion(const TSampleRect& Changed, int32_t MipLevel) const;
    struct TErrorSum {
        float Largest;
        double Sum;
    };
    TErrorSum RegionErrors(const TSampleRect& Region, int32_t MipLevel);
    void ChooseMinLOD();
    ShortString DeviationCacheName();
    // Whether a complete cache file exists that is not older than the height
    // map's description or its raw file.
    bool DeviationCacheIsCurrent(const ShortString& Name);
    void ReadDeviations(const ShortString& Name);
    void WriteDeviations(const ShortString& Name);
    void GenerateVertices();
    // Lays the strip of MipLevel with the edges of NewJunction into Indices.
    void InstallIndices(int32_t MipLevel, const TJunctionInfo& NewJunction);

    tElementsArray* Indices = nullptr;  // owned, room for the finest level's strip
    // Between BeginImpact and EndImpact: the error sums around the change.
    double ErrorsBefore[MipLevelCount] = {};
};
