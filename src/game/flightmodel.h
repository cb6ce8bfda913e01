#pragma once
// The aircraft's flight model: control inputs become roll, pitch and yaw
// rates and a throttle; the attitude is a quaternion integrated every step,
// and the aircraft moves along its heading at its speed. Kept apart from the
// actor so the numbers can be checked without a world, a window or a mesh.

#include <cstdint>

#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

// What the player asks for this tick: keys set the flags, mouse offsets the
// amounts (which override the keys' direction when they are not zero).
struct TAirplaneControlState {
    bool bRollingLeft = false, bRollingRight = false;
    bool bPitchingUp = false, bPitchingDown = false;
    bool bYawingLeft = false, bYawingRight = false;
    bool bThrottlingUp = false, bThrottlingDown = false;
    int32_t iRollAmount = 0, iPitchAmount = 0, iYawAmount = 0, iThrottleAmount = 0;
};

class TFlightModel {
public:
    static constexpr float StartSpeed = 20.0f;
    static constexpr float MaxSpeed = 60.0f;
    static constexpr float Throttle = 10.0f;        // units per second, per second
    static constexpr float RatePerAmount = 0.25f;   // radians per second per mouse unit
    static constexpr float YawRelaxation = 0.07f;   // of the yaw angle, per step
    static constexpr float RadiansToWordAngle = 10430.2192f;  // 65535 / 2 pi

    TFlightModel();

    // One flight step of DeltaSeconds: rates from the controls, attitude,
    // rotation, heading, speed and position. A paused step (0) neither turns
    // nor moves the aircraft.
    void FlightStep(float DeltaSeconds);

    TAirplaneControlState _ControlState;
    TVector3 _vecBaseHeading = {0, 1, 0};
    TMatrix4 _matRotation = IdentityMatrix4;
    TVector3 _vecPosition = {0, 0, 0};
    TVector3 _vecHeading = {0, 1, 0};
    float _rRollRate = 0, _rPitchRate = 0, _rYawRate = 0;
    TVector4 _quatAttitude = {0, 0, 0, 1};
    float _rSpeed = StartSpeed;
    float _rMaxSpeed = MaxSpeed;
    float _rAcceleration = 0;
    float _rDrag = 0.1f;  // kept for the model's data; the step applies no drag

private:
    void UpdateRates();
    void Turn(float DeltaSeconds);
    void Move(float DeltaSeconds);
};
