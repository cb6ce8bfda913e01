// Vertex arrays drawn through OpenGL: buffer objects, the feeder's attribute
// pointers, the direct emitter and the camera-faced billboards.

#include <memory>

#include "common/memorystream.h"
#include "common/testenv.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "math/mathcheck.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr uint32_t White = 0xFFFFFF, Black = 0, Red = 0xFF0000;

// Runs each test with a context and a geometry server over the manager the
// test parameter names: buffer objects (true) or ordinary memory (false).
class DrawTest : public EngineTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        GL = std::make_unique<OffscreenContext>();
        if (!GL->Valid()) SKIP_OR_FAIL(std::string("no OpenGL context: ") + SDL_GetError());
        if (GetParam())
            Manager = NewObject<tVBOVertexArrayManager>();
        else
            Manager = NewObject<tStdVertexArrayManager>();
        Server = NewObject<tRGeometryServer>();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        for (tVertexArray*& VA : Arrays) tZObject::DisposeObject(VA);
        if (Server) tZObject::DisposeObject(Server);
        if (Manager) tZObject::DisposeObject(Manager);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        GL.reset();
        EngineTest::TearDown();
    }
    tVertexArray* Allocate(int32_t Vertices, int32_t Tex, TGenNormals GenNormals, TPrimitiveType Prim = PRIM_QUADS) {
        Arrays.push_back(Manager->AllocateVA(Vertices, Tex, GenNormals, Prim));
        return Arrays.back();
    }

    std::unique_ptr<OffscreenContext> GL;
    tVertexArrayManager* Manager = nullptr;
    tRGeometryServer* Server = nullptr;
    std::vector<tVertexArray*> Arrays;
};

TEST_P(DrawTest, ArrayDrawsItsActiveVerticesThroughTheCommonIndices) {
    tVertexArray* VA = Allocate(8, 1, GN_TRUE);
    const TVector3 Centers[2] = {{16, 32, 0}, {48, 32, 0}};
    Server->CreateRectsArray(VA, 2, Centers, 8, 8);
    VA->SetActiveVertexCount(4);  // only the left rectangle
    glColor3f(1, 1, 1);
    VA->FeedIntoGPU();
    EXPECT_EQ(OffscreenContext::Pixel(16, 32), White);
    EXPECT_EQ(OffscreenContext::Pixel(48, 32), Black);
    EXPECT_EQ(OffscreenContext::Pixel(30, 32), Black);

    // Written again after drawing (a buffer object maps once more), drawn again.
    Server->Translate(VA, {0, -20, 0});
    VA->FeedIntoGPU();
    EXPECT_EQ(OffscreenContext::Pixel(16, 12), White);
}

TEST_P(DrawTest, TangentsTravelAsThePrimaryColour) {
    tVertexArray* VA = Allocate(4, 0, GN_TANGENT_BASIS);
    Server->CreateRect(VA, 0, 0, 64, 64, 0);
    for (int32_t I = 0; I < 4; ++I) VA->GetTangents()[I] = {1, 0, 0};
    VA->FeedIntoGPU();
    glDisableClientState(GL_COLOR_ARRAY);
    EXPECT_EQ(OffscreenContext::Pixel(32, 32), Red);
}

TEST_P(DrawTest, StreamImageRoundTripsThroughTheManagersArrays) {
    tVertexArray* VA = Allocate(24, 2, GN_TANGENT_BASIS);
    TBoundingBox Box;
    Box.Min = {1, 2, 3};
    Box.Max = {4, 5, 6};
    Server->CreateBBox_Geometry(VA, Box);
    VA->FeedIntoGPU();  // leaves a buffer object unmapped
    tMemoryStream S;
    VA->SaveToStream(S);
    S.Seek(0);
    tVertexArray* Loaded = Manager->AllocateEmptyVA();
    Arrays.push_back(Loaded);
    Loaded->LoadFromStream(S);
    ASSERT_EQ(Loaded->GetActiveVertexCount(), 24);
    for (int32_t I = 0; I < 24; ++I) {
        EXPECT_EQ(Loaded->GetVertices()[I], VA->GetVertices()[I]) << I;
        EXPECT_EQ(Loaded->GetNormals()[I], VA->GetNormals()[I]) << I;
    }
    tVertexArray* Copy = VA->Replicate();
    Arrays.push_back(Copy);
    EXPECT_EQ(Copy->GetNormals()[23], (TVector3{0, 0, 1}));
}

TEST_P(DrawTest, DirectEmitterDrawsAtOnce) {
    Server->SetVertexEmitter(VE_DIRECT);
    glColor3f(1, 1, 1);
    Server->CreateRect(Allocate(4, 0, GN_FALSE), 10, 10, 20, 20, 0);
    Server->SetVertexEmitter(VE_ARRAY);
    EXPECT_EQ(OffscreenContext::Pixel(15, 15), White);
    EXPECT_EQ(OffscreenContext::Pixel(25, 15), Black);
}

TEST_P(DrawTest, BillboardsFaceTheCamera) {
    tVertexArray* VA = Allocate(4, 0, GN_FALSE);
    glPushMatrix();
    glRotatef(90, 0, 0, 1);  // camera rolled: its right is -y, its up +x
    Server->CreateQuad_CameraFaced(VA, {10, 20, 30}, 2);
    EXPECT_TRUE(VectorsNear(VA->GetVertices()[0], {8, 22, 30}));
    EXPECT_TRUE(VectorsNear(VA->GetVertices()[1], {8, 18, 30}));
    EXPECT_TRUE(VectorsNear(VA->GetVertices()[2], {12, 18, 30}));

    // Pitched camera: the Z-parallel variant keeps the sides vertical.
    glLoadIdentity();
    glRotatef(-60, 1, 0, 0);
    glRotatef(30, 0, 0, 1);
    const TVector3 Center = {0, 0, 0};
    Server->CreateRectsArray_CameraFacedZParallel(VA, 1, &Center, 1, 1);
    const TVector3* V = VA->GetVertices();
    EXPECT_FLOAT_EQ(V[0].x, V[3].x);
    EXPECT_FLOAT_EQ(V[0].y, V[3].y);
    EXPECT_FLOAT_EQ(V[1].x, V[2].x);
    EXPECT_FLOAT_EQ(V[1].y, V[2].y);
    EXPECT_LT(V[0].z, V[3].z);
    Server->CreateRectsArray_CameraFaced(VA, 1, &Center, 1, 1);
    EXPECT_NE(V[0].x, V[3].x);
    glPopMatrix();
}

INSTANTIATE_TEST_SUITE_P(Managers, DrawTest, ::testing::Values(true, false),
                         [](const auto& Info) { return Info.param ? "BufferObjects" : "Memory"; });

}  // namespace
