// Vertex arrays from the manager: allocation, layout, common indices, replicas
// and the classes the render device instantiates by name.

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "renderer/va/va_fixture.h"

namespace {

using ::testing::ExitedWithCode;

TEST_F(GeometryTest, EveryArrayIsDrawnThroughTheSharedIdentityIndices) {
    tElementsArray* Common = Manager->GetCommonIndices();
    ASSERT_EQ(Common->GetIndicesCount(), 1048576);
    EXPECT_EQ(Common->GetIndices()[0], 0u);
    EXPECT_EQ(Common->GetIndices()[123456], 123456u);
    EXPECT_EQ(Common->GetIndices()[1048575], 1048575u);

    tVertexArray* VA = Allocate(5, 1, GN_TRUE, PRIM_TRIANGLES);
    EXPECT_EQ(VA->GetIndices(), Common);
    EXPECT_EQ(VA->GetActiveVertexCount(), 5);
    EXPECT_EQ(VA->Primitive(), PRIM_TRIANGLES);
    EXPECT_NE(VA->GetNormals(), nullptr);
    EXPECT_EQ(VA->GetTangents(), nullptr);
    EXPECT_NE(VA->GetTexCoords(1), nullptr);
    EXPECT_EQ(VA->GetTexCoords(2), nullptr);
    EXPECT_EQ(VA->GetTexCoords(-1), nullptr);
    EXPECT_EQ(VA->GetTexCoords(4), nullptr);
}

TEST(VertexLayoutTest, AttributesFollowEachOtherInOneBlock) {
    const TVertexLayout L = VertexLayout(10, 1, GN_TANGENT_BASIS);
    EXPECT_EQ(L.Positions, 0u);
    EXPECT_EQ(L.TexCoords[0], 120u);
    EXPECT_EQ(L.TexCoords[1], 200u);
    EXPECT_EQ(L.TexCoords[2], TVertexLayout::Absent);
    EXPECT_EQ(L.Normals, 280u);
    EXPECT_EQ(L.Tangents, 400u);
    EXPECT_EQ(L.Binormals, 520u);
    EXPECT_EQ(L.Bytes, 640u);
    EXPECT_EQ(VertexStride(1, GN_TANGENT_BASIS), 64);
    EXPECT_EQ(VertexStride(-1, GN_TRUE), 24);

    const TVertexLayout Bare = VertexLayout(10, -1, GN_FALSE);
    EXPECT_EQ(Bare.Normals, TVertexLayout::Absent);
    EXPECT_EQ(Bare.TexCoords[0], TVertexLayout::Absent);
    EXPECT_EQ(Bare.Bytes, 120u);
}

TEST_F(GeometryTest, AllocationRefusesWhatCannotBeStored) {
    EXPECT_EXIT(Allocate(4, 0, TGenNormals(3)), ExitedWithCode(255), "Unknown GenNormals value");
    EXPECT_EXIT(Allocate(4, 4), ExitedWithCode(255), "Invalid texture set index: Tex=4");
    EXPECT_EXIT(Allocate(-1), ExitedWithCode(255), "Invalid vertex count: -1");
}

TEST_F(GeometryTest, ReplicaCopiesTheActiveVerticesAndSharesTheIndices) {
    tVertexArray* VA = Allocate(4, 0, GN_TRUE, PRIM_QUADS);
    Server->CreateRect(VA, 0, 0, 1, 1, 2);
    VA->GetNormals()[1] = {0, 0, 1};
    VA->SetActiveVertexCount(3);
    tVertexArray* Copy = Keep(VA->Replicate());
    ASSERT_EQ(Copy->GetActiveVertexCount(), 3);
    EXPECT_EQ(Copy->GetIndices(), VA->GetIndices());
    EXPECT_EQ(Copy->Primitive(), PRIM_QUADS);
    EXPECT_EQ(Positions(Copy), (std::vector<TVector3>{{0, 0, 2}, {1, 0, 2}, {1, 1, 2}}));
    EXPECT_EQ(Copy->GetNormals()[1], (TVector3{0, 0, 1}));
    EXPECT_EQ(Copy->GetTexCoords(0)[2], (TVector2{1, 1}));
    Copy->GetVertices()[0] = {9, 9, 9};
    EXPECT_EQ(VA->GetVertices()[0], (TVector3{0, 0, 2}));
}

TEST_F(GeometryTest, RenderDeviceFindsTheGeometryClassesByName) {
    Linker = NewObject<tObjectsLinker>();
    Linker->RegisterClasses();
    tZObject* Server = Linker->InstantiateClassByName("tRGeometryServer", "");
    EXPECT_TRUE(Server->DynamicCast(ShortString("tGeometryServer")));
    tZObject::DisposeObject(Server);
    EXPECT_EXIT(Linker->InstantiateClassByName("tVertexArray", ""), ExitedWithCode(255),
                "Class is abstract: TVERTEXARRAY");
    EXPECT_EXIT(Linker->InstantiateClassByName("tVertexArrayManager", ""), ExitedWithCode(255),
                "Class is abstract: TVERTEXARRAYMANAGER");
    tZObject::DisposeObject(Linker);
}

}  // namespace
