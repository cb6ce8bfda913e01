#include "mathcheck.h"

#include "libraries/math/plane.h"
#include "libraries/math/quaternion.h"

namespace {

TVector4 AxisQuaternion(TVector3 axis, double angle) {
    const float s = static_cast<float>(std::sin(angle / 2));
    return {axis.x * s, axis.y * s, axis.z * s, static_cast<float>(std::cos(angle / 2))};
}

struct TEuler {
    float Yaw, Pitch, Roll;
};

TEuler ReadEuler(const TVector4& q) {
    TEuler e{};
    ToEuler(q, e.Yaw, e.Pitch, e.Roll);
    return e;
}

}  // namespace

TEST(Quaternion, HamiltonProduct) {
    const TVector4 i{1, 0, 0, 0}, j{0, 1, 0, 0}, k{0, 0, 1, 0}, one{0, 0, 0, 1};
    EXPECT_TRUE(VectorsNear(QuatProduct(i, j), k, 0));
    EXPECT_TRUE(VectorsNear(QuatProduct(j, i), k * -1.0f, 0));
    EXPECT_TRUE(VectorsNear(QuatProduct(j, k), i, 0));
    EXPECT_TRUE(VectorsNear(QuatProduct(i, i), one * -1.0f, 0));
    const TVector4 q{0.1f, -0.7f, 0.2f, 0.5f};
    EXPECT_TRUE(VectorsNear(QuatProduct(q, one), q, 0));
    EXPECT_TRUE(VectorsNear(QuatProduct(one, q), q, 0));
    // Turns about one axis add up.
    EXPECT_TRUE(VectorsNear(QuatProduct(AxisQuaternion({0, 0, 1}, 0.3), AxisQuaternion({0, 0, 1}, 0.5)),
                            AxisQuaternion({0, 0, 1}, 0.8)));
}

TEST(Quaternion, FromEulerTurnsAboutZThenYThenX) {
    EXPECT_TRUE(VectorsNear(FromEuler(0, 0, 0), {0, 0, 0, 1}, 0));
    EXPECT_TRUE(VectorsNear(FromEuler(0.4f, 0, 0), AxisQuaternion({0, 0, 1}, 0.4)));
    EXPECT_TRUE(VectorsNear(FromEuler(0, 0.4f, 0), AxisQuaternion({0, 1, 0}, 0.4)));
    EXPECT_TRUE(VectorsNear(FromEuler(0, 0, 0.4f), AxisQuaternion({1, 0, 0}, 0.4)));
    const TVector4 composed = QuatProduct(QuatProduct(AxisQuaternion({0, 0, 1}, 0.7), AxisQuaternion({0, 1, 0}, -0.3)),
                                          AxisQuaternion({1, 0, 0}, 1.1));
    EXPECT_TRUE(VectorsNear(FromEuler(0.7f, -0.3f, 1.1f), composed));
}

TEST(Quaternion, ToEulerReadsTheAircraftAxes) {
    // ToEuler's Yaw is the turn about y, its Pitch about x and its Roll about z.
    const TEuler cases[] = {{0.3f, -0.2f, 0.1f}, {-1.2f, 0.9f, 0.5f}, {0.01f, 1.4f, -1.5f}, {0, 0, 0}};
    for (const TEuler& in : cases) {
        const TEuler out = ReadEuler(FromEuler(in.Yaw, in.Pitch, in.Roll));
        EXPECT_NEAR(out.Yaw, in.Pitch, 1e-5f);
        EXPECT_NEAR(out.Pitch, in.Roll, 1e-5f);
        EXPECT_NEAR(out.Roll, in.Yaw, 1e-5f);
    }
    // No quadrant correction: a turn past a right angle reads back folded.
    EXPECT_NEAR(ReadEuler(FromEuler(2.5f, 0, 0)).Roll, 2.5f - static_cast<float>(Pi), 1e-5f);
}

TEST(Quaternion, ToEulerStaysFiniteAtThePoles) {
    // Banked a right angle the other two angles are undefined (0/0); slightly
    // more than unit length pushes the arcsine past 1.
    for (TVector4 q : {FromEuler(0, static_cast<float>(Pi / 2), 0), FromEuler(0, static_cast<float>(-Pi / 2), 0),
                       FromEuler(0, static_cast<float>(Pi / 2), 0) * 1.001f}) {
        const TEuler e = ReadEuler(q);
        EXPECT_TRUE(std::isfinite(e.Yaw) && std::isfinite(e.Pitch) && std::isfinite(e.Roll));
        EXPECT_NEAR(std::fabs(e.Yaw), Pi / 2, 1e-3);
    }
}

TEST(Quaternion, ToAngleAxis) {
    TVector3 axis{9, 9, 9};
    float angle = -1;
    ToAngleAxis({0, 0, 0, 1}, axis, angle);
    EXPECT_EQ(angle, 0);
    EXPECT_TRUE(VectorsNear(axis, {0, 0, 0}, 0));

    ToAngleAxis(AxisQuaternion({0, 0, 1}, Pi / 2), axis, angle);
    EXPECT_NEAR(angle, Pi / 2, 1e-5);
    EXPECT_TRUE(VectorsNear(axis, {0, 0, 1}));

    ToAngleAxis({1, 0, 0, 0}, axis, angle);  // half a turn about x
    EXPECT_NEAR(angle, Pi, 1e-5);
    EXPECT_TRUE(VectorsNear(axis, {1, 0, 0}));

    ToAngleAxis({0, 0, 0, -1}, axis, angle);  // a full turn: no axis
    EXPECT_NEAR(angle, 2 * Pi, 1e-5);
    EXPECT_TRUE(VectorsNear(axis, {0, 0, 0}, 0));

    ToAngleAxis({0, 0, 0, 1.0000002f}, axis, angle);  // rounding past unit length
    EXPECT_EQ(angle, 0);
}

TEST(Quaternion, AttitudeTurnsTheAircraftHeading) {
    // The flight model's path: attitude -> angle and axis -> word-angle matrix
    // -> heading from the base heading (0, 1, 0).
    auto heading = [](const TVector4& attitude) {
        TVector3 axis;
        float angle;
        ToAngleAxis(attitude, axis, angle);
        TMatrix4 rotation = IdentityMatrix4;
        MRotateMatrixAxisV(rotation, static_cast<TWordAngle>(RadToWordAngle(angle)), axis);
        return TransformPoint(rotation, {0, 1, 0});
    };
    EXPECT_TRUE(VectorsNear(heading(FromEuler(0, 0, 0)), {0, 1, 0}));
    EXPECT_TRUE(VectorsNear(heading(FromEuler(static_cast<float>(Pi / 2), 0, 0)), {-1, 0, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(heading(FromEuler(0, 0, static_cast<float>(Pi / 2))), {0, 0, 1}, 1e-4f));
    // Rolling about the forward axis keeps the heading.
    EXPECT_TRUE(VectorsNear(heading(FromEuler(0, 1.0f, 0)), {0, 1, 0}, 1e-4f));
}

TEST(Plane, EquationsAndInvertedNormal) {
    TPlane water(0, 0, 1, -7);
    EXPECT_EQ(water.GetEquation()[2], 1.0);
    EXPECT_EQ(water.GetEquation()[3], -7.0);
    EXPECT_EQ(water.GetInvertedEquation()[2], -1.0);
    EXPECT_EQ(water.GetInvertedEquation()[3], 7.0);
    const TMatrix4 mirror = water.MirrorMatrix;
    water.InvertNormal();
    EXPECT_EQ(water.GetEquation()[3], 7.0);
    EXPECT_EQ(water.GetInvertedEquation()[3], -7.0);
    EXPECT_TRUE(MatricesNear(water.MirrorMatrix, mirror, 0));

    const TPlane fromVector(TVector4{1, 2, 3, 4});
    EXPECT_EQ(fromVector.GetEquation()[1], 2.0);
    EXPECT_EQ(fromVector.GetInvertedEquation()[0], -1.0);
    EXPECT_TRUE(MatricesNear(TPlane().MirrorMatrix, IdentityMatrix4, 0));
}

TEST(Plane, MirrorReflectsAboutThePlane) {
    const TPlane water(0, 0, 1, -7);
    const TMatrix4& m = water.MirrorMatrix;
    EXPECT_TRUE(VectorsNear(TransformPoint(m, {3, 4, 10}), {3, 4, 4}));
    EXPECT_TRUE(VectorsNear(TransformPoint(m, {-2, 5, 7}), {-2, 5, 7}));
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {0, 0, 1}), {0, 0, -1}));
    EXPECT_TRUE(MatricesNear(m * m, IdentityMatrix4));
    // The normal's length does not matter.
    EXPECT_TRUE(MatricesNear(TPlane(0, 0, 2, -14).MirrorMatrix, m));
    // A tilted plane through the origin, x + y = 0, swaps and negates x and y.
    EXPECT_TRUE(VectorsNear(TransformPoint(TPlane(1, 1, 0, 0).MirrorMatrix, {1, 0, 5}), {0, -1, 5}));
    // Off the origin: x = 2 takes x = 5 to x = -1.
    EXPECT_TRUE(VectorsNear(TransformPoint(TPlane(-1, 0, 0, 2).MirrorMatrix, {5, 1, 1}), {-1, 1, 1}));
}
