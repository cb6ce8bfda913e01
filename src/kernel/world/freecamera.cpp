#include "kernel/world/freecamera.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tFreeCamera,
    .Operations = {{"Tick"}, {"RenderFrame"}, {"GetViewingTransformation"}, {"GetViewingDirection"},
                   {"SetViewingDirection"}})

namespace {

constexpr int32_t HalfTurn = WordAnglesPerTurn / 2;
constexpr TVector4 TrackingTextColor = {1, 0, 0, 1};
constexpr float TrackingTextX = 16, TrackingTextY = 16;
// Below these the target lies (nearly) straight above or below the camera and
// gives no usable heading or tilt.
constexpr float MinTrackingDY = 0.01f;
constexpr float MinTrackingOffset = 0.1f;
// A direction this close to vertical keeps the current heading.
constexpr float MinHorizontalLength = 1e-6f;

int32_t RadiansToWordAngle(double Radians) { return static_cast<int32_t>(std::lround(Radians / WordAngleUnit)); }
double WordAngleToRadians(int32_t Angle) { return Angle * WordAngleUnit; }
int32_t ReduceTo16Bits(int32_t Angle) { return Angle & (WordAnglesPerTurn - 1); }
// Angles set from the console may hold any 32-bit value: they wrap like the
// registers they model instead of overflowing.
void Turn(int32_t& Angle, int32_t Delta) {
    Angle = static_cast<int32_t>(static_cast<uint32_t>(Angle) + static_cast<uint32_t>(Delta));
}
void TurnBack(int32_t& Angle, int32_t Delta) {
    Angle = static_cast<int32_t>(static_cast<uint32_t>(Angle) - static_cast<uint32_t>(Delta));
}
TWordAngle Word(int32_t Angle) { return static_cast<TWordAngle>(Angle); }

}  // namespace

tFreeCamera::tFreeCamera() {
    ProcTrace trace("tFreeCamera.Init()");
    SetDefaultConfig();
    RegisterVariables();
    RegisterCommands();
}

tFreeCamera::~tFreeCamera() {
    ProcTrace trace("tFreeCamera.Done()");
}

void tFreeCamera::RegisterVariables() {
    EngineVars->RegisterVar("CameraX", CameraPosition.x, BoundFields);
    EngineVars->RegisterVar("CameraY", CameraPosition.y, BoundFields);
    EngineVars->RegisterVar("CameraZ", CameraPosition.z, BoundFields);
    EngineVars->RegisterVar("TargetX", CameraTarget.x, BoundFields);
    EngineVars->RegisterVar("TargetY", CameraTarget.y, BoundFields);
    EngineVars->RegisterVar("TargetZ", CameraTarget.z, BoundFields);
    EngineVars->RegisterVar("VertAngle", VertAngle, BoundFields);
    EngineVars->RegisterVar("HorizAngle", HorizAngle, BoundFields);
    EngineVars->RegisterVar("Rotation", Rotation, BoundFields);
    EngineVars->RegisterVar("LookUp", LookUp, BoundFields);
    EngineVars->RegisterVar("LookDown", LookDown, BoundFields);
    EngineVars->RegisterVar("LookLeft", LookLeft, BoundFields);
    EngineVars->RegisterVar("LookRight", LookRight, BoundFields);
    EngineVars->RegisterVar("MoveUp", MoveUp, BoundFields);
    EngineVars->RegisterVar("MoveDown", MoveDown, BoundFields);
    EngineVars->RegisterVar("MoveLeft", MoveLeft, BoundFields);
    EngineVars->RegisterVar("MoveRight", MoveRight, BoundFields);
    EngineVars->RegisterVar("RotateCamera", RotateCamera, BoundFields);
    EngineVars->RegisterVar("RaiseCamera", RaiseCamera, BoundFields);
    EngineVars->RegisterVar("LeaveCamera", LeaveCamera, BoundFields);
    EngineVars->RegisterVar("CameraDeltaAngle", CameraDeltaAngle, BoundFields);
    EngineVars->RegisterVar("CameraSpeed", CameraSpeed, BoundFields);
    EngineVars->RegisterVar("FlightMode", FlightMode, BoundFields);
    EngineVars->RegisterVar("MouseLook", MouseLook, BoundFields);
}

void tFreeCamera::RegisterCommands() {
    Console->RegisterCommand("StopCamera", ConsoleProc<&tFreeCamera::StopCameraC>(this), Commands);
    Console->RegisterCommand("FOV", ConsoleProc<&tFreeCamera::FOVC>(this), Commands);
    Console->RegisterCommand("ZoomIn", ConsoleProc<&tFreeCamera::ZoomInC>(this), Commands);
    Console->RegisterCommand("ZoomOut", ConsoleProc<&tFreeCamera::ZoomOutC>(this), Commands);
}

void tFreeCamera::SetDefaultConfig() {
    CameraPosition = {64, 64, 32};
    CameraTarget = {128, 128, 128};
    FOV = DefaultFOV;
    TrackTarget = false;
    VertAngle = 0x5600;
    HorizAngle = 0x1C00;
    Rotation = 0;
    FlightMode = true;
    CameraDeltaAngle = 0x10000;
    CameraSpeed = 50.0f;
    StopCameraC("");
    if (Engine->Renderer) Engine->Renderer->SetFOV(static_cast<float>(DefaultFOV));
}

// ---- Commands ---------------------------------------------------------------

void tFreeCamera::StopCameraC(const ShortString&) {
    LookUp = LookDown = LookLeft = LookRight = false;
    MoveUp = MoveDown = MoveLeft = MoveRight = false;
    RotateCamera = RaiseCamera = LeaveCamera = false;
    MouseLook = false;
}

void tFreeCamera::ApplyFOV(int32_t NewFOV) {
    FOV = std::clamp(NewFOV, MinFOV, MaxFOV);
    PositionChanged = true;
    if (Engine->Renderer) Engine->Renderer->SetFOV(static_cast<float>(FOV));
}

void tFreeCamera::FOVC(const ShortString& Args) {
    const ShortString Angle = GetToken(Args, 1);
    if (!IsCorrectInt(Angle)) {
        Console->DisplayInfoTip("Usage: FOV <angle>");
        return;
    }
    ApplyFOV(Str2Int(Angle));
}

void tFreeCamera::Zoom(const ShortString& Args, int32_t Sign, const char* Usage) {
    const ShortString Delta = GetToken(Args, 1);
    if (!IsCorrectInt(Delta)) {
        Console->DisplayInfoTip(Usage);
        return;
    }
    // In 64 bits: a delta near the integer limits must not overflow.
    const int64_t Wanted = FOV + Sign * static_cast<int64_t>(Str2Int(Delta));
    ApplyFOV(static_cast<int32_t>(std::clamp<int64_t>(Wanted, MinFOV, MaxFOV)));
    Console->Display("FOV=" + Int2Str(FOV));
}

void tFreeCamera::ZoomInC(const ShortString& Args) { Zoom(Args, -1, "Usage: ZoomIn <delta angle>"); }

void tFreeCamera::ZoomOutC(const ShortString& Args) { Zoom(Args, +1, "Usage: ZoomOut <delta angle>"); }

// ---- View ------------------------------------------------------------------

TMatrix4 tFreeCamera::GetViewingTransformation() {
    TransformMatrix = IdentityMatrix4;
    MRotateMatrixXYZF(TransformMatrix, Word(-ReduceTo16Bits(VertAngle)), Word(Rotation), Word(HorizAngle));
    MTranslateMatrixF(TransformMatrix, -CameraPosition);
    return TransformMatrix;
}

// The view looks along the eye's -z axis: the world direction is minus the
// third row of the rotation.
TVector3 tFreeCamera::GetViewingDirection() {
    const TMatrix4 M = GetViewingTransformation();
    return {-M.At(2, 0), -M.At(2, 1), -M.At(2, 2)};
}

// Before the heading turns it, the view direction of tilt V and bank R is
// (cos V sin R, sin V, -cos V cos R): the tilt follows from the height of the
// wanted direction, the heading from the angle between the two headings. A
// banked view cannot look steeper than cos R: such a direction levels the bank.
void tFreeCamera::SetViewingDirection(const TVector3& V) {
    const float Length = Len(V);
    if (Length <= MinNormalizableLength) return;
    const TVector3 D = V / Length;
    if (std::fabs(D.z) > std::cos(WordAngleToRadians(Rotation))) Rotation = 0;
    const double Bank = WordAngleToRadians(Rotation);
    const double CosTilt = std::clamp(-D.z / std::cos(Bank), -1.0, 1.0);
    const double Tilt = std::acos(CosTilt);
    VertAngle = RadiansToWordAngle(Tilt);
    if (std::hypot(D.x, D.y) > MinHorizontalLength) {
        const double Unturned = std::atan2(CosTilt * std::sin(Bank), std::sin(Tilt));
        HorizAngle = ReduceTo16Bits(RadiansToWordAngle(std::atan2(D.x, D.y) - Unturned));
    }
    PositionChanged = true;
}

// ---- Tick ------------------------------------------------------------------

void tFreeCamera::Tick(float DeltaSeconds) {
    TrackInput();
    PositionChanged = !(CameraPosition == OldCameraPosition) || VertAngle != OldVertAngle ||
                      HorizAngle != OldHorizAngle || Rotation != OldRotation;
    OldCameraPosition = CameraPosition;
    OldVertAngle = VertAngle;
    OldHorizAngle = HorizAngle;
    OldRotation = Rotation;

    // A paused engine ticks with 0: the camera still moves one frame's worth.
    if (DeltaSeconds == 0 && Engine->CurrentTickRate > 0) DeltaSeconds = 1.0f / Engine->CurrentTickRate;
    // The keys' motion belongs to the open GUI windows: the camera holds still.
    if (Engine->GUI && Engine->GUI->HoldsInput()) DeltaSeconds = 0;
    Steer(DeltaSeconds * CameraSpeed, static_cast<int32_t>(std::lround(DeltaSeconds * CameraDeltaAngle)));
    if (TrackTarget) TurnTowardsTarget();

    VertAngle = std::clamp(VertAngle, 0, MaxVertAngle);
    HorizAngle = ReduceTo16Bits(HorizAngle);
    if (PositionChanged) KeepAboveTerrain();
}

void tFreeCamera::Steer(float Distance, int32_t Angle) {
    const TWordAngle Heading = Word(HorizAngle);
    const float SinH = WordSin(Heading), CosH = WordCos(Heading);
    // The forward direction is held while the forward key is down.
    if (!MoveUp) LockedDirection = {SinH, CosH, 0};

    const bool Turning = LookLeft || LookRight;
    if (LookUp) Turn(VertAngle, Angle);
    if (LookDown) TurnBack(VertAngle, Angle);
    if (LookLeft) {
        TurnBack(HorizAngle, Angle);
        if (FlightMode && Rotation < MaxBank) Rotation += BankStep;
    }
    if (LookRight) {
        Turn(HorizAngle, Angle);
        if (FlightMode && Rotation > -MaxBank) Rotation -= BankStep;
    }

    if (MoveRight) {
        if (RotateCamera) Turn(HorizAngle, Angle);
        else CameraPosition += TVector3{Distance * CosH, -Distance * SinH, 0};
    }
    if (MoveLeft) {
        if (RotateCamera) TurnBack(HorizAngle, Angle);
        else CameraPosition -= TVector3{Distance * CosH, -Distance * SinH, 0};
    }
    const TVector3 Forward = TrackTarget ? LockedDirection : TVector3{SinH, CosH, 0};
    if (MoveUp) {
        if (RotateCamera) Turn(VertAngle, Angle);
        else CameraPosition += Forward * Distance;
    }
    if (MoveDown) {
        if (RotateCamera) TurnBack(VertAngle, Angle);
        else CameraPosition -= Forward * Distance;
    }
    if (RaiseCamera) CameraPosition.z += Distance;
    if (LeaveCamera) CameraPosition.z -= Distance;
    if (LookUp || LookDown || Turning || MoveRight || MoveLeft || MoveUp || MoveDown || RaiseCamera || LeaveCamera)
        PositionChanged = true;

    // The bank returns to level once the turn ends; while turning it holds
    // steady at its limit instead of swinging back and forth.
    if (FlightMode && !Turning) {
        if (Rotation > 0) Rotation -= BankReturnStep;
        else if (Rotation < 0) Rotation += BankReturnStep;
    }
}

void tFreeCamera::TurnTowardsTarget() {
    const TVector3 D = CameraTarget - CameraPosition;
    if (std::fabs(D.y) > MinTrackingDY) {
        HorizAngle = RadiansToWordAngle(std::atan(D.x / D.y)) - HalfTurn;
        if (D.y > 0) HorizAngle += HalfTurn;
    }
    if (std::fabs(D.x) > MinTrackingOffset && std::fabs(D.y) > MinTrackingOffset)
        VertAngle = HalfTurn - RadiansToWordAngle(std::acos(std::clamp(Normalize(D).z, -1.0f, 1.0f)));
    PositionChanged = true;
}

// A level without terrain has nothing to keep the camera above.
void tFreeCamera::KeepAboveTerrain() {
    tWorld* World = Engine->World;
    if (!World || !World->HasTerrain()) return;
    tTerrain* Terrain = World->GetTerrainForPoint(CameraPosition);
    const float Lowest = Terrain->GetLowestCameraHeight(static_cast<int32_t>(std::lround(CameraPosition.x)),
                                                        static_cast<int32_t>(std::lround(CameraPosition.y)));
    if (Lowest > CameraPosition.z) CameraPosition.z = Lowest;
}

void tFreeCamera::RenderFrame() {
    if (TrackTarget && Engine->Renderer)
        Engine->Renderer->AddTextString(TrackingTextX, TrackingTextY, "Tracking target...", &TrackingTextColor);
}

// ---- Input -----------------------------------------------------------------

// The mouse steers only while the console is closed, no GUI window holds the
// input and the window exists. Mouse look hides the GUI cursor; leaving it
// shows the arrow for edge scrolling.
void tFreeCamera::TrackInput() {
    tGUIManager* GUI = Engine->GUI;
    if (GUI && GUI->HoldsInput()) {
        StopEdgeScrolling();
        return;
    }
    if (!Console || Console->LocalHUDVisible || !Engine->Viewport) return;
    tMouseCursorInformation& Mouse = *Engine->Viewport->GetMouseCursorInfo();
    if (Mouse.HalfWidth <= 0 || Mouse.HalfHeight <= 0) return;
    if (GUI && MouseLook) GUI->SetGameCursor(CFORM_NOCURSOR);
    else if (GUI && WasMouseLook) GUI->SetGameCursor(CFORM_ARROW);
    WasMouseLook = MouseLook;
    if (MouseLook) TrackMouseLook(Mouse);
    else TrackEdgeScrolling(Mouse);
}

void tFreeCamera::StopEdgeScrolling() {
    static constexpr const char* StopLines[EDGE_COUNT] = {"Set MoveLeft False", "Set MoveRight False",
                                                          "Set MoveUp False", "Set MoveDown False"};
    for (int Edge = 0; Edge < EDGE_COUNT; ++Edge) {
        if (AtEdge[Edge]) Console->SendCommand(StopLines[Edge], true);
        AtEdge[Edge] = false;
    }
}

void tFreeCamera::TrackMouseLook(tMouseCursorInformation& Mouse) {
    Engine->Viewport->CenterMouse();
    // Edge scrolling in progress stops when the mouse takes over.
    StopEdgeScrolling();
    if (!Mouse.MouseMoved) return;
    Console->SendCommand("Add HorizAngle " + Int2Str(std::lround(Mouse.MouseX * MouseLookUnitsPerPixel)), true);
    Console->SendCommand("Add VertAngle " + Int2Str(std::lround(Mouse.CenterOffsY * MouseLookUnitsPerPixel)), true);
}

void tFreeCamera::TrackEdgeScrolling(const tMouseCursorInformation& Mouse) {
    static constexpr const char* Flags[EDGE_COUNT] = {"MoveLeft", "MoveRight", "MoveUp", "MoveDown"};
    const bool Now[EDGE_COUNT] = {Mouse.MouseX <= -Mouse.HalfWidth, Mouse.MouseX >= Mouse.HalfWidth - 1,
                                  Mouse.MouseY <= -Mouse.HalfHeight, Mouse.MouseY >= Mouse.HalfHeight - 1};
    for (int Edge = 0; Edge < EDGE_COUNT; ++Edge) {
        if (Now[Edge]) Console->SendCommand(ShortString("Set ") + Flags[Edge] + " True", true);
        else if (AtEdge[Edge]) Console->SendCommand(ShortString("Set ") + Flags[Edge] + " False", true);
        AtEdge[Edge] = Now[Edge];
    }
}
