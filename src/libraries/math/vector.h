#pragma once
// The small vector records the whole engine passes around. World convention:
// z is up (altitudes, the water level and gravity use z). TVector4 also holds
// quaternions (scalar part last, in w) and colours (r, g, b, a).
// Plain values without padding, so arrays of them go to OpenGL as they are.

#include <cmath>

struct TVector2 {
    float x = 0, y = 0;
};

struct TVector3 {
    float x = 0, y = 0, z = 0;
};

struct TVector4 {
    float x = 0, y = 0, z = 0, w = 0;
};

static_assert(sizeof(TVector2) == 2 * sizeof(float));
static_assert(sizeof(TVector3) == 3 * sizeof(float));
static_assert(sizeof(TVector4) == 4 * sizeof(float));

// Below this length a vector has no usable direction and Normalize leaves it alone.
constexpr float MinNormalizableLength = 0.0001f;

constexpr TVector3 Vector3(float x, float y, float z) { return {x, y, z}; }
constexpr TVector3 Vector3(const TVector4& v) { return {v.x, v.y, v.z}; }  // drops w
constexpr TVector4 Vector4(float x, float y, float z, float w) { return {x, y, z, w}; }
constexpr TVector4 Vector4(const TVector3& v) { return {v.x, v.y, v.z, 0}; }

// ---- TVector2 --------------------------------------------------------------

constexpr bool operator==(const TVector2& a, const TVector2& b) { return a.x == b.x && a.y == b.y; }
constexpr TVector2 operator+(const TVector2& a, const TVector2& b) { return {a.x + b.x, a.y + b.y}; }
constexpr TVector2 operator-(const TVector2& a, const TVector2& b) { return {a.x - b.x, a.y - b.y}; }
constexpr TVector2 operator*(const TVector2& a, float s) { return {a.x * s, a.y * s}; }
constexpr TVector2 operator/(const TVector2& a, float s) { return {a.x / s, a.y / s}; }

// ---- TVector3 --------------------------------------------------------------

constexpr bool operator==(const TVector3& a, const TVector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
constexpr TVector3 operator+(const TVector3& a, const TVector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr TVector3 operator-(const TVector3& a, const TVector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr TVector3 operator-(const TVector3& a) { return {-a.x, -a.y, -a.z}; }
constexpr TVector3 operator*(const TVector3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
constexpr TVector3 operator*(float s, const TVector3& a) { return a * s; }
constexpr TVector3 operator/(const TVector3& a, float s) { return {a.x / s, a.y / s, a.z / s}; }
constexpr TVector3& operator+=(TVector3& a, const TVector3& b) { return a = a + b; }
constexpr TVector3& operator-=(TVector3& a, const TVector3& b) { return a = a - b; }
constexpr TVector3& operator*=(TVector3& a, float s) { return a = a * s; }

constexpr float Dot(const TVector3& a, const TVector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Right-handed: Cross(x axis, y axis) is the z axis.
constexpr TVector3 Cross(const TVector3& a, const TVector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Len(const TVector3& v) { return std::sqrt(Dot(v, v)); }

// v divided by its length; a vector of length at most MinNormalizableLength
// comes back unchanged.
inline TVector3 Normalize(const TVector3& v) {
    float len = Len(v);
    return len > MinNormalizableLength ? v / len : v;
}

// A vector orthogonal to v (not normalised). Zero when v is parallel to
// (1, 2, 3); callers use it on directions where that does not occur.
inline TVector3 GetOrthogonalVector(const TVector3& v) {
    TVector3 n = Normalize(v);
    return Cross(n, n + TVector3{1, 2, 3});
}

// ---- TVector4 --------------------------------------------------------------

constexpr bool operator==(const TVector4& a, const TVector4& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
constexpr TVector4 operator+(const TVector4& a, const TVector4& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
constexpr TVector4 operator-(const TVector4& a, const TVector4& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}
constexpr TVector4 operator*(const TVector4& a, float s) { return {a.x * s, a.y * s, a.z * s, a.w * s}; }
constexpr TVector4 operator/(const TVector4& a, float s) { return {a.x / s, a.y / s, a.z / s, a.w / s}; }
