#include "kernel/world/world.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/camera.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tWorld,
    .Operations = {{"AddActor"}, {"AddEffect"}, {"ResetWorld"}, {"Spawn"}, {"SetAtmosphere"}, {"SetCamera"},
                   {"GetWaterlinePlane", ZOP_ABSTRACT}, {"GetCamera"}, {"GetAtmosphere"}, {"GetActorsList"},
                   {"GetWorldTime", ZOP_ABSTRACT}})

tWorld::tWorld() {
    ProcTrace trace("tWorld.Init()");
    Engine->SetWorld(this);
    Actors = new tActorsList();
    Effects = new tEffectsList();
    // Both enter this world by themselves while they are built.
    Atmosphere = InstantiateClassAs<tAtmosphere>("tNullAtmosphere");
    Camera = InstantiateClassAs<tCamera>("tNullCamera");
}

tWorld::~tWorld() {
    ProcTrace trace("tWorld.Done()");
    DisposeObject(Camera);
    DisposeObject(Atmosphere);
    ResetWorld();
    delete Effects;
    delete Actors;
}

void tWorld::AddActor(tActor* Actor) { Actors->AddFirstItem(Actor->AllocateListItem()); }

void tWorld::AddEffect(tEffect* Effect) { Effects->AddFirstItem(Effect->AllocateListItem()); }

void tWorld::ResetWorld() {
    Actors->DeallocateAllItems();
    Effects->DeallocateAllItems();
}

void tWorld::Spawn(tSpawnable* Spawnable) {
    ProcTrace trace("tWorld.Spawn(" + Spawnable->ClassName() + ")");
    Spawnable->Spawned();
}

void tWorld::SetAtmosphere(tAtmosphere* NewAtmosphere) {
    if (NewAtmosphere == Atmosphere) return;
    if (Atmosphere) DisposeObject(Atmosphere);
    Atmosphere = NewAtmosphere;
}

void tWorld::SetCamera(tCamera* NewCamera) {
    if (NewCamera == Camera) return;
    if (Camera) DisposeObject(Camera);
    Camera = NewCamera;
}

void tWorld::PreDone() {
    ResetWorld();
    SetCamera(nullptr);
}
