#include "libraries/math/plane.h"

TPlane::TPlane(double A, double B, double C, double D) : Equation{A, B, C, D}, InvEquation{-A, -B, -C, -D} {
    // p' = p - 2 (n.p + D) n / |n|², which also holds for a normal that is not
    // of unit length.
    MirrorMatrix = IdentityMatrix4;
    const double n[3] = {A, B, C};
    const double lengthSquared = A * A + B * B + C * C;
    if (lengthSquared == 0) return;
    const double k = 2 / lengthSquared;
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 3; ++row)
            MirrorMatrix.m[c * 4 + row] = static_cast<float>((row == c ? 1 : 0) - k * n[row] * n[c]);
    for (int row = 0; row < 3; ++row) MirrorMatrix.m[12 + row] = static_cast<float>(-k * D * n[row]);
}

void TPlane::InvertNormal() {
    for (int i = 0; i < 4; ++i) {
        Equation[i] = -Equation[i];
        InvEquation[i] = -InvEquation[i];
    }
}
