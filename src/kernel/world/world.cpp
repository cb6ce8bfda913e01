#include "kernel/world/world.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/camera.h"
#include "kernel/world/terrain.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"

Z_IMPLEMENT_CLASS(tWorld,
    .Operations = {{"AddActor"}, {"AddEffect"}, {"ResetWorld"}, {"Spawn"}, {"SetAtmosphere"}, {"SetCamera"},
                   {"GetWaterlinePlane", ZOP_ABSTRACT}, {"GetCamera"}, {"GetAtmosphere"}, {"GetTerrainForPoint"},
                   {"GetActorsList"}, {"GetWorldTime", ZOP_ABSTRACT}})

tRenderDevice* AssignedRenderDevice() {
    Logger->Guard(Engine && Engine->Renderer, "Render device isn't assigned");
    return Engine->Renderer;
}

tWorld::tWorld() {
    ProcTrace trace("tWorld.Init()");
    Engine->SetWorld(this);
    Actors = new tActorsList();
    Effects = new tEffectsList();
    Killed.reserve(KeptKills);
    // Both enter this world by themselves while they are built.
    Atmosphere = InstantiateClassAs<tAtmosphere>("tNullAtmosphere");
    Camera = InstantiateClassAs<tCamera>("tNullCamera");
}

tWorld::~tWorld() {
    ProcTrace trace("tWorld.Done()");
    if (Camera) DisposeObject(Camera);
    DisposeObject(Atmosphere);
    ResetWorld();
    delete Effects;
    delete Actors;
}

void tWorld::AddActor(tActor* Actor) {
    Actors->AddFirstItem(Actor->AllocateListItem());
    if (Actor->DynamicCast(&tTerrain::ClassInfo)) Terrain = static_cast<tTerrain*>(Actor);
}

void tWorld::AddEffect(tEffect* Effect) { Effects->AddFirstItem(Effect->AllocateListItem()); }

void tWorld::ResetWorld() {
    // Nothing may read the terrain or a killed object while they are disposed.
    Terrain = nullptr;
    Killed.clear();
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

void tWorld::CameraGone(const tCamera* Gone) {
    if (Camera == Gone) Camera = nullptr;
}

tTerrain* tWorld::GetTerrainForPoint(const TVector3&) {
    Logger->Guard(Terrain, "GetTerrainForPoint(): Level doesn't contain any Terrain objects");
    return Terrain;
}

void tWorld::PreDone() {
    ResetWorld();
    SetCamera(nullptr);
}

void tWorld::TickSpawnables(float DeltaSeconds) {
    UpdatePass(*Actors, DeltaSeconds);
    UpdatePass(*Effects, DeltaSeconds);
    RemoveKilled();
}

void tWorld::UpdatePass(tList& List, float DeltaSeconds) {
    // Objects appended during the pass wait for the next tick.
    const int32_t Count = List.GetTotalItems();
    for (int32_t I = 1; I <= Count && I <= List.GetTotalItems(); ++I) {
        auto* Object = static_cast<tSpawnable*>(List.GetObject(I));
        Object->Update(DeltaSeconds);
        // An update that took objects out of the world (a reset) ends the
        // pass: this object may be gone with them.
        if (List.GetObject(I) != Object) return;
        if (Object->FeedbackSignal() == FEEDBACK_KILL) Killed.push_back(Object);
    }
}

void tWorld::RemoveKilled() {
    for (std::size_t K = 0; K < Killed.size(); ++K) {
        tZObject* Object = Killed[K];
        if (Object->DynamicCast(&tActor::ClassInfo)) Actors->RemoveItem(Object);
        else if (Object->DynamicCast(&tEffect::ClassInfo)) Effects->RemoveItem(Object);
        if (Object == Terrain) FindRemainingTerrain();
        tZObject::DisposeObject(Object);
    }
    Killed.clear();
}

void tWorld::FindRemainingTerrain() {
    Terrain = nullptr;
    for (int32_t I = Actors->GetTotalItems(); I >= 1 && !Terrain; --I)
        if (Actors->GetActor(I)->DynamicCast(&tTerrain::ClassInfo)) Terrain = static_cast<tTerrain*>(Actors->GetActor(I));
}

TMatrix4 tWorld::HandSceneViewToRenderer() {
    TSceneView Scene;
    Scene.WorldTime = GetWorldTime();
    if (tCamera* C = GetCamera()) {
        Scene.CameraPos = C->GetCameraPosition();
        Scene.CameraView = C->GetViewingTransformation();
    }
    if (Engine && Engine->Renderer) Engine->Renderer->SetSceneView(Scene);
    return Scene.CameraView;
}
