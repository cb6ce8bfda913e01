#include "libraries/math/quaternion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float MinAxisSine = 1e-6f;

// arctan of the plain quotient; 0/0 (a pole, where the angle is undefined) is 0.
float ArcTanOfQuotient(float num, float den) {
    if (den == 0 && num == 0) return 0;
    return std::atan(num / den);  // a zero denominator gives +-pi/2
}

}  // namespace

TVector4 FromEuler(float Yaw, float Pitch, float Roll) {
    const float cy = std::cos(Yaw / 2), sy = std::sin(Yaw / 2);
    const float cp = std::cos(Pitch / 2), sp = std::sin(Pitch / 2);
    const float cr = std::cos(Roll / 2), sr = std::sin(Roll / 2);
    return {cy * cp * sr - sy * sp * cr, cy * sp * cr + sy * cp * sr, sy * cp * cr - cy * sp * sr,
            cy * cp * cr + sy * sp * sr};
}

void ToEuler(const TVector4& Q, float& Yaw, float& Pitch, float& Roll) {
    const float x = Q.x, y = Q.y, z = Q.z, w = Q.w;
    Roll = ArcTanOfQuotient(2 * (x * y + z * w), x * x - y * y - z * z + w * w);
    Pitch = ArcTanOfQuotient(2 * (y * z + x * w), w * w + z * z - x * x - y * y);
    Yaw = std::asin(std::clamp(-2 * (x * z - y * w), -1.0f, 1.0f));
}

TVector4 QuatProduct(const TVector4& A, const TVector4& B) {
    return {A.w * B.x + A.x * B.w + A.y * B.z - A.z * B.y, A.w * B.y - A.x * B.z + A.y * B.w + A.z * B.x,
            A.w * B.z + A.x * B.y - A.y * B.x + A.z * B.w, A.w * B.w - A.x * B.x - A.y * B.y - A.z * B.z};
}

void ToAngleAxis(const TVector4& Q, TVector3& Axis, float& Angle) {
    const float h = std::acos(std::clamp(Q.w, -1.0f, 1.0f));
    Angle = 2 * h;
    const float s = std::sin(h);
    if (s > -MinAxisSine && s < MinAxisSine)
        Axis = {0, 0, 0};
    else
        Axis = TVector3{Q.x, Q.y, Q.z} / s;
}
