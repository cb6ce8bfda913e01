#pragma once
// Quaternions are TVector4 records (x, y, z, w) with the scalar part in w.
// Angles here are radians.

#include "libraries/math/vector.h"

// The rotation about z by Yaw, after the one about y by Pitch, after the one
// about x by Roll (q = qz(Yaw) . qy(Pitch) . qx(Roll)). FromEuler(0, 0, 0) is
// the identity (0, 0, 0, 1).
TVector4 FromEuler(float Yaw, float Pitch, float Roll);

// Reads angles back from a unit quaternion, named after the aircraft's own axes
// (forward along y, wings along x) rather than after FromEuler's arguments:
//   Roll  = arctan(2(xy + zw) / (x² - y² - z² + w²))   the turn about z,
//   Pitch = arctan(2(yz + xw) / (w² + z² - x² - y²))   the turn about x,
//   Yaw   = arcsin(-2(xz - yw))                        the turn about y.
// So ToEuler(FromEuler(a, b, c)) gives Yaw = b, Pitch = c, Roll = a for angles
// inside -pi/2 ... pi/2. The arctangents take the plain quotient (no quadrant
// correction); 0/0 reads as 0 and the arcsine argument is clamped to -1 ... 1,
// so a quaternion at the poles or slightly off unit length gives no NaN.
void ToEuler(const TVector4& Q, float& Yaw, float& Pitch, float& Roll);

// The Hamilton product A.B: the rotation B first, then A.
TVector4 QuatProduct(const TVector4& A, const TVector4& B);

// Angle = 2 arccos(w) in 0 ... 2pi; Axis = (x, y, z) / sin(Angle / 2), or
// (0, 0, 0) when that sine is within 1e-6 of zero (no rotation).
void ToAngleAxis(const TVector4& Q, TVector3& Axis, float& Angle);
