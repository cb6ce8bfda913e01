#pragma once
// The world holds the spawned actors and effects, the atmosphere (sky and
// weather), the camera and the terrain. It is a subsystem and the engine's
// current world from its construction on; the camera and atmosphere always
// exist (null objects until a level spawns real ones).

#include <vector>

#include "kernel/world/spawnable.h"
#include "libraries/classes/subsystem.h"
#include "libraries/math/plane.h"

class tAtmosphere;
class tCamera;
class tRenderDevice;
class tTerrain;

// The engine's render device, for the world's objects that draw: fatal
// ("Render device isn't assigned") while the engine has none yet.
tRenderDevice* AssignedRenderDevice();

class tWorld : public tSubSystem {
    Z_DECLARE_CLASS(tWorld, tSubSystem)
public:
    tWorld();
    ~tWorld() override;

    // Actors and effects are appended, so they stay in the order added. The
    // last terrain added becomes the world's terrain.
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
    // The terrain under Point; fatal in a world without terrain, so callers
    // that may run without one ask HasTerrain first.
    virtual tTerrain* GetTerrainForPoint(const TVector3& Point);
    virtual tActorsList* GetActorsList() { return Actors; }
    virtual float GetWorldTime() = 0;

    bool HasTerrain() const { return Terrain != nullptr; }
    // The render device's GPU programs see the scene only through what they
    // are handed: whoever draws the world hands over its time and camera
    // (the defaults without a camera) first. The camera's viewing
    // transformation is returned.
    TMatrix4 HandSceneViewToRenderer();
    // Prepares destruction: no actors, effects or camera remain.
    void PreDone();
    // A camera going away by other hands than the world's is forgotten.
    void CameraGone(const tCamera* Gone);

    tActorsList* Actors = nullptr;
    tEffectsList* Effects = nullptr;
    tAtmosphere* Atmosphere = nullptr;
    tCamera* Camera = nullptr;
    tTerrain* Terrain = nullptr;

protected:
    // The tick every concrete world runs: each actor is updated and asked for
    // its feedback signal, then each effect; the objects that answered
    // FEEDBACK_KILL are removed and disposed after both passes. Objects
    // spawned during a pass are first updated in the next tick.
    void TickSpawnables(float DeltaSeconds);

private:
    void UpdatePass(tList& List, float DeltaSeconds);
    void RemoveKilled();
    // After the terrain left: the last terrain still among the actors, if any.
    void FindRemainingTerrain();

    // Objects that asked to be removed during the current tick, in that
    // order; room kept, so a crash in play allocates nothing to be noted.
    static constexpr std::size_t KeptKills = 256;
    std::vector<tZObject*> Killed;
};
