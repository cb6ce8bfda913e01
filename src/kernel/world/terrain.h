#pragma once
// The terrain as the world and the cameras see it: an actor that answers how
// low a camera may go over a point and takes impacts. The world keeps the
// last terrain spawned for its height and collision queries.

#include <cstdint>

#include "kernel/world/spawnable.h"

class tTerrain : public tActor {
    Z_DECLARE_CLASS(tTerrain, tActor)
public:
    tTerrain() = default;
    explicit tTerrain(const ShortString& Name) : tActor(Name) {}

    // A terrain stays where its height map puts it.
    void SetPosition(const TVector3&) override {}
    virtual float GetLowestCameraHeight(int32_t X, int32_t Y) = 0;
    virtual void Impact(const TVector3& Position, float Radius) = 0;
};
