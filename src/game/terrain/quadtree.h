#pragma once
// The terrain's quadtree. Nodes split the height map into four quarters that
// share their middle row and column until a quarter is less than 257 samples
// wide; those quarters are the leaves, square patches that each draw all of
// their samples from one vertex array at a level of detail chosen every frame
// (see quadtreeleaf.h). Nodes only route: frustum culling, level choice and
// the search for the leaf under a point.

#include <cstdint>

#include "game/terrain/terrainheights.h"
#include "libraries/math/bounds.h"
#include "libraries/classes/renderdevice.h"

class tHeightMapResource;
class tQuadTree;
class tQuadTreeLeaf;

class tQuadTreeSector : public tRenderable {
    Z_DECLARE_CLASS(tQuadTreeSector, tRenderable)
public:
    // Bounds are inclusive sample coordinates; the bounding box covers the
    // heights of every sample inside them.
    tQuadTreeSector(int32_t X, int32_t Y, int32_t X1, int32_t Y1, tHeightMapResource* HeightMap, tQuadTree* QuadTree);

    virtual void Refresh() = 0;
    virtual void EvaluateLOD() = 0;
    virtual int32_t GetLOD() = 0;
    virtual tQuadTreeSector* FindSector(int32_t PX, int32_t PY) = 0;
    // Half-open: X <= PX < X1 and Y <= PY < Y1.
    virtual bool IsInsideSector(int32_t PX, int32_t PY) const;
    virtual bool IsVisible();
    virtual bool IsInsideFrustum();
    virtual const TBoundingBox& GetBoundingBox() const { return BoundingBox; }
    bool Overlaps(const TSampleRect& Rect) const { return Rect.Overlaps(X, Y, X1, Y1); }
    // Takes in heights from Low to High.
    void WidenBoundingBox(float Low, float High);

    tHeightMapResource* HeightMap;
    int32_t X, Y, X1, Y1;
    TBoundingBox BoundingBox;
    tQuadTree* QuadTree;
};

class tQuadTreeNode : public tQuadTreeSector {
    Z_DECLARE_CLASS(tQuadTreeNode, tQuadTreeSector)
public:
    // Children narrower than this many samples (less one) are leaves.
    static constexpr int32_t LeafExtentLimit = 257;

    tQuadTreeNode(int32_t X, int32_t Y, int32_t X1, int32_t Y1, tHeightMapResource* HeightMap, tQuadTree* QuadTree);
    ~tQuadTreeNode() override;

    void Render() override;
    void Refresh() override;
    void EvaluateLOD() override;
    int32_t GetLOD() override;
    tQuadTreeSector* FindSector(int32_t PX, int32_t PY) override;

    // In order: (X, Y)-(MX, MY), (MX, Y)-(X1, MY), (X, MY)-(MX, Y1), (MX, MY)-(X1, Y1).
    tQuadTreeSector* SubNodes[4] = {};
};

class tQuadTree : public tRenderable {
    Z_DECLARE_CLASS(tQuadTree, tRenderable)
public:
    tQuadTree();
    ~tQuadTree() override;

    void Render() override;
    // Links every leaf to its four neighbours.
    virtual void SetupNeighbors();
    virtual void CreateTree(tHeightMapResource* NewHeightMap);
    // No leaf is drawn finer than this level (1 = no limit).
    virtual void SetLODLimit(int32_t L) { LODLimit = L; }
    virtual int32_t GetLODLimit() { return LODLimit; }
    // The leaf whose half-open rectangle holds (PX, PY), or nullptr.
    virtual tQuadTreeSector* FindSector(int32_t PX, int32_t PY);
    virtual tQuadTreeSector* GetRoot() { return Root; }
    // The extent of the smallest leaf, in cells.
    virtual int32_t GetGranularity() { return ActualDimension; }
    // The leaves holding samples of Rect, at most Max of them, into Out;
    // returns how many.
    int32_t LeavesOver(const TSampleRect& Rect, tQuadTreeLeaf** Out, int32_t Max);
    // Every sector holding samples of Rect takes in heights from Low to High.
    void WidenBoxesOver(const TSampleRect& Rect, float Low, float High);

    tHeightMapResource* HeightMap = nullptr;
    tQuadTreeSector* Root = nullptr;
    int32_t LODLimit = 1;
    int32_t ActualDimension = 257;
    TVector3 LastFrameCameraPos;
    // Draws every leaf at full resolution whatever the distance (for
    // comparisons of the level-of-detail scheme against the plain mesh).
    bool FullResolution = false;
};
