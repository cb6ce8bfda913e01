#include "kernel/world/camera.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tCamera,
    .Operations = {{"GetViewingTransformation", ZOP_ABSTRACT}, {"GetViewingDirection", ZOP_ABSTRACT},
                   {"GetCameraPosition"}, {"GetCameraTarget"}, {"IsPositionChanged"}, {"SetCameraTarget"},
                   {"SetCameraPosition"}, {"SetViewingDirection"}})

tCamera::tCamera() {
    ProcTrace trace("tCamera.Init()");
    Logger->Guard(Engine, "Engine not found");
    tWorld* World = Engine->GetWorld();
    Logger->Guard(World, "World not found");
    World->SetCamera(this);
    PositionChanged = true;
}

tCamera::~tCamera() {
    if (Engine && Engine->World) Engine->World->CameraGone(this);
}

void tCamera::SetCameraTarget(const TVector3& V) {
    CameraTarget = V;
    PositionChanged = true;
}

void tCamera::SetCameraPosition(const TVector3& V) {
    CameraPosition = V;
    PositionChanged = true;
}
