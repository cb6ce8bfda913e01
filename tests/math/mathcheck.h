#pragma once
// Approximate comparisons of the math records for the math tests.

#include <gtest/gtest.h>

#include <cmath>

#include "libraries/math/matrix.h"

constexpr double Pi = 3.14159265358979323846;
// Table-driven rotations are accurate to single precision.
constexpr float Tolerance = 1e-5f;

inline ::testing::AssertionResult VectorsNear(const TVector4& actual, const TVector4& expected,
                                              float tolerance = Tolerance) {
    if (std::fabs(actual.x - expected.x) <= tolerance && std::fabs(actual.y - expected.y) <= tolerance &&
        std::fabs(actual.z - expected.z) <= tolerance && std::fabs(actual.w - expected.w) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z << ", "
                                         << actual.w << ") differs from (" << expected.x << ", " << expected.y
                                         << ", " << expected.z << ", " << expected.w << ")";
}

inline ::testing::AssertionResult VectorsNear(const TVector3& actual, const TVector3& expected,
                                              float tolerance = Tolerance) {
    return VectorsNear(Vector4(actual), Vector4(expected), tolerance);
}

inline ::testing::AssertionResult MatricesNear(const TMatrix4& actual, const TMatrix4& expected,
                                               float tolerance = Tolerance) {
    for (int k = 0; k < 16; ++k)
        if (std::fabs(actual[k] - expected[k]) > tolerance)
            return ::testing::AssertionFailure() << "element " << k << " is " << actual[k] << ", expected "
                                                 << expected[k];
    return ::testing::AssertionSuccess();
}

// Where M takes the point p (w = 1).
inline TVector3 TransformPoint(const TMatrix4& M, const TVector3& p) { return Vector3(M * TVector4{p.x, p.y, p.z, 1}); }
// Where M turns the direction d (w = 0).
inline TVector3 TransformDirection(const TMatrix4& M, const TVector3& d) { return Vector3(M * Vector4(d)); }

constexpr TWordAngle QuarterTurn = 16384;
