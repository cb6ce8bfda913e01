// The generic math server: eigenvectors by Jacobi rotations, closest points of
// two lines, spherical to Cartesian coordinates.

#include <gtest/gtest.h>

#include "common/testenv.h"
#include "libraries/math/mathserver.h"
#include "mathcheck.h"

namespace {

class MathServerTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Server = NewObject<tGenericMathServer>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Server);
        EngineTest::TearDown();
    }
    tGenericMathServer* Server = nullptr;
};

}  // namespace

TEST_F(MathServerTest, EigenvectorsOfSymmetricMatrices) {
    TVector3 V1, V2, V3;
    const TMatrix3 Diagonal = {{4, 0, 0}, {0, 2, 0}, {0, 0, 9}};
    Server->GetEigenVectors_Symm(Diagonal, V1, V2, V3);
    EXPECT_TRUE(VectorsNear(V1, {1, 0, 0}));
    EXPECT_TRUE(VectorsNear(V2, {0, 1, 0}));
    EXPECT_TRUE(VectorsNear(V3, {0, 0, 1}));

    const TMatrix3 OnePair = {{2, 1, 0}, {1, 2, 0}, {0, 0, 3}};
    Server->GetEigenVectors_Symm(OnePair, V1, V2, V3);
    EXPECT_TRUE(VectorsNear(V1, {0.7071f, -0.7071f, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(V2, {0.7071f, 0.7071f, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(V3, {0, 0, 1}));

    // A full matrix: each vector satisfies M v = lambda v.
    const TMatrix3 Full = {{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 5}};
    Server->GetEigenVectors_Symm(Full, V1, V2, V3);
    for (const TVector3& V : {V1, V2, V3}) {
        const TVector3 MV = {Full[0][0] * V.x + Full[0][1] * V.y + Full[0][2] * V.z,
                             Full[1][0] * V.x + Full[1][1] * V.y + Full[1][2] * V.z,
                             Full[2][0] * V.x + Full[2][1] * V.y + Full[2][2] * V.z};
        const float Lambda = Dot(MV, V);
        EXPECT_TRUE(VectorsNear(MV, V * Lambda, 1e-4f));
        EXPECT_NEAR(Dot(V, V), 1.0f, 1e-5f);
    }
}

TEST_F(MathServerTest, ClosestPointsOfTwoLines) {
    float T1 = -1, T2 = -1;
    // The x axis and a line parallel to y through (3, 0, 2): closest at x = 3.
    Server->GetClosestPointsOnLines({0, 0, 0}, {3, 5, 2}, {1, 0, 0}, {0, 1, 0}, T1, T2);
    EXPECT_NEAR(T1, 3.0f, 1e-5f);
    EXPECT_NEAR(T2, -5.0f, 1e-5f);

    // Parallel lines: T2 is 0 and T1 projects the second point on the first line.
    Server->GetClosestPointsOnLines({0, 0, 0}, {4, 1, 0}, {2, 0, 0}, {1, 0, 0}, T1, T2);
    EXPECT_NEAR(T1, 2.0f, 1e-5f);
    EXPECT_EQ(T2, 0.0f);

    // A zero direction is no line: no division by zero.
    Server->GetClosestPointsOnLines({0, 0, 0}, {4, 1, 0}, {0, 0, 0}, {0, 0, 0}, T1, T2);
    EXPECT_EQ(T1, 0.0f);
    EXPECT_EQ(T2, 0.0f);
}

TEST_F(MathServerTest, SphericalToOrthoUsesDegreesAndDoesNotScaleByTheElevation) {
    EXPECT_TRUE(VectorsNear(Server->SphericalToOrtho(2, 90, 30), {0, 2, 1}));
    EXPECT_TRUE(VectorsNear(Server->SphericalToOrtho(10, 180, 90), {-10, 0, 10}, 1e-4f));
}
