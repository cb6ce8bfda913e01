// The frustum culler's classifications against a 90-degree perspective.

#include <gtest/gtest.h>

#include <cmath>

#include "kernel/renderer/frustum.h"

namespace {

// Looking down -z with a square 90-degree view: the side planes are x = +-z
// and y = +-z, near 1, far 100.
class FrustumTest : public ::testing::Test {
protected:
    void SetUp() override { Culler.ExtractFrustum(IdentityMatrix4, PerspectiveMatrix(90, 1, 1, 100)); }

    static TBoundingBox Box(TVector3 Min, TVector3 Max) {
        TBoundingBox B;
        B.Min = Min;
        B.Max = Max;
        return B;
    }
    static TBoundingSphere Sphere(TVector3 Centre, float Radius) {
        TBoundingSphere S;
        S.Center = Centre;
        S.Radius = Radius;
        return S;
    }

    tFrustumCuller Culler;
};

}  // namespace

TEST_F(FrustumTest, PlanesAreNormalisedAndFaceIntoTheView) {
    for (int P = 0; P < 6; ++P) {
        const TVector4& F = Culler.Frustum[P];
        EXPECT_NEAR(std::sqrt(F.x * F.x + F.y * F.y + F.z * F.z), 1.0f, 1e-5f) << P;
        // The point straight ahead in the middle of the volume is inside every plane.
        EXPECT_GT(F.x * 0 + F.y * 0 + F.z * -50 + F.w, 0) << P;
    }
}

TEST_F(FrustumTest, BoxesCountAsInsideWhenAnyCornerIsWithinTheSidePlanes) {
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-1, -1, -11}, {1, 1, -9})), INSIDE_FRUSTUM);
    // Beyond the far plane but between the sides: near and far are not tested.
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-1, -1, -210}, {1, 1, -190})), INSIDE_FRUSTUM);
    // Straddling the left plane.
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-25, -1, -21}, {-15, 1, -19})), INSIDE_FRUSTUM);
    // Wholly left of it, wholly above, and behind the camera.
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-40, -1, -21}, {-30, 1, -19})), OUTSIDE_FRUSTUM);
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-1, 30, -21}, {1, 40, -19})), OUTSIDE_FRUSTUM);
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Box({-1, -1, 5}, {1, 1, 10})), OUTSIDE_FRUSTUM);
}

TEST_F(FrustumTest, SpheresMustLieMoreThanTheirRadiusInsideEverySidePlane) {
    // 3 units inside the left plane x = z at depth 20, along its normal.
    const float Inset = 3 / std::sqrt(2.0f);
    const TVector3 Centre = {-20 + Inset, 0, -20 - Inset};
    EXPECT_EQ(Culler.CullSphereAgainstFrustum(Sphere(Centre, 5)), OUTSIDE_FRUSTUM);
    EXPECT_EQ(Culler.CullSphereAgainstFrustum(Sphere(Centre, 2)), INSIDE_FRUSTUM);
    EXPECT_EQ(Culler.CullSphereAgainstFrustum(Sphere({0, 0, -500}, 10)), INSIDE_FRUSTUM);  // far away
}

TEST_F(FrustumTest, TheModelViewMovesTheFrustum) {
    // The camera moved 30 units to the right sees the box at x = 30 ahead.
    TMatrix4 View = IdentityMatrix4;
    MTranslateMatrixF(View, -30, 0, 0);
    const TBoundingBox Ahead = Box({29, -1, -11}, {31, 1, -9});
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Ahead), OUTSIDE_FRUSTUM);
    Culler.ExtractFrustum(View, PerspectiveMatrix(90, 1, 1, 100));
    EXPECT_EQ(Culler.CullBoxAgainstFrustum(Ahead), INSIDE_FRUSTUM);
}
