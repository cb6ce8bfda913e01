#pragma once
// The sea: one flat triangle strip at the sea level, 128 x 128 cells of
// 30 units, drawn with the near or the distant water shader by the camera's
// height. It stays hidden until "BeginPlay" finds a terrain and moves it over
// the island.

#include "libraries/classes/renderdevice.h"
#include "kernel/world/sealevel.h"
#include "libraries/math/plane.h"

class tQueryFeedbackContext;
class tShaderResource;
class tVertexArray;

class tWater : public tRenderable {
    Z_DECLARE_CLASS(tWater, tRenderable)
public:
    static constexpr int32_t GridCells = 128;
    static constexpr float CellSize = 30.0f;
    // Two vertices on each of the row's 129 grid lines and two joining ones.
    static constexpr int32_t StripVertices = GridCells * (2 * (GridCells + 1) + 2);
    // Above this camera height the distant shader draws the sea.
    static constexpr float LowDetailHeight = 300.0f;
    static constexpr TVector4 WaterDeltaTex = {0.078125f, 0.078125f, 0.09375f, 0.09375f};
    // Where "BeginPlay" moves the sea once a terrain exists.
    static constexpr TVector3 TerrainOffset = {128, 128, 0};

    tWater();
    ~tWater() override;

    void Render() override;
    virtual bool IsVisible() { return true; }
    virtual TPlane GetWaterlinePlane() { return WaterLine; }
    void TesselateWater();
    void RepositionWater();
    // Published: moves the sea over the terrain at the first begin-play
    // that finds one.
    void BeginPlay();

    TPlane WaterLine;
    tVertexArray* WaterVA = nullptr;  // owned
    tShaderResource* WaterShader = nullptr;
    tShaderResource* WaterLowDetailShader = nullptr;
    tShaderResource* OccluderShader = nullptr;
    bool WaterRepositioned = false;
    TVector4 DeltaTex = WaterDeltaTex;
    tQueryFeedbackContext* OcclusionQuery = nullptr;  // owned
};
