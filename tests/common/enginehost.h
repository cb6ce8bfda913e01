#pragma once
// The services the engine is built on (OS services, registry, file system,
// start-up INI, console and variables) in a temporary working directory, and
// stand-ins for the window and the render device so the engine can tick
// without a display.

#include <string>
#include <vector>

#include "common/testenv.h"
#include "kernel/renderer/renderdevice.h"
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
    void AddBuffer(tVertexArray*, tShaderResource*) override {}
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
        std::string Text;
    };
    std::vector<tText> Texts;  // of the current frame
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

class EngineHostTest : public EngineTest {
protected:
    // Writes the start-up files (INI and engine.cfg) before the services start.
    void SetUp() override;
    void TearDown() override;

    // The engine, as the main program creates it.
    tWinGameEngine& StartEngine();
    // The engine ticking with the stand-ins as window and render device.
    tWinGameEngine& StartActiveEngine();
    std::vector<std::string> ConsoleMessages();
    std::string Log() const;

    tRecordingRenderDevice* Device = nullptr;
    std::string INIText = "[Engine]\nTimer=tWinTimer\nRunsCount=41\n";
    std::string EngineCfg = "Set ScreenWidth 640\nSet ScreenHeight 480\n";
};
