#pragma once
// The level: the world while a game is played. It keeps the clock of play,
// owns the sea, offers "BeginPlay" (every object's begin-play, which puts the
// sea over the terrain) and "ResetWorld" (an empty world with a null sky and
// camera), and draws the scene inside the camera's transform: sky, sea,
// actors, weather, effects.

#include "kernel/world/world.h"
#include "libraries/classes/commandbindings.h"

class tWater;

class tLevel : public tWorld {
    Z_DECLARE_CLASS(tLevel, tWorld)
public:
    tLevel();
    ~tLevel() override;

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override;
    TPlane GetWaterlinePlane() override;
    float GetWorldTime() override { return WorldTime; }

    void BeginPlayC(const ShortString& Params);
    void ResetWorldC(const ShortString& Params);

    tWater* Water = nullptr;  // owned
    float WorldTime = 0;      // seconds of play since the level was made
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
