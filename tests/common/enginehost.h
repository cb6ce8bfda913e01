#pragma once
// The services the engine is built on (OS services, registry, file system,
// start-up INI, console and variables) in a temporary working directory, and
// stand-ins for the window and the render device so the engine can tick
// without a display.

#include <memory>
#include <string>
#include <vector>

#include "common/testenv.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/viewport.h"

class tWinGameEngine;

// Records what the engine asks of the render device.
class tRecordingRenderDevice : public tRenderDevice {
    Z_DECLARE_CLASS(tRecordingRenderDevice, tRenderDevice)
public:
    bool CreateRenderingContext(tZObject*) override { return true; }
    void DestroyRenderingContext() override {}
    void SetFOV(float) override {}
    float GetFOV() override { return 90; }
    tShaderResource* CreateShader() override { return nullptr; }
    tTextureResource* CreateTexture(TTextureType) override { return nullptr; }
    tShaderProgram* CreateShaderProgram() override { return nullptr; }
    tFont* CreateFont(const ShortString&) override { return nullptr; }
    uint32_t GetDefaultFontID() override { return 0; }
    tLightSource* CreateLightSource() override { return nullptr; }
    void DeleteLightSource(tLightSource*) override {}
    void DeleteFont(tFont*) override {}
    void SetProjection(TProjection) override {}
    void SetViewport(int32_t, int32_t, int32_t, int32_t) override {}
    void SetFogColor(const TVector4&) override {}
    TVector4 GetFogColor() override { return {}; }
    void BeginFrame(TRenderTarget Target) override;
    void EndFrame() override { ++FramesEnded; }
    void ForceFixedPipeline() override {}
    void CheckError() override {}
    void SetRenderState(tShaderResource*) override {}
    void AddBuffer(tVertexArray* VertexArray, tShaderResource*) override;
    void AddTextString(float X, float Y, const ShortString& Text, const TVector4*) override;
    void AddTextStringZ(float, float, const ShortString&, const TVector4*) override {}
    void AddTextStringZFont(float, float, const ShortString&, const TVector4*, uint32_t) override {}
    void BeginTransform(TTransformType, const TMatrix4*) override {}
    void EndTransform(TTransformType) override {}
    void EnableClipPlane(int32_t, const double*) override {}
    void DisableClipPlane(int32_t) override {}
    TVector3 ProjectPoint(const TVector3&) override { return {}; }
    TMatrix4 ProjectTexture() override { return IdentityMatrix4; }
    TCullFrustum CullBoxAgainstFrustum(const TBoundingBox&) override { return INSIDE_FRUSTUM; }
    TCullFrustum CullSphereAgainstFrustum(const TBoundingSphere&) override { return INSIDE_FRUSTUM; }
    intptr_t GetPrimaryRenderingContext() override { return 0; }
    tQueryFeedbackContext* AllocateOcclusionQueryFC() override { return nullptr; }

    struct tText {
        float X, Y;
        ShortString Text;
    };
    static constexpr std::size_t ReservedTexts = 16;
    std::vector<tText> Texts;  // of the current frame
    // The vertex arrays drawn in the current frame, the first MaxDrawn of them.
    static constexpr int MaxDrawn = 64;
    tVertexArray* Drawn[MaxDrawn] = {};
    int DrawnCount = 0;
    int FramesEnded = 0;
};

// A viewport without a window.
class tWindowlessViewport : public tViewport {
    Z_DECLARE_CLASS(tWindowlessViewport, tViewport)
public:
    using tViewport::tViewport;
    void OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) override;
    void CloseViewport() override { ViewportOpened = false; }
    void CenterMouse() override {}
    SDL_Window* GetWindow() override { return nullptr; }
    void Tick(float) override {}
};

// The engine's services in a temporary working directory, created in the
// main program's order and freed in its shutdown order. Usable outside
// GoogleTest (benchmarks).
class tEngineHost {
public:
    static constexpr const char* DefaultINI = "[Engine]\nTimer=tWinTimer\nRunsCount=41\n";
    static constexpr const char* DefaultEngineCfg = "Set ScreenWidth 640\nSet ScreenHeight 480\n";

    tEngineHost();
    ~tEngineHost();
    tEngineHost(const tEngineHost&) = delete;
    tEngineHost& operator=(const tEngineHost&) = delete;

    // The engine, as the main program creates it.
    tWinGameEngine& StartEngine();
    // The engine ticking with the stand-ins as window and render device.
    tWinGameEngine& StartActiveEngine();
    // Everything but the registry, in the shutdown order; the count of
    // objects still alive on the registry's graph.
    int32_t ShutDownServices();
    std::vector<std::string> ConsoleMessages();
    std::string Log() const;

    TempWorkDir Work;
    tRecordingRenderDevice* Device = nullptr;

private:
    bool ServicesUp = false;
};

class EngineHostTest : public ::testing::Test {
protected:
    void SetUp() override { Host = std::make_unique<tEngineHost>(); }
    // Nothing the engine made may be left alive.
    void TearDown() override {
        EXPECT_EQ(Host->ShutDownServices(), 0);
        Host.reset();
    }

    tWinGameEngine& StartEngine() { return Host->StartEngine(); }
    tWinGameEngine& StartActiveEngine() { return Host->StartActiveEngine(); }
    std::vector<std::string> ConsoleMessages() { return Host->ConsoleMessages(); }
    std::string Log() const { return Host->Log(); }
    tRecordingRenderDevice* Device() { return Host->Device; }

    std::unique_ptr<tEngineHost> Host;
};
