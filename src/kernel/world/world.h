#pragma once
// The world holds the spawned actors and effects, the atmosphere (sky and
// weather) and the camera. It is a subsystem and the engine's current world
// from its construction on; the camera and atmosphere always exist (null
// objects until a level spawns real ones).

#include "kernel/world/spawnable.h"
#include "libraries/classes/subsystem.h"
#include "libraries/math/plane.h"

class tAtmosphere;
class tCamera;

class tWorld : public tSubSystem {
    Z_DECLARE_CLASS(tWorld, tSubSystem)
public:
    tWorld();
    ~tWorld() override;

    // Actors and effects are appended, so they stay in the order added.
    virtual void AddActor(tActor* Actor);
    virtual void AddEffect(tEffect* Effect);
    // Disposes every actor, then every effect.
    virtual void ResetWorld();
    virtual void Spawn(tSpawnable* Spawnable);
    // A different object replaces (and disposes) the current one.
    virtual void SetAtmosphere(tAtmosphere* NewAtmosphere);
    virtual void SetCamera(tCamera* NewCamera);
    virtual TPlane GetWaterlinePlane() = 0;
    virtual tCamera* GetCamera() { return Camera; }
    virtual tAtmosphere* GetAtmosphere() { return Atmosphere; }
    virtual tActorsList* GetActorsList() { return Actors; }
    virtual float GetWorldTime() = 0;

    // Prepares destruction: no actors, effects or camera remain.
    void PreDone();

    tActorsList* Actors = nullptr;
    tEffectsList* Effects = nullptr;
    tAtmosphere* Atmosphere = nullptr;
    tCamera* Camera = nullptr;
};
