// Vertex-array utilities of the geometry server and the tangent basis.

#include "renderer/va/va_fixture.h"

namespace {

class UtilitiesTest : public GeometryTest {
protected:
    tVertexArray* WithVertices(std::initializer_list<TVector3> Vertices) {
        tVertexArray* VA = Allocate(int32_t(Vertices.size()), -1, GN_FALSE);
        std::copy(Vertices.begin(), Vertices.end(), VA->GetVertices());
        return VA;
    }
};

TEST_F(UtilitiesTest, TranslateToCenterMovesTheMeanToTheOriginAndReturnsIt) {
    tVertexArray* VA = WithVertices({{0, 0, 0}, {2, 4, 6}});
    EXPECT_EQ(Server->TranslateToCenter(VA), (TVector3{1, 2, 3}));
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>{{-1, -2, -3}, {1, 2, 3}}));

    // An empty array stays where it is.
    EXPECT_EQ(Server->TranslateToCenter(Allocate(0)), TVector3{});
}

TEST_F(UtilitiesTest, OnlyActiveVerticesAreMovedAndMeasured) {
    tVertexArray* VA = WithVertices({{1, 0, 0}, {3, 0, 0}, {100, 0, 0}});
    VA->SetActiveVertexCount(2);
    Server->Translate(VA, {1, 1, 1});
    Server->Scale(VA, 2);
    EXPECT_EQ(VA->GetVertices()[0], (TVector3{4, 2, 2}));
    EXPECT_EQ(VA->GetVertices()[1], (TVector3{8, 2, 2}));
    EXPECT_EQ(VA->GetVertices()[2], (TVector3{100, 0, 0}));

    float MinX = 1e21f, MaxX = -1e21f;
    Server->MinMaxX(VA, MinX, MaxX);
    EXPECT_EQ(MinX, 4);
    EXPECT_EQ(MaxX, 8);
    // Starting values outside the range are kept: the range only widens.
    MinX = 0;
    MaxX = 5;
    Server->MinMaxX(VA, MinX, MaxX);
    EXPECT_EQ(MinX, 0);
    EXPECT_EQ(MaxX, 8);

    EXPECT_EXIT(VA->SetActiveVertexCount(4), ::testing::ExitedWithCode(255),
                "Active vertex count out of range: 4 \\(allocated: 3\\)");
}

TEST_F(UtilitiesTest, TangentFollowsGrowingUAndBinormalGrowingV) {
    // u runs along +y and v along -z on this triangle.
    TTangentBasis B = Server->CalculateTangent({0, 0, 0}, {0, 2, 0}, {0, 0, -3}, {0, 0}, {1, 0}, {0, 1}, 1);
    EXPECT_TRUE(VectorsNear(B.Tangent, {0, 1, 0}));
    EXPECT_TRUE(VectorsNear(B.Binormal, {0, 0, -1}));

    // A mirrored mapping (u decreasing along the first edge) keeps the basis
    // pointing along growing u.
    B = Server->CalculateTangent({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0}, {0, 0}, {1, 1}, 1);
    EXPECT_TRUE(VectorsNear(B.Tangent, {-1, 0, 0}));
    EXPECT_TRUE(VectorsNear(B.Binormal, {0, 1, 0}));

    // Skewed texture: the tangent is where v stays constant.
    B = Server->CalculateTangent({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0}, {1, 1}, {0, 1}, 1);
    EXPECT_TRUE(VectorsNear(B.Tangent, TVector3{1, -1, 0} * std::sqrt(0.5f)));
    EXPECT_TRUE(VectorsNear(B.Binormal, {0, 1, 0}));
}

}  // namespace
