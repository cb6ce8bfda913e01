#include "game/orbitcamera.h"

#include <cmath>
#include <numbers>

#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tFXOrbitCamera, .Operations = {{"Render"}, {"Update"}, {"FeedbackSignal"}})
Z_IMPLEMENT_CLASS(tFXInfiniteOrbit, .Operations = {{"FeedbackSignal"}})

tFXOrbitCamera::tFXOrbitCamera(const ShortString& Name) : tEffect(Name) {
    ProcTrace trace("tFXOrbitCamera.Init(" + Name + ")");
    CameraTarget = VectorFromName(Name, 1);
    Engine->EnginePaused = true;
    CameraOrigin = Engine->GetWorld()->GetCamera()->GetCameraPosition();
    const TVector3 Offset = CameraOrigin - CameraTarget;
    Distance = Len(Offset);
    OrbitAxis = GetOrthogonalVector(Offset);
    // A camera exactly on its target has no circle to fly: it stays put.
    OrbitUp = Normalize(Offset) * Distance;
    OrbitLeft = Normalize(Cross(OrbitAxis, Offset)) * Distance;
}

void tFXOrbitCamera::Update(float) {
    LifeTime += OrbitStep;
    const float Angle = LifeTime / TTL * 2.0f * std::numbers::pi_v<float> + Phi;
    const TVector3 P = CameraTarget + OrbitUp * std::cos(Angle) + OrbitLeft * std::sin(Angle);
    tCamera* Camera = Engine->World->GetCamera();
    Camera->SetCameraPosition(P);
    if (Distance > 0) Camera->SetViewingDirection(CameraTarget - P);
}

TFeedbackSignal tFXOrbitCamera::FeedbackSignal() {
    if (LifeTime >= TTL && DefaultSignal != FEEDBACK_KILL) {
        Engine->EnginePaused = false;
        Kill();
    }
    return tEffect::FeedbackSignal();
}

tFXInfiniteOrbit::tFXInfiniteOrbit(const ShortString& Name) : tFXOrbitCamera(Name) { TTL = LapSeconds; }

TFeedbackSignal tFXInfiniteOrbit::FeedbackSignal() {
    if (LifeTime >= TTL) LifeTime = 0;
    if (!Engine->EnginePaused) Kill();
    return tFXOrbitCamera::FeedbackSignal();
}
