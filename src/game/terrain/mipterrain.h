#pragma once
// The game's landscape: a height map drawn through a quadtree of leaves that
// choose their level of detail every frame. It answers the aircraft's and the
// camera's height and collision queries and plants the forest when spawned.
// Object name: the ZHM description's file name ("Terrain\island.zhm").

#include <cstdint>
#include "game/terrain/groundcolors.h"
#include "game/terrain/terrainheights.h"
#include "kernel/world/terrain.h"

class tHeightMapResource;
class tProxy;
class tQuadTree;

class tMipTerrain : public tTerrain {
    Z_DECLARE_CLASS(tMipTerrain, tTerrain)
public:
    // The forest grows only above this height.
    static constexpr float TreeLine = 28.0f;
    static constexpr int32_t PlantedTrees = 1000;
    static constexpr int32_t PlantingAttempts = 1000;
    // The reflection pass draws no leaf finer than this level.
    static constexpr int32_t ReflectionLODLimit = 3;

    explicit tMipTerrain(const ShortString& Params);
    ~tMipTerrain() override;

    void Render() override;
    void Spawned() override;
    void RenderReflection() override;
    bool IsOpaque() override { return true; }
    bool EstimateSphereCollision(const TVector3& Center, float Radius) override;
    float GetLowestCameraHeight(int32_t X, int32_t Y) override;
    // Digs a crater (see crater.h) of Radius, bounded to 3..32 units, centred
    // under Position: the heights, the leaves' vertices, deviations and boxes,
    // the camera-height table and the forest see it at once. Nothing is dug
    // while Craters is off.
    void Impact(const TVector3& Position, float Radius) override;
    // Told of every crater dug, before it is dug (a networked match's
    // server sends them on); none when nobody listens.
    static inline void (*ImpactHeard)(const TVector3& Position, float Radius) = nullptr;

    // The ground height under a point of the world (the map's border height
    // off the map).
    float GroundHeight(float X, float Y);

    tQuadTree* QuadTree = nullptr;           // owned
    tHeightMapResource* HeightMap = nullptr;  // owned
    tCameraHeightTable CameraHeights;
    tGroundColors GroundColors;
    float TerrainRadius = 0;

    // The console variable Craters: whether impacts dig.
    static bool CratersEnabled;
    // Registers Craters; the start-up does it before any script runs.
    static void RegisterVariables();

private:
    static tHeightMapResource* LoadHeightMap(const ShortString& Name);
    void CheckSize();
    void PopulateTerrain();

    tProxy* ForestProxy = nullptr;  // owned; the forest this terrain planted
};
