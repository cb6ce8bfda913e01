// A package for the rendering tests: the subsystem tRenderTestScene, spawned
// by a console script, draws a fixed scene every frame through the render
// device with shaders from Data\Shaders\Tests (window pixels, y down):
//   (50..250, 100..300)    the checker texture
//   (300..400, 100..200)   red, green added on top           -> yellow
//   (450..550, 100..200)   red, half-transparent blue over it -> purple
//   (600..700, 100..200)   the animated red/green/blue frames
//   (750..850, 100..200)   the GLSL program: 1 - red, times local0 (1, 0.5, 1)
//   (20..250, 330..470)    red, drawn only where the stencil mask
//                          (50..150, 350..450) was written
//   (300..500, 350..450)   red, clipped to x < 400
//   (580..900, 370..420)   green with text on top
//   a white box in perspective; its projected centre goes to the log
// Spawning tStall stands still for two seconds, as a long load does.
// Spawning tContextRecreator closes the window and opens it again with the
// same settings, as a resize or a full-screen switch does: the render device's
// context is built anew.

#include <SDL2/SDL_timer.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vagl.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/viewport.h"

namespace {

constexpr const char* PackageDate = "2024/03/01 12:00:00";
constexpr TVector4 White = {1, 1, 1, 1};
constexpr float WindowWidth = 1024, WindowHeight = 768;

struct TRect {
    float X1, Y1, X2, Y2;
};

}  // namespace

class tRenderTestScene : public tSubSystem {
    Z_DECLARE_CLASS(tRenderTestScene, tSubSystem)
public:
    tRenderTestScene() {
        Device = Engine->Renderer;
        Checker = Resources->LoadShader("Shaders\\Tests\\checker.shader");
        Red = Resources->LoadShader("Shaders\\Tests\\red.shader");
        Green = Resources->LoadShader("Shaders\\Tests\\green.shader");
        Additive = Resources->LoadShader("Shaders\\Tests\\additive.shader");
        Glass = Resources->LoadShader("Shaders\\Tests\\glass.shader");
        Animated = Resources->LoadShader("Shaders\\Tests\\animated.shader");
        Inverted = Resources->LoadShader("Shaders\\Tests\\inverted.shader");
        Box = Resources->LoadShader("Shaders\\Tests\\box.shader");
        Inverted->ShaderProgram->SetLocalParam(0, {1.0f, 0.5f, 1.0f, 1.0f});

        TBoundingBox Bounds;
        Bounds.Min = {-1, -1, -1};
        Bounds.Max = {1, 1, 1};
        BoxVA = Device->VertexArrayManager->AllocateVA(24, 0, GN_TRUE, PRIM_QUADS);
        Device->GeometryServer->CreateBBox_Geometry(BoxVA, Bounds);
        for (int I = 0; I < RectCount; ++I) {
            RectVA[I] = Device->VertexArrayManager->AllocateVA(4, 0, GN_FALSE, PRIM_QUADS);
            Device->GeometryServer->CreateRect(RectVA[I], Rects[I].X1, Rects[I].Y1, Rects[I].X2, Rects[I].Y2, 0);
        }
    }
    ~tRenderTestScene() override {
        DisposeObject(BoxVA);
        for (tVertexArray*& VA : RectVA) DisposeObject(VA);
    }

    void Tick(float) override {}

    void RenderFrame() override {
        Device->AddBuffer(RectVA[0], Checker);
        Device->AddBuffer(RectVA[1], Red);
        Device->AddBuffer(RectVA[1], Additive);
        Device->AddBuffer(RectVA[2], Red);
        Device->AddBuffer(RectVA[2], Glass);
        Device->AddBuffer(RectVA[3], Animated);
        Device->AddBuffer(RectVA[4], Inverted);

        Device->BeginTransform(ZFT_BEGINMASK, nullptr);
        Device->AddBuffer(RectVA[5], Green);
        Device->BeginTransform(ZFT_USEMASK, nullptr);
        Device->AddBuffer(RectVA[6], Red);
        Device->EndTransform(ZFT_USEMASK);

        const double KeepLeftOf400[4] = {-1, 0, 0, 400};
        Device->EnableClipPlane(0, KeepLeftOf400);
        Device->AddBuffer(RectVA[7], Red);
        Device->DisableClipPlane(0);

        Device->AddBuffer(RectVA[8], Green);
        Device->AddTextString(600, 340, "HALVARDINE", &White);

        TMatrix4 Placement = IdentityMatrix4;
        MTranslateMatrixF(Placement, -3, -4, -10);
        Device->BeginTransform(ZFT_REPLACE, &Placement);
        Device->AddBuffer(BoxVA, Box);
        if (!Reported) ReportBox();
        Device->EndTransform(ZFT_REPLACE);
    }

private:
    static constexpr int RectCount = 9;
    static constexpr TRect Rects[RectCount] = {
        {50, 100, 250, 300}, {300, 100, 400, 200}, {450, 100, 550, 200}, {600, 100, 700, 200}, {750, 100, 850, 200},
        {50, 350, 150, 450}, {20, 330, 250, 470},  {300, 350, 500, 450}, {580, 370, 900, 420}};

    // Once, in the box's transform: where its centre lands and how the
    // frustum tests see it and a box behind the camera.
    void ReportBox() {
        Reported = true;
        const TVector3 Centre = Device->ProjectPoint({0, 0, 0});
        Logger->Log("Box centre at " + Int2Str(static_cast<int32_t>(Centre.x)) + " " +
                    Int2Str(static_cast<int32_t>(Centre.y)));
        // The texture projection of the same point, in window pixels.
        const TVector4 T = Device->ProjectTexture() * TVector4{0, 0, 0, 1};
        Logger->Log("Texture projection at " + Int2Str(static_cast<int32_t>(T.x / T.w * WindowWidth)) + " " +
                    Int2Str(static_cast<int32_t>((1 - T.y / T.w) * WindowHeight)));
        TBoundingBox Visible, Behind;
        Visible.Min = {-1, -1, -1};
        Visible.Max = {1, 1, 1};
        Behind.Min = {-1, -1, 19};
        Behind.Max = {1, 1, 21};
        Logger->Log("Box in frustum: " + Int2Str(Device->CullBoxAgainstFrustum(Visible)) + ", behind the camera: " +
                    Int2Str(Device->CullBoxAgainstFrustum(Behind)));
    }

    tRenderDevice* Device = nullptr;
    tShaderResource *Checker, *Red, *Green, *Additive, *Glass, *Animated, *Inverted, *Box;
    tVertexArray* BoxVA = nullptr;
    tVertexArray* RectVA[RectCount] = {};
    bool Reported = false;
};
Z_IMPLEMENT_CLASS(tRenderTestScene, .Operations = {{"Tick"}, {"RenderFrame"}})

class tContextRecreator : public tSubSystem {
    Z_DECLARE_CLASS(tContextRecreator, tSubSystem)
public:
    tContextRecreator() {
        tViewport* V = Engine->Viewport;
        auto* Params = new tViewportParams;
        Params->Width = V->Width;
        Params->Height = V->Height;
        Params->BitsPerPixel = V->BitsPerPixel;
        Params->ZBufferBits = V->ZBufferBits;
        Params->Frequency = V->Frequency;
        Params->FullScreen = V->FullScreen;
        Params->Stereo = V->Stereo;
        Params->InputDevice = V->GetInputDevice();
        // The window's own resize keeps the context when it can; the
        // viewport's builds it anew, as a switch to full screen does.
        V->tViewport::ResizeViewport(Params);
    }
    void Tick(float) override {}
    void RenderFrame() override {}
};
Z_IMPLEMENT_CLASS(tContextRecreator, .Operations = {{"Tick"}, {"RenderFrame"}})

class tStall : public tSubSystem {
    Z_DECLARE_CLASS(tStall, tSubSystem)
public:
    static constexpr unsigned StallMilliseconds = 2000;
    tStall() {
        Logger->Log("Stalling");
        SDL_Delay(StallMilliseconds);
    }
    void Tick(float) override {}
    void RenderFrame() override {}
};
Z_IMPLEMENT_CLASS(tStall, .Operations = {{"Tick"}, {"RenderFrame"}})

extern "C" {

bool InitPackage(tPluginAPIStruct* API) { return API->_SIZE == sizeof(tPluginAPIStruct); }

int32_t GetPackageContent() { return 3; }

void GetPackage(uint8_t* Record, int32_t Index) {
    const tZClass Classes[] = {tRenderTestScene::StaticClass(), tContextRecreator::StaticClass(), tStall::StaticClass()};
    tZClass C = Classes[Index - 1];
    C.CompilationDate = PackageDate;
    WritePackageRecord(Record, C);
}

}  // extern "C"
