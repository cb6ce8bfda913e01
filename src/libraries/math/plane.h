#pragma once
// A plane A.x + B.y + C.z + D = 0, kept in double precision in the form the
// render device's clip planes take, with its negation and the reflection
// about it (for mirrored rendering, e.g. below the water line z = 7).

#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

struct TPlane {
    double Equation[4];
    double InvEquation[4];  // Equation negated: the same plane facing the other way
    TMatrix4 MirrorMatrix;  // reflection about the plane

    // The degenerate plane (0, 0, 0, 0); its mirror is the identity.
    TPlane() : TPlane(0, 0, 0, 0) {}
    TPlane(double A, double B, double C, double D);
    explicit TPlane(const TVector4& V) : TPlane(V.x, V.y, V.z, V.w) {}

    const double* GetEquation() const { return Equation; }
    const double* GetInvertedEquation() const { return InvEquation; }
    // Turns the plane to face the other way; the mirror stays the same.
    void InvertNormal();
};
