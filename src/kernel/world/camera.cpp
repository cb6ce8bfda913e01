#include "kernel/world/camera.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/world/world.h"
#include "libraries/classes/audiosubsystem.h"
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

// The view's rows are the eye's axes in world space: it looks along -z, +y is
// its up, so a banked camera tilts the listener's ears with it.
void tCamera::HandPoseToListener() {
    if (!Engine || !Engine->Audio) return;
    const TMatrix4 M = GetViewingTransformation();
    const TVector3 Forward = {-M.At(2, 0), -M.At(2, 1), -M.At(2, 2)};
    const TVector3 Up = {M.At(1, 0), M.At(1, 1), M.At(1, 2)};
    Engine->Audio->PlaceListener(GetCameraPosition(), Forward, Up);
}
