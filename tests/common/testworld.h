#pragma once
// Worlds and terrains for the world's tests and benchmarks: a world that runs
// the spawnables' tick contract and nothing else, and a flat terrain.

#include "kernel/core/strutils.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"

class tTickingWorld : public tWorld {
    Z_DECLARE_CLASS(tTickingWorld, tWorld)
public:
    void Tick(float DeltaSeconds) override { TickSpawnables(DeltaSeconds); }
    void RenderFrame() override {}
    TPlane GetWaterlinePlane() override { return {}; }
    float GetWorldTime() override { return 0; }
};

// Its lowest camera height everywhere is the number in its object name.
class tFlatTerrain : public tTerrain {
    Z_DECLARE_CLASS(tFlatTerrain, tTerrain)
public:
    explicit tFlatTerrain(const ShortString& Params) : tTerrain(Params), Height(Str2Flt(Params)) {}
    void Render() override {}
    float GetLowestCameraHeight(int32_t, int32_t) override { return Height; }
    void Impact(const TVector3&, float) override {}
    float Height;
};

// Adds both classes to the registry.
void RegisterTestWorldClasses();
