// The same vertex arrays drawn through the render device's AddBuffer and
// through a minimal OpenGL loop, on an offscreen context. The device adds
// its state change per draw (with one shader throughout only what changes
// from draw to draw; with two shaders in turn the whole state), the texture
// matrices' reset and the statistics. "allocs/frame" counts heap
// allocations per frame; the goal is zero.

#include <benchmark/benchmark.h>

#include <vector>

#include "common/allocationcounter.h"
#include "common/scriptenv.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/opengl/frame.h"
#include "kernel/renderer/opengl/oglrenderdevice.h"
#include "kernel/renderer/shadersetup/oglshader.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/loader.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr int32_t Arrays = 100;
constexpr int32_t RectsPerArray = 100;
constexpr float Size = OffscreenContext::Size;

constexpr const char* PlainShader = "!!ZSS1.1\r\nSurfaceShader\r\n{\r\n  Enable\r\n  {\r\n    ColorWrites\r\n  }\r\n}\r\n";
constexpr const char* AddingShader =
    "!!ZSS1.1\r\nSurfaceShader\r\n{\r\n  Blend\r\n  {\r\n    BlendFunc GL_ONE GL_ONE\r\n  }\r\n"
    "  Enable\r\n  {\r\n    ColorWrites\r\n  }\r\n}\r\n";

// The engine services a render device needs, without a window: console,
// variables, registry, file system, INI file and an engine that holds the
// device; small rectangles spread over the context in Arrays arrays.
class tDeviceBench : public ScriptTest {
public:
    tDeviceBench() {
        SetUp();
        WriteData("Shaders\\plain.shader", PlainShader);
        WriteData("Shaders\\adding.shader", AddingShader);
        MapData();
        Device = NewObject<tOGLRenderDevice>();
        Engine->Renderer = Device;
        Device->DefaultFrame = NewObject<tFrame>();
        Device->CurrentOrtho = OrthoMatrix2D(0, Size, Size, 0);
        Manager = NewObject<tStdVertexArrayManager>();
        Server = NewObject<tRGeometryServer>();
        Shaders[0] = LoadShader("Shaders\\plain.shader");
        Shaders[1] = LoadShader("Shaders\\adding.shader");
        std::vector<TVector3> Centres(RectsPerArray);
        for (int32_t A = 0; A < Arrays; ++A) {
            for (int32_t R = 0; R < RectsPerArray; ++R)
                Centres[R] = {float((A * 7 + R * 3) % 64), float((A * 5 + R * 11) % 64), 0};
            VAs.push_back(Manager->AllocateVA(4 * RectsPerArray, -1, GN_FALSE, PRIM_QUADS));
            Server->CreateRectsArray(VAs.back(), RectsPerArray, Centres.data(), 0.5f, 0.5f);
        }
    }
    ~tDeviceBench() override {
        for (tVertexArray*& VA : VAs) tZObject::DisposeObject(VA);
        for (tOGLShaderResource*& S : Shaders) tZObject::DisposeObject(S);
        tZObject::DisposeObject(Server);
        tZObject::DisposeObject(Manager);
        tZObject::DisposeObject(Device->DefaultFrame);
        Engine->Renderer = nullptr;
        tZObject::DisposeObject(Device);
        TearDown();
    }
    void TestBody() override {}

    // What the device draws, with OpenGL alone; with AddingInTurn every
    // second array is added with blending, as the second shader does.
    void DrawRaw(bool AddingInTurn) {
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(Device->CurrentOrtho.data());
        glMatrixMode(GL_MODELVIEW);
        glBlendFunc(GL_ONE, GL_ONE);
        const uint32_t* Indices = Manager->GetCommonIndices()->GetIndices();
        for (std::size_t I = 0; I < VAs.size(); ++I) {
            if (AddingInTurn) {
                if (I % 2) glEnable(GL_BLEND);
                else glDisable(GL_BLEND);
            }
            glVertexPointer(3, GL_FLOAT, 0, VAs[I]->GetVertices());
            glDrawElements(VAs[I]->Primitive(), VAs[I]->GetActiveVertexCount(), GL_UNSIGNED_INT, Indices);
        }
        glDisable(GL_BLEND);
        glFinish();
    }
    // Through AddBuffer, with one shader or two in turn.
    void DrawThroughDevice(int32_t ShaderCount) {
        glClear(GL_COLOR_BUFFER_BIT);
        for (std::size_t I = 0; I < VAs.size(); ++I) Device->AddBuffer(VAs[I], Shaders[I % ShaderCount]);
        glFinish();
    }

private:
    tOGLShaderResource* LoadShader(const ShortString& Name) {
        auto* Shader = NewObject<tOGLShaderResource>();
        tZClass C;
        Linker->FindFileLoader("tShaderLoader", Name, C);
        tZObject* Loader = tZObject::Instantiate(C, "");
        static_cast<tLoader*>(Loader)->Load(*FileSystem->CreateFileReader(Name, {}), *Shader);
        tZObject::DisposeObject(Loader);
        return Shader;
    }

    tOGLRenderDevice* Device = nullptr;
    tVertexArrayManager* Manager = nullptr;
    tRGeometryServer* Server = nullptr;
    tOGLShaderResource* Shaders[2] = {};
    std::vector<tVertexArray*> VAs;
};

// Arg 0: AddBuffer; 1: the raw OpenGL loop.
// Arg 1: one shader throughout; 2: two shaders in turn, the second blending.
void BM_DrawArrays(benchmark::State& State) {
    OffscreenContext GL;
    if (!GL.Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    tDeviceBench Bench;
    const bool Raw = State.range(0) != 0;
    const int32_t Shaders = static_cast<int32_t>(State.range(1));
    RunFrames(State, [&] {
        if (Raw) Bench.DrawRaw(Shaders == 2);
        else Bench.DrawThroughDevice(Shaders);
    });
    State.SetItemsProcessed(State.iterations() * Arrays);
}
BENCHMARK(BM_DrawArrays)
    ->ArgNames({"raw", "shaders"})
    ->ArgsProduct({{1, 0}, {1, 2}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
