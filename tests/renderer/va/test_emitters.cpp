// The array builder: current normal and texture coordinates, bounds and the
// primitive bracket.

#include "renderer/va/va_fixture.h"

namespace {

using ::testing::ExitedWithCode;

class BuilderTest : public GeometryTest {
protected:
    void SetUp() override {
        GeometryTest::SetUp();
        Builder = NewObject<tVertexArrayBuilder>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Builder);
        GeometryTest::TearDown();
    }
    tVertexArrayBuilder* Builder = nullptr;
};

TEST_F(BuilderTest, TextureCoordinatesApplyFromTheGivenUnitUpwards) {
    tVertexArray* VA = Allocate(2, 3);
    Builder->BeginPrimitive(PRIM_QUADS, VA);
    Builder->SetTexCoord(0, 1, 2);
    Builder->SetTexCoord(2, 3, 4);
    Builder->SetNormal(0, 0, 1);
    Builder->EmitVertex(1, 1, 1);
    Builder->SetTexCoord(-1, 5, 6);  // below unit 0: all four
    Builder->EmitVertex(2, 2, 2);
    Builder->EndPrimitive();

    const TVector2 First[4] = {{1, 2}, {1, 2}, {3, 4}, {3, 4}};
    for (int32_t Unit = 0; Unit < 4; ++Unit) {
        EXPECT_EQ(VA->GetTexCoords(Unit)[0], First[Unit]) << Unit;
        EXPECT_EQ(VA->GetTexCoords(Unit)[1], (TVector2{5, 6})) << Unit;
    }
    EXPECT_EQ(VA->GetNormals()[1], (TVector3{0, 0, 1}));
    EXPECT_EQ(VA->GetVertices()[1], (TVector3{2, 2, 2}));

    // A new primitive starts from the first vertex with the normal at zero.
    Builder->BeginPrimitive(PRIM_QUADS, VA);
    Builder->EmitVertex(7, 7, 7);
    Builder->EndPrimitive();
    EXPECT_EQ(VA->GetVertices()[0], (TVector3{7, 7, 7}));
    EXPECT_EQ(VA->GetNormals()[0], TVector3{});
}

TEST_F(BuilderTest, ArrayWithoutNormalsOrTexturesTakesPositionsOnly) {
    tVertexArray* VA = Allocate(1, -1, GN_FALSE);
    Builder->BeginPrimitive(PRIM_QUADS, VA);
    Builder->SetNormal(1, 0, 0);
    Builder->SetTexCoord(0, 1, 1);
    Builder->EmitVertex(3, 2, 1);
    Builder->EndPrimitive();
    EXPECT_EQ(VA->GetVertices()[0], (TVector3{3, 2, 1}));
}

TEST_F(BuilderTest, MisuseIsFatal) {
    EXPECT_EXIT(Builder->EndPrimitive(), ExitedWithCode(255), "No active primitive");
    EXPECT_EXIT(
        {
            Builder->BeginPrimitive(PRIM_QUADS, Allocate(4));
            Builder->BeginPrimitive(PRIM_QUADS, Allocate(4));
        },
        ExitedWithCode(255), "Primitive already active");
    EXPECT_EXIT(
        {
            Builder->BeginPrimitive(PRIM_QUADS, Allocate(1));
            Builder->EmitVertex(0, 0, 0);
            Builder->EmitVertex(0, 0, 0);
        },
        ExitedWithCode(255), "Unable to emit a vertex");
    EXPECT_EXIT(
        {
            Builder->BeginPrimitive(PRIM_QUADS, nullptr);
            Builder->EmitVertex(0, 0, 0);
        },
        ExitedWithCode(255), "VertexArray is NIL");
    EXPECT_EXIT(
        {
            Builder->BeginPrimitive(PRIM_QUADS, Keep(Manager->AllocateEmptyVA()));
            Builder->EmitVertex(0, 0, 0);
        },
        ExitedWithCode(255), "VertexArray.Vertices is nil");
}

}  // namespace
