#pragma once
// 4 x 4 matrices in the layout OpenGL takes (glLoadMatrixf): stored column by
// column, element k is row k mod 4 of column k div 4, the translation sits in
// elements 12, 13, 14. Matrices act on column vectors (M maps v to M.v).
//
// The product operator reads in the order things happen: A * B applies A first
// and then B, so A * B is the column-vector product B.A. The M...F routines
// modify M in place the way OpenGL's glTranslate / glRotate do: the new
// transform is applied to a vector before M.

#include "libraries/math/angles.h"
#include "libraries/math/vector.h"

struct TMatrix4 {
    float m[16];

    constexpr float& operator[](int k) { return m[k]; }
    constexpr float operator[](int k) const { return m[k]; }
    constexpr float At(int row, int column) const { return m[column * 4 + row]; }
    float* data() { return m; }
    const float* data() const { return m; }
};

static_assert(sizeof(TMatrix4) == 16 * sizeof(float));

inline constexpr TMatrix4 IdentityMatrix4 = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

constexpr bool operator==(const TMatrix4& a, const TMatrix4& b) {
    for (int k = 0; k < 16; ++k)
        if (a.m[k] != b.m[k]) return false;
    return true;
}

// M.v
constexpr TVector4 operator*(const TMatrix4& M, const TVector4& v) {
    return {v.x * M.m[0] + v.y * M.m[4] + v.z * M.m[8] + v.w * M.m[12],
            v.x * M.m[1] + v.y * M.m[5] + v.z * M.m[9] + v.w * M.m[13],
            v.x * M.m[2] + v.y * M.m[6] + v.z * M.m[10] + v.w * M.m[14],
            v.x * M.m[3] + v.y * M.m[7] + v.z * M.m[11] + v.w * M.m[15]};
}

// A first, then B: element (r, c) is the sum over k of B(r, k) . A(k, c).
constexpr TMatrix4 operator*(const TMatrix4& A, const TMatrix4& B) {
    TMatrix4 r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += B.At(row, k) * A.At(k, c);
            r.m[c * 4 + row] = sum;
        }
    return r;
}

// Every element scaled.
constexpr TMatrix4 operator*(const TMatrix4& M, float s) {
    TMatrix4 r = M;
    for (float& e : r.m) e *= s;
    return r;
}

// M := M.T(DX, DY, DZ): column 3 += DX.column 0 + DY.column 1 + DZ.column 2.
inline void MTranslateMatrixF(TMatrix4& M, float DX, float DY, float DZ) {
    for (int row = 0; row < 4; ++row) M.m[12 + row] += DX * M.m[row] + DY * M.m[4 + row] + DZ * M.m[8 + row];
}
inline void MTranslateMatrixF(TMatrix4& M, const TVector3& V) { MTranslateMatrixF(M, V.x, V.y, V.z); }

// M := M.S(SX, SY, SZ): the first three columns scaled.
void MScaleMatrixF(TMatrix4& M, float SX, float SY, float SZ);

// M := M.R: a counter-clockwise rotation (looking down the axis towards the
// origin) about x, y or z, by a word angle, applied before M.
void MRotateMatrixXF(TMatrix4& M, TWordAngle Angle);
void MRotateMatrixYF(TMatrix4& M, TWordAngle Angle);
void MRotateMatrixZF(TMatrix4& M, TWordAngle Angle);

// The three-angle rotation: M := M.Rx(AX).Ry(AY).Rz(AZ), so a vector is turned
// about z first, then y, then x. The camera builds its view with
// (-VertAngle, Rotation, HorizAngle): heading about the world's up axis, bank
// about the level forward axis, then the tilt away from looking straight down.
void MRotateMatrixXYZF(TMatrix4& M, TWordAngle AX, TWordAngle AY, TWordAngle AZ);

// M := M.R with R the counter-clockwise rotation by Angle about the axis
// (X, Y, Z), which need not be normalised; an axis shorter than 1e-7 is used as it is.
void MRotateMatrixAxisF(TMatrix4& M, TWordAngle Angle, float X, float Y, float Z);
inline void MRotateMatrixAxisV(TMatrix4& M, TWordAngle Angle, const TVector3& Axis) {
    MRotateMatrixAxisF(M, Angle, Axis.x, Axis.y, Axis.z);
}

// The inverse of a rotation-plus-translation matrix: the 3 x 3 block
// transposed, elements 3, 7, 11, 15 kept, the translation t turned into
// -(t . column i) for the first three columns.
TMatrix4 InverseMatrix4_TR(const TMatrix4& M);

// Perspective projection with a vertical field of view in degrees (as gluPerspective).
TMatrix4 PerspectiveMatrix(float FOVDegrees, float Aspect, float Near, float Far);
// Orthographic projection of the rectangle onto the screen, depth -1 ... 1 (as gluOrtho2D).
TMatrix4 OrthoMatrix2D(float Left, float Right, float Bottom, float Top);
