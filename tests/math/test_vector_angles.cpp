#include "mathcheck.h"

namespace {
// Read while this file's static objects are built, before main: the tables
// must already be filled then.
const float SineOfQuarterTurnAtStartUp = WordSin(QuarterTurn);
}  // namespace

TEST(Vector, CrossProductIsRightHanded) {
    EXPECT_TRUE(VectorsNear(Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}, 0));
    EXPECT_TRUE(VectorsNear(Cross({0, 1, 0}, {0, 0, 1}), {1, 0, 0}, 0));
    EXPECT_TRUE(VectorsNear(Cross({0, 0, 1}, {1, 0, 0}), {0, 1, 0}, 0));
    const TVector3 a{1, -2, 3}, b{4, 0.5f, -1};
    EXPECT_TRUE(VectorsNear(Cross(b, a), -Cross(a, b), 0));
    EXPECT_NEAR(Dot(Cross(a, b), a), 0.0f, 1e-5f);
    EXPECT_NEAR(Dot(Cross(a, b), b), 0.0f, 1e-5f);
    EXPECT_FLOAT_EQ(Len({3, 4, 12}), 13.0f);
}

TEST(Vector, NormalizeLeavesVectorsWithoutDirectionAlone) {
    EXPECT_TRUE(VectorsNear(Normalize({3, 4, 0}), {0.6f, 0.8f, 0}));
    EXPECT_TRUE(VectorsNear(Normalize({0, 0, -0.002f}), {0, 0, -1}));
    EXPECT_TRUE(VectorsNear(Normalize({0, 0, 0}), {0, 0, 0}, 0));
    EXPECT_TRUE(VectorsNear(Normalize({0.00005f, 0.00005f, 0}), {0.00005f, 0.00005f, 0}, 0));
}

TEST(Vector, OrthogonalVector) {
    for (TVector3 v : {TVector3{1, 0, 0}, TVector3{0, 0, 5}, TVector3{-3, 1, 0.5f}, TVector3{0, 1, 0}}) {
        const TVector3 o = GetOrthogonalVector(v);
        EXPECT_GT(Len(o), 0.1f);
        EXPECT_NEAR(Dot(o, v), 0.0f, 1e-5f);
    }
    // Parallel to (1, 2, 3) there is nothing to cross with.
    EXPECT_TRUE(VectorsNear(GetOrthogonalVector({1, 2, 3}), {0, 0, 0}));
}

TEST(Vector, Conversions) {
    EXPECT_TRUE(VectorsNear(Vector4(Vector3(1, 2, 3)), {1, 2, 3, 0}, 0));
    EXPECT_TRUE(VectorsNear(Vector3(Vector4(1, 2, 3, 4)), {1, 2, 3}, 0));
    EXPECT_TRUE(VectorsNear(Vector3(1, 2, 3) * 2.0f - TVector3{1, 1, 1}, {1, 3, 5}, 0));
}

TEST(WordAngles, TablesHoldSinesAndCosinesOfTheWordAngle) {
    EXPECT_EQ(SineOfQuarterTurnAtStartUp, 1.0f);
    EXPECT_EQ(SinTable[0], 0.0f);
    EXPECT_EQ(CosTable[0], 1.0f);
    EXPECT_FLOAT_EQ(SinTable[8192], std::sqrt(0.5f));
    EXPECT_FLOAT_EQ(CosTable[8192], std::sqrt(0.5f));
    EXPECT_EQ(CosTable[32768], -1.0f);
    EXPECT_EQ(SinTable[49152], -1.0f);
    EXPECT_FLOAT_EQ(SinTable[1], static_cast<float>(std::sin(Pi / 32768)));
    // Cosine leads sine by a quarter turn over the whole table, and angles wrap.
    for (int i = 0; i < WordAnglesPerTurn; i += 97) {
        EXPECT_NEAR(CosTable[i], SinTable[(i + 16384) & 0xFFFF], 1e-6f) << i;
        EXPECT_NEAR(SinTable[i] * SinTable[i] + CosTable[i] * CosTable[i], 1.0f, 1e-6f) << i;
    }
    EXPECT_EQ(WordSin(static_cast<TWordAngle>(-QuarterTurn)), -1.0f);
}

TEST(WordAngles, ArcSineTableCoversMinusOneToOne) {
    EXPECT_FLOAT_EQ(ArcSinTable[0], static_cast<float>(-Pi / 2));
    EXPECT_FLOAT_EQ(ArcSinTable[16384], static_cast<float>(-Pi / 6));
    EXPECT_EQ(ArcSinTable[32768], 0.0f);
    EXPECT_FLOAT_EQ(ArcSinTable[49152], static_cast<float>(Pi / 6));
    EXPECT_FLOAT_EQ(ArcSinTable[ArcSinTableSize - 1], static_cast<float>(Pi / 2));
}

TEST(WordAngles, RadiansConvertWith65535UnitsPerTurn) {
    EXPECT_EQ(RadToWordAngle(0), 0);
    EXPECT_EQ(RadToWordAngle(1), 10430);
    EXPECT_EQ(RadToWordAngle(Pi / 2), 16384);
    EXPECT_EQ(RadToWordAngle(-Pi / 2), -16384);
    EXPECT_EQ(RadToWordAngle(2 * Pi), 65535);
    EXPECT_EQ(RadToWordAngle(4 * Pi), 131070);
}
