// The mender: separately numbered mesh data assembled into one triangle list.

#include "kernel/renderer/geometry/mender.h"
#include "renderer/va/va_fixture.h"

namespace {

using ::testing::ExitedWithCode;

class MenderTest : public GeometryTest {
protected:
    void SetUp() override {
        GeometryTest::SetUp();
        Mender = Server->CreateVAMender();
    }
    void TearDown() override {
        tZObject::DisposeObject(Mender);
        GeometryTest::TearDown();
    }
    tVertexArrayMender* Mender = nullptr;
};

// A unit square in the XY plane as two triangles, emitted out of order.
void EmitSquare(tVertexArrayMender* M) {
    M->EmitFace(1, 0, 2, 3);
    M->EmitFace(0, 0, 1, 2);
    M->EmitTextureFace(0, 3, 2, 1);
    M->EmitTextureFace(1, 3, 1, 0);
    const TVector3 Corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    // Texture vertex k lies at corner 3 - k.
    for (int32_t K = 3; K >= 0; --K) {
        M->EmitVertex(K, Corners[K]);
        M->EmitNormal(K, {0, 0, float(K + 1)});
        M->EmitTextureVertex(3 - K, {Corners[K].x, Corners[K].y, 0});
    }
}

TEST_F(MenderTest, EachFaceCornerBecomesAVertexWithItsNormalAndTextureCoordinates) {
    EmitSquare(Mender);
    tVertexArray* VA = Keep(Mender->CreateVertexArray());
    ASSERT_EQ(VA->GetActiveVertexCount(), 6);
    EXPECT_EQ(VA->Primitive(), PRIM_TRIANGLES);
    EXPECT_EQ(VA->GetIndices(), Manager->GetCommonIndices());
    EXPECT_EQ(VA->GetTexCoords(1), nullptr);  // one texture set
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    const int32_t CornerVertex[6] = {0, 1, 2, 0, 2, 3};
    for (int32_t I = 0; I < 6; ++I) {
        EXPECT_EQ(VA->GetNormals()[I], (TVector3{0, 0, float(CornerVertex[I] + 1)})) << I;
        // The texture faces pick the texture vertex that sits at the corner.
        const TVector3 P = VA->GetVertices()[I];
        EXPECT_EQ(VA->GetTexCoords(0)[I], (TVector2{P.x, P.y})) << I;
        // u along x, v along y: the tangent basis of the square.
        EXPECT_TRUE(VectorsNear(VA->GetTangents()[I], {1, 0, 0})) << I;
        EXPECT_TRUE(VectorsNear(VA->GetBinormals()[I], {0, 1, 0})) << I;
    }
}

TEST_F(MenderTest, MeshWithASingleNormalGetsNoNormalArray) {
    Mender->EmitVertex(0, {1, 2, 3});
    Mender->EmitNormal(0, {0, 0, 1});
    Mender->EmitTextureVertex(0, {0.5f, 0.5f, 0});
    Mender->EmitFace(0, 0, 0, 0);
    Mender->EmitTextureFace(0, 0, 0, 0);
    tVertexArray* VA = Keep(Mender->CreateVertexArray());
    EXPECT_EQ(VA->GetNormals(), nullptr);
    EXPECT_EQ(VA->GetTangents(), nullptr);
    EXPECT_EQ(Positions(VA), (std::vector<TVector3>(3, {1, 2, 3})));

    // Another vertex number then has no normal to go with it.
    Mender->EmitVertex(1, {0, 0, 0});
    Mender->EmitFace(0, 0, 1, 0);
    EXPECT_EXIT(Mender->CreateVertexArray(), ExitedWithCode(255), "Index exceeded in tVectorsArray.GetVector");
}

TEST_F(MenderTest, MissingMeshDataIsFatal) {
    EmitSquare(Mender);
    Mender->EmitFace(2, 0, 1, 2);  // no texture face 2
    EXPECT_EXIT(Mender->CreateVertexArray(), ExitedWithCode(255), "Index exceeded in tVectorsArray.GetVector");
    Mender->EmitTextureFace(2, 0, 1, 7);  // no texture vertex 7
    EXPECT_EXIT(Mender->CreateVertexArray(), ExitedWithCode(255), "Index exceeded in tVectorsArray.GetVector");
    EXPECT_EXIT(Mender->EmitFace(-1, 0, 0, 0), ExitedWithCode(255), "Index exceeded in tVectorsArray.SetVector");
    EXPECT_EXIT(Mender->EmitVertex(tVectorsArray::MaxEntries, {}), ExitedWithCode(255),
                "Index exceeded in tVectorsArray.SetVector");
}

class VectorsArrayTest : public EngineTest {};

TEST_F(VectorsArrayTest, GrowsByDoublingAndKnowsItsHighestIndex) {
    tVectorsArray Store;
    EXPECT_EQ(Store.Used(), -1);
    Store.SetVector(3, {1, 2, 3});
    Store.SetVector(1500, {4, 5, 6});
    EXPECT_EQ(Store.Allocated(), 2000);
    EXPECT_EQ(Store.Used(), 1500);
    EXPECT_EQ(Store.GetVector(3), (TVector3{1, 2, 3}));
    EXPECT_EQ(Store.GetVector(1500), (TVector3{4, 5, 6}));
    EXPECT_EQ(Store.GetVector(1000), TVector3{});  // skipped over
    EXPECT_EXIT(Store.GetVector(1501), ExitedWithCode(255), "Index exceeded in tVectorsArray.GetVector");
}

}  // namespace
