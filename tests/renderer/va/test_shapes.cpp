// Shape generators writing into vertex arrays: vertex counts, positions,
// texture coordinates and normals.

#include <cmath>

#include "renderer/va/va_fixture.h"

namespace {

using ::testing::ExitedWithCode;

TVector2 UV(tVertexArray* VA, int32_t Unit, int32_t I) { return VA->GetTexCoords(Unit)[I]; }

bool SameUV(const TVector2& a, const TVector2& b) { return std::fabs(a.x - b.x) < 1e-6f && std::fabs(a.y - b.y) < 1e-6f; }

TEST_F(GeometryTest, TriangleHasItsRightAngleAtTheGivenCorner) {
    tVertexArray* VA = Allocate(3, 0, GN_TRUE, PRIM_TRIANGLES);
    Server->CreateTriangle(VA, 1, 2, 3, 4, 5);
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>{{1, 2, 5}, {1, -2, 5}, {4, 2, 5}}));
    EXPECT_TRUE(SameUV(UV(VA, 0, 0), {1, 1}));
    EXPECT_TRUE(SameUV(UV(VA, 0, 1), {1, 0}));
    EXPECT_TRUE(SameUV(UV(VA, 0, 2), {0, 1}));

    EXPECT_EXIT(Server->CreateTriangle(Allocate(4), 0, 0, 1, 1, 0), ExitedWithCode(255),
                "Unable to create triangle: VertexCount<>3");
    EXPECT_EXIT(Server->CreateTriangle(nullptr, 0, 0, 1, 1, 0), ExitedWithCode(255), "VertexArray is NIL");
}

TEST_F(GeometryTest, RectSetsTheSameCoordinatesOnEveryTextureUnit) {
    tVertexArray* VA = Allocate(4, 3);
    Server->CreateRect(VA, -1, -2, 3, 4, 0.5f);
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>{{-1, -2, 0.5f}, {3, -2, 0.5f}, {3, 4, 0.5f}, {-1, 4, 0.5f}}));
    const TVector2 Expected[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int32_t Unit = 0; Unit < 4; ++Unit)
        for (int32_t I = 0; I < 4; ++I) EXPECT_TRUE(SameUV(UV(VA, Unit, I), Expected[I])) << Unit << " " << I;

    EXPECT_EXIT(Server->CreateRect(Allocate(3), 0, 0, 1, 1, 0), ExitedWithCode(255),
                "Unable to create rect: VertexCount<>4");
}

TEST_F(GeometryTest, BevelRectCutsEachCornerAtTheRadius) {
    tVertexArray* VA = Allocate(12, 0, GN_TRUE, PRIM_POLYGON);
    Server->CreateBevelRect(VA, 0, 0, 10, 20, 1, 2);
    const float K = 0.292894f * 2;
    const TVector3 Expected[12] = {{2, 20, 1},      {8, 20, 1},  {10 - K, 20 - K, 1}, {10, 18, 1},
                                   {10, 2, 1},      {10 - K, K, 1}, {8, 0, 1},        {2, 0, 1},
                                   {K, K, 1},       {0, 2, 1},   {0, 18, 1},          {K, 20 - K, 1}};
    for (int32_t I = 0; I < 12; ++I) {
        EXPECT_TRUE(VectorsNear(VA->GetVertices()[I], Expected[I])) << I;
        // The texture spans the rectangle.
        EXPECT_TRUE(SameUV(UV(VA, 0, I), {Expected[I].x / 10, Expected[I].y / 20})) << I;
    }
    EXPECT_EXIT(Server->CreateBevelRect(Allocate(4), 0, 0, 1, 1, 0, 0.1f), ExitedWithCode(255),
                "Unable to create bevel: VertexCount<>12");
}

TEST_F(GeometryTest, BoxFacesLieOnTheBoxAndCarryTheirOutwardNormals) {
    tVertexArray* VA = Allocate(24);
    TBoundingBox Box;
    Box.Min = {-1, -2, -3};
    Box.Max = {4, 5, 6};
    Server->CreateBBox_Geometry(VA, Box);
    const TVector3 Normals[6] = {{0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}, {0, 0, -1}, {0, 0, 1}};
    for (int32_t Face = 0; Face < 6; ++Face) {
        const TVector3& N = Normals[Face];
        // The face plane: the box's Max side where the normal points up an
        // axis, its Min side where it points down.
        const float Plane = Dot(N, Box.Max) > 0 ? Dot(N, Box.Max) : Dot(N, Box.Min);
        for (int32_t I = Face * 4; I < Face * 4 + 4; ++I) {
            EXPECT_EQ(VA->GetNormals()[I], N) << I;
            EXPECT_FLOAT_EQ(Dot(N, VA->GetVertices()[I]), Plane) << I;
        }
    }
    // The first face in winding order.
    EXPECT_EQ(std::vector<TVector3>(VA->GetVertices(), VA->GetVertices() + 4),
              (std::vector<TVector3>{{-1, -2, -3}, {4, -2, -3}, {4, -2, 6}, {-1, -2, 6}}));
}

TEST_F(GeometryTest, OrientedBoxFacesSitAtTheEndsOfTheHalfAxes) {
    tVertexArray* VA = Allocate(24);
    const TVector3 Center = {10, 20, 30}, A = {2, 0, 0}, B = {0, 3, 3}, C = {0, -1, 1};
    Server->CreateOBox_Geometry(VA, Center, A, B, C);
    const TVector3 FaceAxes[6] = {A, -A, B, -B, C, -C};
    for (int32_t Face = 0; Face < 6; ++Face)
        for (int32_t I = Face * 4; I < Face * 4 + 4; ++I) {
            EXPECT_FLOAT_EQ(Dot(VA->GetVertices()[I] - Center, FaceAxes[Face]), Dot(FaceAxes[Face], FaceAxes[Face]))
                << I;
            EXPECT_EQ(VA->GetNormals()[I], TVector3{}) << I;  // no normals are set
        }
    EXPECT_EQ(VA->GetVertices()[0], Center + A + B + C);
    EXPECT_EQ(VA->GetVertices()[23], Center + A - B - C);
}

TEST_F(GeometryTest, DomeIsAStripOnTheUpperHalfOfTheSphere) {
    EXPECT_EXIT(Server->CreateDome(Allocate(31), 10, 90, 45, 1, 1, 0, 0, 0), ExitedWithCode(255),
                "Unable to create triangle: VertexCount<>32");
    EXPECT_EXIT(Server->CreateDome(Allocate(32), 10, 0, 45, 1, 1, 0, 0, 0), ExitedWithCode(255),
                "DTheta and DPhi must be positive");

    tVertexArray* VA = Allocate(32, 0, GN_TRUE, PRIM_TRIANGLE_STRIP);
    const TVector3 Offset = {2, 4, 6};
    Server->CreateDome(VA, 10, 90, 45, 1, 1, Offset.x, Offset.y, Offset.z);
    const float S = std::sqrt(0.5f);
    // The first step: theta = 90, rings phi = 0 (the top) and phi = 45.
    const TVector3 FirstDirections[4] = {{0, 0, 1}, {0, S, S}, {0, 0, 1}, {-S, 0, S}};
    for (int32_t I = 0; I < 4; ++I) {
        EXPECT_TRUE(VectorsNear(VA->GetVertices()[I], (FirstDirections[I] * 10 + Offset) * 0.5f, 1e-5f)) << I;
        EXPECT_TRUE(SameUV(UV(VA, 0, I), {FirstDirections[I].x, FirstDirections[I].y})) << I;
    }
    for (const TVector3& V : Positions(VA)) {
        const TVector3 D = V * 2 - Offset;
        EXPECT_NEAR(Len(D), 10, 1e-4);
        EXPECT_GE(D.z, -1e-4);
    }
}

TEST_F(GeometryTest, RectsArrayPutsOneQuadAroundEachCenter) {
    tVertexArray* VA = Allocate(8);
    const TVector3 Centers[2] = {{0, 0, 0}, {10, 20, 30}};
    Server->CreateRectsArray(VA, 2, Centers, 1, 2);
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>{{-1, -2, 0}, {1, -2, 0}, {1, 2, 0}, {-1, 2, 0},
                                                    {9, 18, 30}, {11, 18, 30}, {11, 22, 30}, {9, 22, 30}}));
    EXPECT_TRUE(SameUV(UV(VA, 0, 6), {1, 1}));

    // No rectangles into an empty array is fine.
    Server->CreateRectsArray(Allocate(0), 0, nullptr, 1, 1);
    EXPECT_EXIT(Server->CreateRectsArray(Allocate(7), 2, Centers, 1, 1), ExitedWithCode(255),
                "Unable to create rects: VertexCount<>8");
    EXPECT_EXIT(Server->CreateRectsArray(nullptr, 0, nullptr, 1, 1), ExitedWithCode(255), "VertexArray is NIL");
}

TEST_F(GeometryTest, UnknownEmitterTargetIsFatal) {
    EXPECT_EXIT(Server->SetVertexEmitter(TVertexEmitterTarget(2)), ExitedWithCode(255),
                "Unknown vertex emitter target");
}

}  // namespace
