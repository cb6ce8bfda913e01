#include "kernel/world/level.h"

#include "kernel/console/commands.h"
#include "libraries/classes/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/registry.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/camera.h"
#include "kernel/world/water.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tLevel, .Operations = {{"Tick"}, {"RenderFrame"}, {"GetWaterlinePlane"}, {"GetWorldTime"}})

tLevel::tLevel() {
    ProcTrace trace("tLevel.Init()");
    AssignedRenderDevice();
    Console->RegisterCommand("BeginPlay", ConsoleProc<&tLevel::BeginPlayC>(this), Commands);
    Console->RegisterCommand("ResetWorld", ConsoleProc<&tLevel::ResetWorldC>(this), Commands);
    Water = NewObject<tWater>();
}

tLevel::~tLevel() {
    ProcTrace trace("tLevel.Done()");
    if (Water) DisposeObject(Water);
}

void tLevel::BeginPlayC(const ShortString&) { Linker->BroadcastBeginPlay(); }

void tLevel::ResetWorldC(const ShortString&) {
    ResetWorld();
    // Both take their place in this world as they are made.
    SetAtmosphere(InstantiateClassAs<tAtmosphere>("tNullAtmosphere"));
    SetCamera(InstantiateClassAs<tCamera>("tNullCamera"));
}

TPlane tLevel::GetWaterlinePlane() { return Water->GetWaterlinePlane(); }

void tLevel::Tick(float DeltaSeconds) {
    WorldTime += DeltaSeconds;
    Atmosphere->Update(DeltaSeconds);
    TickSpawnables(DeltaSeconds);
    // After the actors, so the chase camera's move of this tick is heard.
    if (tCamera* Camera = GetCamera()) Camera->HandPoseToListener();
}

void tLevel::RenderFrame() {
    const TMatrix4 View = HandSceneViewToRenderer();
    // A world whose camera went has no point of view to draw from.
    if (!GetCamera()) return;
    tRenderDevice* Device = Engine->Renderer;
    Device->BeginTransform(ZFT_REPLACE, &View);
    // The solid world first: the depth test then rejects the sea under the
    // land and the sky behind both before they are shaded. What blends over
    // the sky comes after it.
    for (int32_t I = 1; I <= Actors->GetTotalItems(); ++I)
        if (tActor* Actor = Actors->GetActor(I); Actor->IsOpaque()) Actor->Render();
    Water->Render();
    Atmosphere->PreRender();
    for (int32_t I = 1; I <= Actors->GetTotalItems(); ++I)
        if (tActor* Actor = Actors->GetActor(I); !Actor->IsOpaque()) Actor->Render();
    Atmosphere->Render();
    for (int32_t I = 1; I <= Effects->GetTotalItems(); ++I) Effects->GetEffect(I)->Render();
    Device->EndTransform(ZFT_REPLACE);
}
