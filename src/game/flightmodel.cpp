#include "game/flightmodel.h"

#include <algorithm>
#include <cmath>

#include "libraries/math/angles.h"
#include "libraries/math/quaternion.h"

TFlightModel::TFlightModel() { _quatAttitude = FromEuler(0, 0, 0); }

void TFlightModel::FlightStep(float DeltaSeconds) {
    UpdateRates();
    Turn(DeltaSeconds);
    Move(DeltaSeconds);
}

void TFlightModel::UpdateRates() {
    const TAirplaneControlState& C = _ControlState;
    // A flag held with no amount keeps the previous rate.
    if (C.bRollingLeft || C.bRollingRight) {
        if (C.iRollAmount != 0) _rRollRate = float(C.iRollAmount) * RatePerAmount;
    } else {
        _rRollRate = 0;
    }
    if (C.bPitchingUp || C.bPitchingDown) {
        if (C.iPitchAmount != 0) _rPitchRate = -float(C.iPitchAmount) * RatePerAmount;
    } else {
        _rPitchRate = 0;
    }
    if (C.bYawingLeft || C.bYawingRight)
        _rYawRate = C.iYawAmount != 0 ? float(C.iYawAmount) : float(C.bYawingLeft) - float(C.bYawingRight);
    else
        _rYawRate = 0;
    if (C.bThrottlingUp || C.bThrottlingDown)
        _rAcceleration = C.bThrottlingUp ? Throttle : -Throttle;
    else
        _rAcceleration = 0;
}

void TFlightModel::Turn(float DeltaSeconds) {
    float Yaw = 0, Pitch = 0, Roll = 0;
    ToEuler(_quatAttitude, Yaw, Pitch, Roll);
    // The yaw relaxes back towards straight ahead, but only while time runs.
    const float Relax = DeltaSeconds > 0 ? YawRelaxation * Yaw : 0.0f;
    const TVector4 Step = FromEuler(DeltaSeconds * _rYawRate - Relax, DeltaSeconds * _rRollRate,
                                    -DeltaSeconds * _rPitchRate);
    _quatAttitude = QuatProduct(_quatAttitude, Step);

    TVector3 Axis;
    float Angle = 0;
    ToAngleAxis(_quatAttitude, Axis, Angle);
    _matRotation = IdentityMatrix4;
    MRotateMatrixAxisV(_matRotation, TWordAngle(std::lround(Angle * RadiansToWordAngle)), Axis);
    _vecHeading = Vector3(_matRotation * TVector4{_vecBaseHeading.x, _vecBaseHeading.y, _vecBaseHeading.z, 1});
}

void TFlightModel::Move(float DeltaSeconds) {
    _rSpeed = std::clamp(_rSpeed + DeltaSeconds * _rAcceleration, 0.0f, _rMaxSpeed);
    _vecPosition += _vecHeading * (DeltaSeconds * _rSpeed);
}
