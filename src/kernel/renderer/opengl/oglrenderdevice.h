#pragma once
// The render device on OpenGL 1.4 with ARB extensions: the window's rendering
// target, the capability probe, projection and transform stacks, the per-frame
// clear, vertex arrays drawn with surface shaders (the frame's current shader
// changes the state only as far as the next one differs), statistics, the
// frustum culler and the text drawn from font display lists.

#include "kernel/renderer/frustum.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"

class tFrame;
class tOpenGLExtensions;
class tOSRenderingLayer;
class tRenderingTarget;
class tScreenCaptureDevice;
class tViewport;
struct TTextString;

class tOGLRenderDevice : public tRenderDevice {
    Z_DECLARE_CLASS(tOGLRenderDevice, tRenderDevice)
public:
    static constexpr int32_t MaxLights = 100;
    static constexpr uint32_t FontGlyphs = 96;      // characters 32..127
    static constexpr uint32_t FirstFontGlyph = 32;
    static constexpr float DefaultFOV = 90.0f;
    static constexpr float NearPlane = 0.4f;
    static constexpr float FarPlane = 200000.0f;
    // A string's raster position lies this far below its Y.
    static constexpr float TextBaselineOffset = 40.0f;
    // The neutral render state every frame starts from and text is drawn with.
    static constexpr const char* EmptyShaderName = "shaders\\empty.shader";

    tOGLRenderDevice();
    ~tOGLRenderDevice() override;

    bool CreateRenderingContext(tZObject* Viewport) override;
    void DestroyRenderingContext() override;
    void SetFOV(float FOV) override;
    float GetFOV() override { return CurrentFOV; }
    tMeshResource* CreateMesh() override;
    tShaderResource* CreateShader() override;
    tTextureResource* CreateTexture(TTextureType TextureType) override;
    tFont* CreateFont(const ShortString& FontName) override;
    uint32_t GetDefaultFontID() override;
    tLightSource* CreateLightSource() override;
    void DeleteLightSource(tLightSource* Light) override;
    void DeleteFont(tFont* Font) override;
    tShaderProgram* CreateShaderProgram() override;
    void SetProjection(TProjection Projection) override;
    void SetViewport(int32_t X, int32_t Y, int32_t Width, int32_t Height) override;
    void SetFogColor(const TVector4& Color) override;
    TVector4 GetFogColor() override;
    void BeginFrame(TRenderTarget Target) override;
    void EndFrame() override;
    void ForceFixedPipeline() override;
    void CheckError() override;
    void SetRenderState(tShaderResource* Shader) override;
    void AddBuffer(tVertexArray* VertexArray, tShaderResource* Shader) override;
    void AddTextString(float X, float Y, const ShortString& Text, const TVector4* Color) override;
    void AddTextStringZ(float X, float Y, const ShortString& Text, const TVector4* Color) override;
    void AddTextStringZFont(float X, float Y, const ShortString& Text, const TVector4* Color, uint32_t FontID) override;
    void BeginTransform(TTransformType TransformType, const TMatrix4* Matrix) override;
    void EndTransform(TTransformType TransformType) override;
    void EnableClipPlane(int32_t Index, const double* Equation) override;
    void DisableClipPlane(int32_t Index) override;
    TVector3 ProjectPoint(const TVector3& Point) override;
    TMatrix4 ProjectTexture() override;
    TCullFrustum CullBoxAgainstFrustum(const TBoundingBox& Box) override;
    TCullFrustum CullSphereAgainstFrustum(const TBoundingSphere& Sphere) override;
    intptr_t GetPrimaryRenderingContext() override;
    tQueryFeedbackContext* AllocateOcclusionQueryFC() override;
    void BeginSubView(int32_t X, int32_t Y, int32_t Width, int32_t Height, float FOV,
                      const TMatrix4& CameraView) override;
    void EndSubView() override;

    // Counts Count vertices of the OpenGL primitive Primitive and the
    // triangles they make (estimated for lines, strips and quads).
    void UpdateStatistics(uint32_t Primitive, int32_t Count);

    float CurrentFOV = 0;
    tFrame* DefaultFrame = nullptr;
    tRenderingTarget* DefaultRenderingTarget = nullptr;
    // The target of a destroyed context, kept until the next context has taken
    // its textures, programs and buffers over.
    tRenderingTarget* RetiredTarget = nullptr;
    // The scene's fog colour as the destroyed context's frame had it: the
    // weather set it once, and the sky tells day from night by it.
    TVector4 RetiredFogColor = {0, 0, 0, 1};
    tOSRenderingLayer* ORL = nullptr;
    tViewport* Viewport = nullptr;
    tFrustumCuller Frustum;
    tLightSource* Lights[MaxLights] = {};  // the first ActiveLights are in use
    int32_t ActiveLights = 0;
    bool WireFrame = false;
    bool ShowStats = true;
    tScreenCaptureDevice* ScreenShot = nullptr;
    tShaderResource* EmptyShader = nullptr;  // the resources manager's
    TMatrix4 CurrentPerspective = IdentityMatrix4;
    TMatrix4 CurrentOrtho = IdentityMatrix4;
    TProjection CurrentProjection = ZPR_ORTHOGRAPHIC;
    TProjection ProjectionBeforeSubView = ZPR_ORTHOGRAPHIC;
    int32_t MaskValue = 0;  // stencil reference of the current mask, 0..255
    tOpenGLExtensions* OpenGLExt = nullptr;
    tFont* DefaultFont = nullptr;
    float DefaultFontScale = 0;  // the interface scale it was made for

private:
    // The console's face in an 8 x 16 cell, grown by the interface scale.
    void CreateDefaultFont();
    // The projections of a Width x Height rectangle at (X, Y) of the window.
    void SetUpProjections(float FOV, float X, float Y, float Width, float Height);
    void SetUpViewportParams();
    void SetUpVertexArrayManager();
    void SetUpGeometryServer();
    void ShowWarmUpFrame();
    void QueueStatistics();
    void RenderZText(const TTextString& T);
    void DrawTextString(const TTextString& T);
    void RenderTextStrings();

    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
};
