#include "game/airplane.h"

#include <cmath>

#include "game/announcers.h"
#include "game/crashsite.h"
#include "game/objectnames.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/world/camera.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tAirplaneActor, .Operations = {{"Render"},
                                                 {"FeedbackSignal"},
                                                 {"Spawned"},
                                                 {"Update"},
                                                 {"SetPosition"}})
Z_IMPLEMENT_CLASS(tBiplane)
Z_IMPLEMENT_CLASS(tPursuitPlane)

namespace {
// Key codes of the aircraft's hard-wired controls.
constexpr uint8_t KeyFire = 1;  // left mouse button
constexpr uint8_t KeyRollLeft = 'F', KeyRollRight = 'H';
constexpr uint8_t KeyPitchUp = 'T', KeyPitchDown = 'G';
constexpr uint8_t KeyYawLeft = 'V', KeyYawRight = 'B';
constexpr uint8_t KeyThrottleUp = 7, KeyThrottleDown = 10;  // the extra mouse buttons
constexpr uint8_t KeyOrbit = 'P';
constexpr TVector4 CrashTextColor = {1, 0, 0, 1};
}  // namespace

tAirplaneActor::tAirplaneActor(const ShortString& Name) : tMeshActor(Name) {
    ProcTrace trace("tAirplaneActor.Init(" + Name + ")");
    Logger->Guard(GetClass() != &tAirplaneActor::ClassInfo,
                  "Unable to spawn tAirplaneActor - this is wrapping class only");
    // A mode the player chose survives the respawn; the first aircraft
    // brings the default.
    if (EngineVars->IsVarDefined("CameraType")) EngineVars->GetVar("CameraType", CameraType);
    EngineVars->RegisterVar("CameraType", CameraType);
    Console->Unbind(KeyFire);
    Logger->Guard(Engine->Audio, "No audio subsystem for the engine sound");
    EngineSound = Engine->Audio->CreateSource(EngineSoundFile);
    EngineSound->LoopSound(true);
    EngineSound->Play(this);
    CreatePrimaryWeapon();
}

void tAirplaneActor::CreatePrimaryWeapon() {
    ShortString WeaponClass;
    if (!EngineVars->IsVarDefined("PrimaryWeapon") || EngineVars->GetVar("PrimaryWeapon", WeaponClass) == 0 ||
        WeaponClass.empty()) {
        Console->DisplayError("PrimaryWeapon is not set: the aircraft flies unarmed");
        return;
    }
    // Checked before anything is built: a class of another kind would be
    // spawned for nothing, or crash at the first shot.
    const ShortString Error = Linker->InstantiationError(WeaponClass);
    Logger->Guard(Error.empty(), "PrimaryWeapon " + WeaponClass + ": " + Error);
    tZClass Class;
    Linker->FindClass(WeaponClass, Class);
    Logger->Guard(Class.StaticClass->IsA(&tWeapon::ClassInfo),
                  "PrimaryWeapon names " + WeaponClass + ", which isn't a weapon class");
    PrimaryWeapon = static_cast<tWeapon*>(Linker->InstantiateClassByName(WeaponClass, ""));
}

tAirplaneActor::~tAirplaneActor() {
    ProcTrace trace("tAirplaneActor.Done()");
    // At shutdown the variables manager goes before the world.
    if (EngineVars) EngineVars->ReleaseFieldsOf(this);
    if (PrimaryWeapon) DisposeObject(PrimaryWeapon);
    if (EngineSound) DisposeObject(EngineSound);
}

void tAirplaneActor::Spawned() {
    tMeshActor::Spawned();
    Console->Display("tAirplaneActor has been spawned");
    Logger->Log(ShortString(GetClass()->DeclaredName()) + " spawned at " + PositionText(_vecPosition));
    Linker->InstantiateClassByName("tAnnouncer", tAnnouncer::PlaySample);
}

void tAirplaneActor::Render() {
    ProcTrace trace("tAirplaneActor.Render()");
    tRenderDevice* Device = Engine->Renderer;
    TMatrix4 Translation = IdentityMatrix4;
    MTranslateMatrixF(Translation, _vecPosition);
    Device->BeginTransform(ZFT_MULT, &Translation);
    Device->BeginTransform(ZFT_MULT, &_matRotation);
    tMeshActor::Render();
    Device->EndTransform(ZFT_MULT);
    Device->EndTransform(ZFT_MULT);
    // Drawn from here, not from the tick: the frame start empties the text
    // queue, so text queued during the tick would never be seen.
    if (Crashed()) Device->AddTextString(CrashTextX, CrashTextY, CrashText, &CrashTextColor);
}

void tAirplaneActor::UpdateControls() {
    const tInputDevice* Input = Engine->Viewport->GetInputDevice();
    const tMouseCursorInformation* Mouse = Engine->Viewport->GetMouseCursorInfo();
    auto Down = [Input](uint8_t Key) { return Input && Input->Keys[Key]; };
    TAirplaneControlState& C = _ControlState;

    C.bRollingLeft = Down(KeyRollLeft);
    C.bRollingRight = Down(KeyRollRight);
    C.bPitchingUp = Down(KeyPitchUp);
    C.bPitchingDown = Down(KeyPitchDown);
    C.bYawingLeft = Down(KeyYawLeft);
    C.bYawingRight = Down(KeyYawRight);
    C.bThrottlingUp = Down(KeyThrottleUp);
    C.bThrottlingDown = Down(KeyThrottleDown);

    // The mouse overrides the keys' direction when it is off centre.
    C.iRollAmount = int32_t(std::lround(float(Mouse->CenterOffsX) * MouseSteering));
    if (C.iRollAmount != 0) {
        C.bRollingLeft = C.iRollAmount < 0;
        C.bRollingRight = C.iRollAmount > 0;
    }
    C.iPitchAmount = int32_t(std::lround(float(Mouse->CenterOffsY) * MouseSteering));
    if (C.iPitchAmount != 0) {
        C.bPitchingUp = C.iPitchAmount > 0;
        C.bPitchingDown = C.iPitchAmount < 0;
    }

    if (Down(KeyFire) && !Engine->EnginePaused && PrimaryWeapon) PrimaryWeapon->Fire(this, _vecPosition, _vecHeading);

    // One orbit per press, and none while the game stands still (an orbit
    // pauses it, so this also means none while one runs).
    const bool OrbitKey = Down(KeyOrbit);
    if (OrbitKey && !OrbitKeyWasDown && !Engine->EnginePaused) StartOrbit();
    OrbitKeyWasDown = OrbitKey;

    if (!Engine->EnginePaused) Engine->Viewport->CenterMouse();
}

void tAirplaneActor::StartOrbit() {
    Linker->InstantiateClassByName("tFXInfiniteOrbit", PositionText(_vecPosition));
}

void tAirplaneActor::Update(float DeltaSeconds) {
    if (Crashed()) return;
    ProcTrace trace("tAirplaneActor.Update()");
    UpdateControls();
    FlightStep(DeltaSeconds);
    UpdateChaseCamera(DeltaSeconds);
    if (PrimaryWeapon) PrimaryWeapon->Update(DeltaSeconds);
}

void tAirplaneActor::UpdateChaseCamera(float DeltaSeconds) {
    const bool Following = CameraType == "Following";
    if (DeltaSeconds <= 0 || (!Following && CameraType != "Tracked")) return;
    tCamera* Camera = Engine->World->GetCamera();
    if (Distance > ChaseDistance) --Distance;
    const float Weight = float(Distance);
    const TVector3 Desired = _vecPosition - (_vecHeading * ChaseBehind - TVector3{0, 0, ChaseAbove});
    const TVector3 Position = (Camera->GetCameraPosition() * Weight + Desired) / (Weight + 1);
    const TVector3 Direction = (Camera->GetViewingDirection() * Weight + (_vecPosition - Position)) / (Weight + 1);
    if (Following) Camera->SetCameraPosition(Position);
    Camera->SetViewingDirection(Direction);
}

TFeedbackSignal tAirplaneActor::FeedbackSignal() {
    const bool WasFlying = !Crashed();
    tWorld* World = Engine->World;
    if (World->HasTerrain() &&
        World->GetTerrainForPoint(_vecPosition)->EstimateSphereCollision(_vecPosition, float(MeshSize) / 5.0f))
        --CrashedTrigger;
    if (_vecPosition.z < WaterLine) --CrashedTrigger;
    if (CrashedTrigger == FlyingTrigger - 1 || CrashedTrigger == FlyingTrigger - 2)
        Logger->Log(ShortString(GetClass()->DeclaredName()) + " crashed at " + PositionText(_vecPosition));
    if (WasFlying && Crashed()) MarkCrashSite(_vecPosition);
    if (Crashed()) --CrashedTrigger;
    if (CrashedTrigger > 0) return tMeshActor::FeedbackSignal();

    Linker->InstantiateClassByName("tAnnouncer", tAnnouncer::LostSample);
    Linker->InstantiateClassByName("tLostTheMatchAnnouncer", "");
    Kill();
    return FEEDBACK_KILL;
}

tBiplane::tBiplane(const ShortString& Name) : tAirplaneActor(Name) {
    MeshFileName = "plane3\\plane_normals.ase";
    MeshSize = 3;
}

tPursuitPlane::tPursuitPlane(const ShortString& Name) : tAirplaneActor(Name) {
    MeshFileName = "plane4\\craft.ase";
    MeshSize = 3;
}
