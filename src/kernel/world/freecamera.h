#pragma once
// The free camera: steered entirely through console variables bound to its
// fields (key bindings set the motion flags, mouse look sends "Add" commands,
// the chase camera writes position and direction) and the commands
// "StopCamera", "FOV", "ZoomIn" and "ZoomOut". Each tick integrates movement
// and angles, optionally turns towards the target and keeps the camera above
// the terrain. Angles are word angles: 65536 units per turn.
//
// Orientation: HorizAngle is the heading, clockwise from +y towards +x;
// VertAngle tilts the view from straight down (0) through level (16384) to
// straight up (32768); Rotation banks about the level forward axis.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/world/camera.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/varsmanager.h"

struct tMouseCursorInformation;

class tFreeCamera : public tCamera {
    Z_DECLARE_CLASS(tFreeCamera, tCamera)
public:
    static constexpr int32_t DefaultFOV = 70;
    static constexpr int32_t MinFOV = 1;
    static constexpr int32_t MaxFOV = 160;
    // A little past straight up, so the view can tip over the zenith.
    static constexpr int32_t MaxVertAngle = 34560;
    // Banking while turning in flight mode, and its return to level.
    static constexpr int32_t BankStep = 512;
    static constexpr int32_t BankReturnStep = 256;
    static constexpr int32_t MaxBank = 7680;
    // Word-angle units turned per pixel of mouse movement.
    static constexpr double MouseLookUnitsPerPixel = 0.05 * 1024;

    // Registers the variables and commands and applies the default setup.
    tFreeCamera();
    // Unregisters the commands and hands the variables back to the manager.
    ~tFreeCamera() override;

    // Position, target, angles, speeds and field of view of a fresh camera.
    void SetDefaultConfig();

    void Tick(float DeltaSeconds) override;
    // Shows that the camera is tracking its target.
    void RenderFrame() override;
    // Rotated by (-VertAngle, Rotation, HorizAngle), then moved by minus the position.
    TMatrix4 GetViewingTransformation() override;
    // The world direction the view matrix looks along (unit length).
    TVector3 GetViewingDirection() override;
    // Turns the camera so that it looks along V, keeping its bank unless V is
    // too steep for it.
    void SetViewingDirection(const TVector3& V) override;

    void StopCameraC(const ShortString& Args);
    void FOVC(const ShortString& Args);
    void ZoomInC(const ShortString& Args);
    void ZoomOutC(const ShortString& Args);

    TVector3 OldCameraPosition;
    int32_t OldVertAngle = 0, OldHorizAngle = 0, OldRotation = 0;
    bool TrackTarget = false;
    int32_t VertAngle = 0, HorizAngle = 0, Rotation = 0;
    int32_t FOV = DefaultFOV;
    bool LookUp = false, LookDown = false, LookLeft = false, LookRight = false;
    bool MoveUp = false, MoveDown = false, MoveLeft = false, MoveRight = false;
    bool RotateCamera = false, RaiseCamera = false, LeaveCamera = false;
    int32_t CameraDeltaAngle = 0;  // word-angle units per second
    float CameraSpeed = 0;         // world units per second
    bool FlightMode = false;
    TVector3 LockedDirection;
    TMatrix4 TransformMatrix = IdentityMatrix4;
    bool MouseLook = false;

private:
    // Which screen edges the cursor touched in the previous frame.
    enum tScreenEdge { EDGE_LEFT, EDGE_RIGHT, EDGE_TOP, EDGE_BOTTOM, EDGE_COUNT };

    void RegisterVariables();
    void RegisterCommands();
    void TrackInput();
    void TrackMouseLook(tMouseCursorInformation& Mouse);
    void TrackEdgeScrolling(const tMouseCursorInformation& Mouse);
    // Ends the motion that the screen edges started.
    void StopEdgeScrolling();
    // Steps 3 to 8 of the tick: keys to angles and position.
    void Steer(float Distance, int32_t Angle);
    void TurnTowardsTarget();
    void KeepAboveTerrain();
    // Clamped to MinFOV ... MaxFOV and passed to the render device.
    void ApplyFOV(int32_t NewFOV);
    void Zoom(const ShortString& Args, int32_t Sign, const char* Usage);

    bool AtEdge[EDGE_COUNT] = {};
    bool WasMouseLook = false;
    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
