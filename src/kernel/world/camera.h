#pragma once
// The camera: a subsystem that becomes its world's camera when it is built
// (replacing, and disposing, the previous one). Concrete cameras turn position
// and target into the viewing transformation. The viewing direction is a
// direction in world space, not necessarily of unit length.

#include "libraries/classes/subsystem.h"
#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

class tCamera : public tSubSystem {
    Z_DECLARE_CLASS(tCamera, tSubSystem)
public:
    tCamera();
    ~tCamera() override;

    virtual TMatrix4 GetViewingTransformation() = 0;
    virtual TVector3 GetViewingDirection() = 0;
    virtual TVector3 GetCameraPosition() { return CameraPosition; }
    virtual TVector3 GetCameraTarget() { return CameraTarget; }
    virtual bool IsPositionChanged() { return PositionChanged; }
    virtual void SetCameraTarget(const TVector3& V);
    virtual void SetCameraPosition(const TVector3& V);
    virtual void SetViewingDirection(const TVector3& V) {}
    // Puts the engine's audio listener where this camera is, looking as it looks.
    void HandPoseToListener();

    bool PositionChanged = true;
    TVector3 CameraPosition;
    TVector3 CameraTarget;
};
