#include "mathcheck.h"

namespace {

TMatrix4 Translation(float x, float y, float z) {
    TMatrix4 m = IdentityMatrix4;
    MTranslateMatrixF(m, x, y, z);
    return m;
}

TMatrix4 RotationZ(TWordAngle a) {
    TMatrix4 m = IdentityMatrix4;
    MRotateMatrixZF(m, a);
    return m;
}

// Columns of unit length and mutually orthogonal.
void ExpectOrthonormal(const TMatrix4& m) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            TVector3 a{m[i * 4], m[i * 4 + 1], m[i * 4 + 2]}, b{m[j * 4], m[j * 4 + 1], m[j * 4 + 2]};
            EXPECT_NEAR(Dot(a, b), i == j ? 1.0f : 0.0f, 1e-5f) << "columns " << i << ", " << j;
        }
}

}  // namespace

TEST(Matrix, TranslationLivesInElements12To14) {
    TMatrix4 m = Translation(1, 2, 3);
    EXPECT_EQ(m[12], 1);
    EXPECT_EQ(m[13], 2);
    EXPECT_EQ(m[14], 3);
    EXPECT_EQ(m[3], 0);
    EXPECT_EQ(m[7], 0);
    EXPECT_EQ(m[11], 0);
    EXPECT_TRUE(VectorsNear(TransformPoint(m, {10, 20, 30}), {11, 22, 33}));
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {10, 20, 30}), {10, 20, 30}));
}

TEST(Matrix, ProductAppliesTheLeftOperandFirst) {
    const TMatrix4 move = Translation(1, 0, 0), turn = RotationZ(QuarterTurn);
    // Moved to (1, 0, 0) and then turned to (0, 1, 0) ...
    EXPECT_TRUE(VectorsNear(TransformPoint(move * turn, {0, 0, 0}), {0, 1, 0}));
    // ... or turned in place and then moved.
    EXPECT_TRUE(VectorsNear(TransformPoint(turn * move, {0, 0, 0}), {1, 0, 0}));

    // The same for general matrices, projective parts included: (A * B).v = B.(A.v).
    TMatrix4 a, b;
    for (int k = 0; k < 16; ++k) {
        a[k] = static_cast<float>((k * 7) % 5) - 2.0f;
        b[k] = static_cast<float>((k * 3) % 7) * 0.5f - 1.0f;
    }
    const TVector4 v{0.5f, -1.5f, 2, 1};
    EXPECT_TRUE(VectorsNear((a * b) * v, b * (a * v), 1e-4f));
    EXPECT_FALSE(VectorsNear((a * b) * v, a * (b * v), 1e-4f));
    EXPECT_TRUE(MatricesNear(a * IdentityMatrix4, a));
    EXPECT_TRUE(MatricesNear(IdentityMatrix4 * a, a));
    EXPECT_TRUE(MatricesNear(a * 2.0f * b, (a * b) * 2.0f));
}

TEST(Matrix, RotationTimesVectorReadsColumns) {
    TMatrix4 r = IdentityMatrix4;
    MRotateMatrixAxisF(r, 12000, 1, -2, 0.5f);
    MTranslateMatrixF(r, 4, 5, 6);
    const TVector4 secondColumnPlusTranslation{r[4] + r[12], r[5] + r[13], r[6] + r[14], r[7] + r[15]};
    EXPECT_TRUE(VectorsNear(r * TVector4{0, 1, 0, 1}, secondColumnPlusTranslation));
}

TEST(Matrix, AxisRotationsAreCounterClockwise) {
    struct Case {
        void (*rotate)(TMatrix4&, TWordAngle);
        TVector3 from, to;
    } cases[] = {
        {MRotateMatrixXF, {0, 1, 0}, {0, 0, 1}},  {MRotateMatrixXF, {0, 0, 1}, {0, -1, 0}},
        {MRotateMatrixYF, {0, 0, 1}, {1, 0, 0}},  {MRotateMatrixYF, {1, 0, 0}, {0, 0, -1}},
        {MRotateMatrixZF, {1, 0, 0}, {0, 1, 0}},  {MRotateMatrixZF, {0, 1, 0}, {-1, 0, 0}},
    };
    for (const Case& c : cases) {
        TMatrix4 m = IdentityMatrix4;
        c.rotate(m, QuarterTurn);
        EXPECT_TRUE(VectorsNear(TransformDirection(m, c.from), c.to));
        ExpectOrthonormal(m);
        // Word angles wrap: three quarters forward is one quarter back.
        TMatrix4 back = IdentityMatrix4;
        c.rotate(back, static_cast<TWordAngle>(-QuarterTurn));
        EXPECT_TRUE(VectorsNear(TransformDirection(back, c.to), c.from));
    }
}

TEST(Matrix, RotationsAndTranslationsApplyBeforeTheMatrix) {
    // M := M.Rx: a vector is turned about x first, then by M's own turn about z.
    TMatrix4 m = RotationZ(QuarterTurn);
    MRotateMatrixXF(m, QuarterTurn);
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {0, 1, 0}), {0, 0, 1}));
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {0, 0, 1}), {1, 0, 0}));

    // Translating a turned matrix moves along the turned axes, as glTranslate does.
    TMatrix4 t = RotationZ(QuarterTurn);
    MTranslateMatrixF(t, TVector3{1, 0, 0});
    EXPECT_TRUE(VectorsNear(TransformPoint(t, {0, 0, 0}), {0, 1, 0}));

    TMatrix4 a = Translation(5, 0, 0);
    MRotateMatrixAxisF(a, QuarterTurn, 0, 0, 1);
    EXPECT_TRUE(VectorsNear(TransformPoint(a, {1, 0, 0}), {5, 1, 0}));

    TMatrix4 s = Translation(1, 2, 3);
    MScaleMatrixF(s, 2, 3, 4);
    EXPECT_TRUE(VectorsNear(TransformPoint(s, {1, 1, 1}), {3, 5, 7}));
}

TEST(Matrix, ArbitraryAxisRotation) {
    // About a coordinate axis of any length it is the dedicated routine.
    for (TWordAngle angle : {TWordAngle(0), TWordAngle(1000), TWordAngle(QuarterTurn), TWordAngle(40000)}) {
        TMatrix4 general = IdentityMatrix4, dedicated = IdentityMatrix4;
        MRotateMatrixAxisV(general, angle, {0, 3, 0});
        MRotateMatrixYF(dedicated, angle);
        EXPECT_TRUE(MatricesNear(general, dedicated)) << "angle " << angle;
    }
    // A third of a turn about (1, 1, 1) cycles the axes; the axis stays put.
    TMatrix4 m = IdentityMatrix4;
    MRotateMatrixAxisF(m, static_cast<TWordAngle>(std::lround(65536.0 / 3)), 2, 2, 2);
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {1, 0, 0}), {0, 1, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {0, 1, 0}), {0, 0, 1}, 1e-4f));
    EXPECT_TRUE(VectorsNear(TransformDirection(m, {1, 1, 1}), {1, 1, 1}));
    ExpectOrthonormal(m);
    // No axis and no angle: nothing happens.
    TMatrix4 unchanged = Translation(1, 2, 3);
    MRotateMatrixAxisF(unchanged, 0, 0, 0, 0);
    EXPECT_TRUE(MatricesNear(unchanged, Translation(1, 2, 3), 0));
}

TEST(Matrix, InverseOfRotationAndTranslation) {
    TMatrix4 m = Translation(3, -4, 5);
    MRotateMatrixAxisF(m, 9000, 0.3f, -1, 2);
    MTranslateMatrixF(m, -1, 2, 7);
    MRotateMatrixXF(m, 50000);
    const TMatrix4 inverse = InverseMatrix4_TR(m);
    EXPECT_TRUE(MatricesNear(m * inverse, IdentityMatrix4));
    EXPECT_TRUE(MatricesNear(inverse * m, IdentityMatrix4));
    EXPECT_TRUE(VectorsNear(TransformPoint(inverse, TransformPoint(m, {1, 2, 3})), {1, 2, 3}, 1e-4f));
}

TEST(Matrix, ThreeAngleRotationFollowsTheCameraConvention) {
    // The camera's view: turned by (-VertAngle, Rotation, HorizAngle), then moved
    // by minus its position. It must look along (sin H, cos H, -cos V) (up to the
    // horizontal part's length sin V) and see its own position at the eye.
    const TVector3 position{64, 64, 32};
    for (int vert : {0x5600, 0x4000, 0x2000, 0x7000})
        for (int horiz : {0x1C00, 0, 0x9000}) {
            TMatrix4 view = IdentityMatrix4;
            MRotateMatrixXYZF(view, static_cast<TWordAngle>(-vert), 0, static_cast<TWordAngle>(horiz));
            MTranslateMatrixF(view, -position);
            const float sv = WordSin(vert), h = static_cast<float>(horiz * WordAngleUnit);
            const TVector3 expected{sv * std::sin(h), sv * std::cos(h), -WordCos(vert)};
            const TVector3 forward = TransformDirection(InverseMatrix4_TR(view), {0, 0, -1});
            EXPECT_TRUE(VectorsNear(forward, expected)) << vert << " " << horiz;
            EXPECT_TRUE(VectorsNear(TransformPoint(view, position), {0, 0, 0}, 1e-4f));
        }
    // Banking a level camera turns about its line of sight: the direction stays,
    // the up vector leans.
    TMatrix4 level = IdentityMatrix4, banked = IdentityMatrix4;
    MRotateMatrixXYZF(level, static_cast<TWordAngle>(-QuarterTurn), 0, 0x1C00);
    MRotateMatrixXYZF(banked, static_cast<TWordAngle>(-QuarterTurn), 4000, 0x1C00);
    const TMatrix4 levelToWorld = InverseMatrix4_TR(level), bankedToWorld = InverseMatrix4_TR(banked);
    EXPECT_TRUE(VectorsNear(TransformDirection(bankedToWorld, {0, 0, -1}), TransformDirection(levelToWorld, {0, 0, -1})));
    EXPECT_TRUE(VectorsNear(TransformDirection(levelToWorld, {0, 1, 0}), {0, 0, 1}));
    EXPECT_LT(TransformDirection(bankedToWorld, {0, 1, 0}).z, 0.95f);
}

TEST(Matrix, Projections) {
    // 90 degrees vertically, aspect 2: the frustum's top edge and the far
    // right corner land on the clip box.
    const TMatrix4 p = PerspectiveMatrix(90, 2, 0.4f, 200000);
    auto project = [&p](TVector3 eye) {
        TVector4 clip = p * TVector4{eye.x, eye.y, eye.z, 1};
        return Vector3(clip / clip.w);
    };
    EXPECT_TRUE(VectorsNear(project({0, 0, -0.4f}), {0, 0, -1}));
    EXPECT_TRUE(VectorsNear(project({0, 10, -10}), {0, 1, project({0, 10, -10}).z}));
    EXPECT_TRUE(VectorsNear(project({20, 0, -10}), {1, 0, project({20, 0, -10}).z}));
    EXPECT_NEAR(project({0, 0, -200000}).z, 1.0f, 1e-4f);

    // Pixel space: (0, 0) is the top-left corner and y grows downwards.
    const TMatrix4 o = OrthoMatrix2D(0, 640, 480, 0);
    EXPECT_TRUE(VectorsNear(TransformPoint(o, {0, 0, 0}), {-1, 1, 0}));
    EXPECT_TRUE(VectorsNear(TransformPoint(o, {640, 480, 0}), {1, -1, 0}));
    EXPECT_TRUE(VectorsNear(TransformPoint(o, {320, 240, 0}), {0, 0, 0}));
}
