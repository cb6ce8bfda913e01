#pragma once
// A flat terrain for the world's tests: its lowest camera height everywhere
// is the number in its object name.

#include "kernel/core/strutils.h"
#include "kernel/world/terrain.h"

class tFlatTerrain : public tTerrain {
    Z_DECLARE_CLASS(tFlatTerrain, tTerrain)
public:
    explicit tFlatTerrain(const ShortString& Params) : tTerrain(Params), Height(Str2Flt(Params)) {}
    void Render() override {}
    float GetLowestCameraHeight(int32_t, int32_t) override { return Height; }
    void Impact(const TVector3&, float) override {}
    float Height;
};
