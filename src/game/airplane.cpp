#include "game/airplane.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "game/announcers.h"
#include "game/crashsite.h"
#include "game/match.h"
#include "game/objectnames.h"
#include "game/weapons.h"
#include "game/worldground.h"
#include "game/wreck.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/camera.h"
#include "kernel/world/sealevel.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/math/quaternion.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tAirplaneActor, .Operations = {{"Render"},
                                                 {"FeedbackSignal"},
                                                 {"Spawned"},
                                                 {"Update"},
                                                 {"SetPosition"},
                                                 {"ShowExplosion"},
                                                 {"ShowCrashSite"}})
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
constexpr TVector4 EdgeTextColor = {1, 0.8f, 0.2f, 1};
constexpr float EdgeTextY = 130;
constexpr const char* FlashShaderFile = "shaders\\effects\\particle.shader";
constexpr float FlashSize = 8.0f;
// A hit's rumble: a base strength plus a share of the damage, briefly.
constexpr float HitRumbleBase = 0.4f, HitRumblePerHealth = 50.0f, HitRumbleSeconds = 0.25f;
}  // namespace

tAirplaneActor::tAirplaneActor(const ShortString& Name) : tMeshActor(Name) {
    ProcTrace trace("tAirplaneActor.Init(" + Name + ")");
    Logger->Guard(GetClass() != &tAirplaneActor::ClassInfo,
                  "Unable to spawn tAirplaneActor - this is wrapping class only");
    if (Match) Pilot = Match->ClaimPilot(this);
    ShortString WeaponClass;
    if (IsPlayer()) {
        // A mode the player chose survives the respawn; the first aircraft
        // brings the default.
        if (EngineVars->IsVarDefined("CameraType")) EngineVars->GetVar("CameraType", CameraType);
        EngineVars->RegisterVar("CameraType", CameraType, BoundFields);
        Console->Unbind(KeyFire);
        if (EngineVars->IsVarDefined("PrimaryWeapon")) EngineVars->GetVar("PrimaryWeapon", WeaponClass);
    } else {
        WeaponClass = Match->GetPilot(Pilot).Weapon;
    }
    Logger->Guard(Engine->Audio, "No audio subsystem for the engine sound");
    EngineSound = Engine->Audio->CreateSource(EngineSoundFile);
    EngineSound->LoopSound(true);
    EngineSound->PlaceAt(_vecPosition);
    EngineSound->Play(this);
    CreatePrimaryWeapon(WeaponClass);
}

ShortString tAirplaneActor::PilotName() const {
    return Match && Match->Valid(Pilot) ? Match->GetPilot(Pilot).Name : ShortString("Player");
}

bool tAirplaneActor::IsPlayer() const { return Pilot == 0 || !Match || !Match->IsComputer(Pilot); }

float tAirplaneActor::HitRadius() const {
    const float Span = SceneNode ? SceneNode->ResizedDimension() : float(MeshSize);
    return Span / 2 + ShotRadius;
}

void tAirplaneActor::CreatePrimaryWeapon(const ShortString& WeaponClass) {
    if (WeaponClass.empty()) {
        Console->DisplayError("PrimaryWeapon is not set: the aircraft flies unarmed");
        return;
    }
    // Checked before anything is built: a class of another kind would be
    // spawned for nothing, or crash at the first shot. The name comes from a
    // console variable, so a wrong one is the player's to mend, not the end.
    const ShortString Error = Linker->InstantiationError(WeaponClass, tWeapon::ClassInfo, tWeapon::KindName);
    if (!Error.empty()) {
        Console->DisplayError("PrimaryWeapon " + WeaponClass + ": " + Error + ": the aircraft flies unarmed");
        return;
    }
    PrimaryWeapon = static_cast<tWeapon*>(Linker->InstantiateClassByName(WeaponClass, ""));
}

tAirplaneActor::~tAirplaneActor() {
    ProcTrace trace("tAirplaneActor.Done()");
    if (IsPlayer() && Engine && Engine->GUI) Engine->GUI->SetGameCursor(CFORM_ARROW);
    if (Match) Match->AircraftGone(this);
    if (PrimaryWeapon) DisposeObject(PrimaryWeapon);
    if (EngineSound) DisposeObject(EngineSound);
    if (DamageSound) DisposeObject(DamageSound);
    if (FlashQuad) DisposeObject(FlashQuad);
}

void tAirplaneActor::Spawned() {
    tMeshActor::Spawned();
    Logger->Log(ShortString(GetClass()->DeclaredName()) + " spawned at " + PositionText(_vecPosition) + " for " +
                PilotName());
    if (!IsPlayer()) return;
    Console->Display("tAirplaneActor has been spawned");
    Linker->InstantiateClassByName("tAnnouncer", tAnnouncer::PlaySample);
}

void tAirplaneActor::TurnTo(float Heading) {
    _quatAttitude = FromEuler(Heading, 0, 0);
    FlightStep(0);  // the rotation and heading follow at once
}

void tAirplaneActor::Render() {
    ProcTrace trace("tAirplaneActor.Render()");
    tRenderDevice* Device = Engine->Renderer;
    RenderPosed(_vecPosition, _matRotation);
    // Another pilot's aircraft flares where it is hit; the player's own hit
    // shows on the HUD.
    if (HitFlash > 0 && !IsPlayer()) {
        if (!FlashQuad) {
            FlashQuad = tVertexArrayManager::Current()->AllocateVA(QuadCorners, 1, GN_FALSE, PRIM_QUADS);
            FlashShader = Resources->LoadShader(FlashShaderFile);
        }
        Device->GeometryServer->CreateQuad_CameraFaced(FlashQuad, _vecPosition, FlashSize * HitFlash / HitFlashSeconds);
        Device->AddBuffer(FlashQuad, FlashShader);
    }
    // Drawn from here, not from the tick: the frame start empties the text
    // queue, so text queued during the tick would never be seen.
    if (!IsPlayer()) return;
    const float Scale = CurrentUIScale();
    if (Crashed()) Device->AddTextString(CrashTextX * Scale, CrashTextY * Scale, CrashText, &CrashTextColor);
    const float Far = tMatch::MapSize + EdgeWarningBeyond;
    const TVector3& P = _vecPosition;
    if (Alive() && (P.x < -EdgeWarningBeyond || P.y < -EdgeWarningBeyond || P.x > Far || P.y > Far))
        Device->AddTextString(CrashTextX * Scale, EdgeTextY * Scale, EdgeText, &EdgeTextColor);
}

tNetInput tAirplaneActor::LocalInput() {
    const tInputDevice* Input = Engine->Viewport->GetInputDevice();
    const tMouseCursorInformation* Mouse = Engine->Viewport->GetMouseCursorInfo();
    auto Down = [Input](uint8_t Key) { return Input && Input->Keys[Key]; };
    static constexpr std::pair<uint8_t, tNetControl> Keys[] = {
        {KeyFire, ControlFire},           {KeyRollLeft, ControlRollLeft},     {KeyRollRight, ControlRollRight},
        {KeyPitchUp, ControlPitchUp},     {KeyPitchDown, ControlPitchDown},   {KeyYawLeft, ControlYawLeft},
        {KeyYawRight, ControlYawRight},   {KeyThrottleUp, ControlThrottleUp}, {KeyThrottleDown, ControlThrottleDown}};
    tNetInput In;
    for (const auto& [Key, Control] : Keys)
        if (Down(Key)) In.Controls |= Control;
    In.PointerX = static_cast<int16_t>(std::clamp(Mouse->CenterOffsX, -MaxPointerOffset, MaxPointerOffset));
    In.PointerY = static_cast<int16_t>(std::clamp(Mouse->CenterOffsY, -MaxPointerOffset, MaxPointerOffset));
    return In;
}

void tAirplaneActor::FlyFrom(const tNetInput& In, bool MayFire) {
    TAirplaneControlState& C = _ControlState;
    auto Held = [&In](tNetControl Control) { return (In.Controls & Control) != 0; };
    C.bRollingLeft = Held(ControlRollLeft);
    C.bRollingRight = Held(ControlRollRight);
    C.bPitchingUp = Held(ControlPitchUp);
    C.bPitchingDown = Held(ControlPitchDown);
    C.bYawingLeft = Held(ControlYawLeft);
    C.bYawingRight = Held(ControlYawRight);
    C.bThrottlingUp = Held(ControlThrottleUp);
    C.bThrottlingDown = Held(ControlThrottleDown);

    // The mouse overrides the keys' direction when it is off centre.
    C.iRollAmount = int32_t(std::lround(float(In.PointerX) * MouseSteering));
    if (C.iRollAmount != 0) {
        C.bRollingLeft = C.iRollAmount < 0;
        C.bRollingRight = C.iRollAmount > 0;
    }
    C.iPitchAmount = int32_t(std::lround(float(In.PointerY) * MouseSteering));
    if (C.iPitchAmount != 0) {
        C.bPitchingUp = C.iPitchAmount > 0;
        C.bPitchingDown = C.iPitchAmount < 0;
    }
    if (Held(ControlFire) && MayFire && PrimaryWeapon) PrimaryWeapon->Fire(this, _vecPosition, _vecHeading);
}

void tAirplaneActor::UpdateControls() {
    const tInputDevice* Input = Engine->Viewport->GetInputDevice();
    auto Down = [Input](uint8_t Key) { return Input && Input->Keys[Key]; };
    FlyFrom(LocalInput(), !Engine->EnginePaused);

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
    if (!Alive()) return;
    ProcTrace trace("tAirplaneActor.Update()");
    Age += DeltaSeconds;
    HitFlash = std::max(0.0f, HitFlash - DeltaSeconds);
    if (IsPlayer()) {
        UpdateControls();
        FlightStep(DeltaSeconds);
        UpdateChaseCamera(DeltaSeconds);
    } else if (Match->GetPilot(Pilot).Remote) {
        FlyFrom(Match->GetPilot(Pilot).RemoteInput, DeltaSeconds > 0);
        FlightStep(DeltaSeconds);
    } else {
        FlyAsComputer(DeltaSeconds);
    }
    KeepInsideMap();
    // The engine's hum goes where the aircraft goes.
    if (EngineSound) EngineSound->PlaceAt(_vecPosition);
    if (PrimaryWeapon) PrimaryWeapon->Update(DeltaSeconds);
}

void tAirplaneActor::FlyAsComputer(float DeltaSeconds) {
    static const TWorldGround Ground;
    TBotSituation S = SituationOf(*this);
    S.Ground = &Ground;
    S.MapSize = tMatch::MapSize;
    S.MuzzleSpeed = tWeapon::MuzzleSpeed;
    const TBotCommand Command = Match->Think(Pilot, S, DeltaSeconds);
    _ControlState = Command.Controls;
    if (Command.Fire && DeltaSeconds > 0 && PrimaryWeapon) PrimaryWeapon->Fire(this, _vecPosition, _vecHeading);
    FlightStep(DeltaSeconds);
}

// Far past the edge of the island the aircraft is swung round toward it, so
// nothing flies on over the empty sea.
void tAirplaneActor::KeepInsideMap() {
    const float Low = -EdgeTurnBeyond, High = tMatch::MapSize + EdgeTurnBeyond;
    const TVector3& P = _vecPosition;
    if (P.x >= Low && P.y >= Low && P.x <= High && P.y <= High) return;
    const TVector3 Outward = {P.x - tMatch::MapSize / 2, P.y - tMatch::MapSize / 2, 0};
    if (Dot(Outward, _vecHeading) <= 0) return;  // already on its way back
    _quatAttitude = QuatProduct(FromEuler(std::numbers::pi_v<float>, 0, 0), _quatAttitude);
    FlightStep(0);
}

void tAirplaneActor::TakeHit(int32_t Damage, int32_t Shooter, const ShortString& Gun) {
    if (!Alive() || Age < tMatch::SpawnProtection) return;
    Health = std::max(0, Health - Damage);
    HitFlash = HitFlashSeconds;
    if (!DamageSound) DamageSound = Engine->Audio->CreateSource(DamageSoundFile);
    DamageSound->PlaceAt(_vecPosition);
    DamageSound->Play(this);
    // The player feels a hit in the hands, harder the more it took.
    if (IsPlayer() && Engine->Viewport)
        Engine->Viewport->Rumble(std::min(1.0f, HitRumbleBase + float(Damage) / HitRumblePerHealth), HitRumbleSeconds);
    if (Match) Match->AircraftHit(Pilot, Shooter, Gun);
    if (Health == 0) {
        ShotDownBy = Shooter;
        ShotDownWith = Gun;
    }
}

void tAirplaneActor::UpdateChaseCamera(float DeltaSeconds) {
    const bool Following = CameraType == "Following";
    const bool Chasing = DeltaSeconds > 0 && (Following || CameraType == "Tracked");
    // No pointer over the flight; the arrow while the game stands still or
    // another camera looks on.
    if (tGUIManager* GUI = Engine->GUI) GUI->SetGameCursor(Chasing ? CFORM_NOCURSOR : CFORM_ARROW);
    if (!Chasing) return;
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
    if (Withdrawn) return Leave(false);
    if (Health == 0) {
        // Exploded in the air: gone at once.
        ShowExplosion();
        if (Match) Match->AircraftShotDown(Pilot, ShotDownBy, ShotDownWith);
        return Leave(true);
    }
    const bool WasFlying = !Crashed();
    tWorld* World = Engine->World;
    if (World->HasTerrain() &&
        World->GetTerrainForPoint(_vecPosition)->EstimateSphereCollision(_vecPosition, float(MeshSize) / 5.0f))
        --CrashedTrigger;
    if (_vecPosition.z < SeaLevel) --CrashedTrigger;
    // Logged and scored once, in the tick the aircraft comes down.
    if (WasFlying && Crashed()) {
        Logger->Log(ShortString(GetClass()->DeclaredName()) + " crashed at " + PositionText(_vecPosition));
        ShowCrashSite();
        if (Match) Match->AircraftCrashed(Pilot);
    }
    if (Crashed()) --CrashedTrigger;
    if (CrashedTrigger > 0 || Withdrawn) return Withdrawn ? Leave(false) : tMeshActor::FeedbackSignal();
    return Leave(true);
}

void tAirplaneActor::ShowExplosion() { ExplodeAircraft(_vecPosition); }

void tAirplaneActor::ShowCrashSite() { MarkCrashSite(_vecPosition); }

TFeedbackSignal tAirplaneActor::Leave(bool Lost) {
    Logger->Log(ShortString(GetClass()->DeclaredName()) + " of " + PilotName() + " leaves");
    // The match may have ended with this loss and withdrawn everyone: its
    // own countdown brings the player back.
    if (Lost && IsPlayer() && !Withdrawn) {
        Linker->InstantiateClassByName("tAnnouncer", tAnnouncer::LostSample);
        Linker->InstantiateClassByName("tLostTheMatchAnnouncer", "");
    }
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
