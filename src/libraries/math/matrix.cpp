#include "libraries/math/matrix.h"

#include <cmath>
#include <numbers>

namespace {

// Columns a and b of M := c.a + s.b and c.b - s.a: the rotation in the plane of
// axes a and b that turns axis a towards axis b, applied before M.
void RotateColumns(TMatrix4& M, int a, int b, TWordAngle Angle) {
    const float c = WordCos(Angle), s = WordSin(Angle);
    for (int row = 0; row < 4; ++row) {
        const float ca = M.m[a * 4 + row], cb = M.m[b * 4 + row];
        M.m[a * 4 + row] = c * ca + s * cb;
        M.m[b * 4 + row] = c * cb - s * ca;
    }
}

constexpr float MinAxisLength = 1e-7f;

}  // namespace

void MScaleMatrixF(TMatrix4& M, float SX, float SY, float SZ) {
    const float scale[3] = {SX, SY, SZ};
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 4; ++row) M.m[c * 4 + row] *= scale[c];
}

void MRotateMatrixXF(TMatrix4& M, TWordAngle Angle) { RotateColumns(M, 1, 2, Angle); }
void MRotateMatrixYF(TMatrix4& M, TWordAngle Angle) { RotateColumns(M, 2, 0, Angle); }
void MRotateMatrixZF(TMatrix4& M, TWordAngle Angle) { RotateColumns(M, 0, 1, Angle); }

void MRotateMatrixXYZF(TMatrix4& M, TWordAngle AX, TWordAngle AY, TWordAngle AZ) {
    MRotateMatrixXF(M, AX);
    MRotateMatrixYF(M, AY);
    MRotateMatrixZF(M, AZ);
}

void MRotateMatrixAxisF(TMatrix4& M, TWordAngle Angle, float X, float Y, float Z) {
    const float c = WordCos(Angle), s = WordSin(Angle);
    float len = std::sqrt(X * X + Y * Y + Z * Z);
    if (len < MinAxisLength) len = 1;
    const float x = X / len, y = Y / len, z = Z / len;
    const float t = 1 - c;

    TMatrix4 R{};
    R.m[0] = x * x + (1 - x * x) * c;
    R.m[1] = x * y * t + z * s;
    R.m[2] = x * z * t - y * s;
    R.m[4] = x * y * t - z * s;
    R.m[5] = y * y + (1 - y * y) * c;
    R.m[6] = y * z * t + x * s;
    R.m[8] = x * z * t + y * s;
    R.m[9] = y * z * t - x * s;
    R.m[10] = z * z + (1 - z * z) * c;
    R.m[15] = 1;
    M = R * M;
}

TMatrix4 InverseMatrix4_TR(const TMatrix4& M) {
    TMatrix4 r = M;
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 3; ++c) r.m[c * 4 + row] = M.m[row * 4 + c];
    const TVector3 t{M.m[12], M.m[13], M.m[14]};
    for (int c = 0; c < 3; ++c) r.m[12 + c] = -Dot(t, {M.m[c * 4], M.m[c * 4 + 1], M.m[c * 4 + 2]});
    return r;
}

TMatrix4 PerspectiveMatrix(float FOVDegrees, float Aspect, float Near, float Far) {
    const double f = 1.0 / std::tan(FOVDegrees * std::numbers::pi / 360.0);
    TMatrix4 r{};
    r.m[0] = static_cast<float>(f / Aspect);
    r.m[5] = static_cast<float>(f);
    r.m[10] = (Far + Near) / (Near - Far);
    r.m[11] = -1;
    r.m[14] = 2 * Far * Near / (Near - Far);
    return r;
}

TMatrix4 OrthoMatrix2D(float Left, float Right, float Bottom, float Top) {
    TMatrix4 r = IdentityMatrix4;
    r.m[0] = 2 / (Right - Left);
    r.m[5] = 2 / (Top - Bottom);
    r.m[10] = -1;
    r.m[12] = -(Right + Left) / (Right - Left);
    r.m[13] = -(Top + Bottom) / (Top - Bottom);
    return r;
}
