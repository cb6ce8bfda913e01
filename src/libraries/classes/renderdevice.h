#pragma once
// The render device is the one object through which the engine draws: frame
// begin and end, projection and view transforms, text output, vertex arrays
// drawn with surface shaders, factories for shaders, textures, fonts, lights,
// GPU programs and occlusion queries, frustum tests. tRenderable is the base
// of everything that can be drawn.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "libraries/classes/shaderstate.h"
#include "libraries/classes/texturetype.h"
#include "libraries/math/bounds.h"
#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

class tFont;
class tMeshResource;
class tGeometryServer;
class tQueryFeedbackContext;
class tShaderProgram;
class tShaderResource;
class tTextureResource;
class tVertexArray;
class tVertexArrayManager;

enum TTransformType : int32_t { ZFT_MULT = 0, ZFT_REPLACE = 1, ZFT_BEGINMASK = 2, ZFT_USEMASK = 3, ZFT_ENDMASK = 4 };
enum TRenderTarget : int32_t { ZRT_BACKBUFFER = 0, ZRT_PBUFFER = 1 };

// Whoever owns a renderable calls Render when it is to be drawn in the
// current transform.
class tRenderable : public tZObject {
    Z_DECLARE_CLASS(tRenderable, tZObject)
public:
    tRenderable() = default;
    explicit tRenderable(const ShortString& Params) : tZObject(Params) {}
    virtual void Render() = 0;
};

// The world's time and its camera's place and viewing transformation, as the
// world hands them to the device for the frame's GPU programs.
struct TSceneView {
    float WorldTime = 0;
    TVector3 CameraPos;
    TMatrix4 CameraView = IdentityMatrix4;
};

class tLightSource : public tZObject {
    Z_DECLARE_CLASS(tLightSource, tZObject)
public:
    TVector4 Color;
    float Intensity = 0;
    TVector3 Position;
};

class tRenderDevice : public tZObject {
    Z_DECLARE_CLASS(tRenderDevice, tZObject)
public:
    tRenderDevice();
    ~tRenderDevice() override;

    // False for a device that draws nothing: the engine then draws no frames.
    virtual bool DrawsFrames() const { return true; }
    virtual bool CreateRenderingContext(tZObject* Viewport) = 0;
    virtual void DestroyRenderingContext() = 0;
    virtual void SetFOV(float FOV) = 0;
    virtual float GetFOV() = 0;
    // Factories: the caller owns what they return. A device without a mesh
    // class refuses meshes (fatal).
    virtual tMeshResource* CreateMesh();
    virtual tShaderResource* CreateShader() = 0;
    virtual tTextureResource* CreateTexture(TTextureType TextureType) = 0;
    // FontName is the font class's parameter string, not only a face name.
    virtual tFont* CreateFont(const ShortString& FontName) = 0;
    virtual uint32_t GetDefaultFontID() = 0;
    virtual tLightSource* CreateLightSource() = 0;
    virtual void DeleteLightSource(tLightSource* Light) = 0;
    virtual void DeleteFont(tFont* Font) = 0;
    virtual tShaderProgram* CreateShaderProgram() = 0;
    virtual void SetProjection(TProjection Projection) = 0;
    virtual void SetViewport(int32_t X, int32_t Y, int32_t Width, int32_t Height) = 0;
    // Takes effect at the next BeginFrame.
    virtual void SetFogColor(const TVector4& Color) = 0;
    virtual TVector4 GetFogColor() = 0;
    virtual void BeginFrame(TRenderTarget Target);
    virtual void EndFrame() = 0;
    // Unbinds any GPU program.
    virtual void ForceFixedPipeline() = 0;
    virtual void CheckError() = 0;
    // Changes the OpenGL state from the frame's current shader's to Shader's.
    virtual void SetRenderState(tShaderResource* Shader) = 0;
    // Draws the vertex array with Shader and counts it in the statistics.
    virtual void AddBuffer(tVertexArray* VertexArray, tShaderResource* Shader) = 0;
    // Queued: drawn over everything at EndFrame, in order of addition.
    virtual void AddTextString(float X, float Y, const ShortString& Text, const TVector4* Color) = 0;
    // Immediate: drawn at once with the default font, or with FontID.
    virtual void AddTextStringZ(float X, float Y, const ShortString& Text, const TVector4* Color) = 0;
    virtual void AddTextStringZFont(float X, float Y, const ShortString& Text, const TVector4* Color,
                                    uint32_t FontID) = 0;
    // Matched pairs with the same transform type.
    virtual void BeginTransform(TTransformType TransformType, const TMatrix4* Matrix) = 0;
    virtual void EndTransform(TTransformType TransformType) = 0;
    virtual void EnableClipPlane(int32_t Index, const double* Equation) = 0;
    virtual void DisableClipPlane(int32_t Index) = 0;
    // Point to window pixels (top-left origin) and depth through the current
    // matrices; a point behind the camera comes out mirrored.
    virtual TVector3 ProjectPoint(const TVector3& Point) = 0;
    // Clip space to [0, 1] texture space after the current matrices.
    virtual TMatrix4 ProjectTexture() = 0;
    // Against the frustum of the current matrices.
    virtual TCullFrustum CullBoxAgainstFrustum(const TBoundingBox& Box) = 0;
    virtual TCullFrustum CullSphereAgainstFrustum(const TBoundingSphere& Sphere) = 0;
    virtual intptr_t GetPrimaryRenderingContext() = 0;
    virtual tQueryFeedbackContext* AllocateOcclusionQueryFC() = 0;
    // Draws into a rectangle of the window (pixels, top-left origin) as a
    // scene of its own until EndSubView: nothing lands outside it, its depth
    // starts cleared, the perspective projection takes its shape and FOV
    // (degrees, vertical), and CameraView is the viewing transformation,
    // which GPU programs also take for the camera's. Sub-views do not nest.
    // A device that draws nothing ignores them.
    virtual void BeginSubView(int32_t X, int32_t Y, int32_t Width, int32_t Height, float FOV,
                              const TMatrix4& CameraView);
    // The whole window again, with the projection and matrices of before.
    virtual void EndSubView();

    int64_t VerticesRendered() const { return R_Vertices; }
    int64_t TrianglesRendered() const { return R_Triangles; }
    // Frames begun since the device was made.
    int64_t FramesBegun() const { return R_Frames; }
    // The camera of the sub-view being drawn, nullptr outside one.
    const TMatrix4* SubViewCamera() const { return InSubView ? &SubViewCameraView : nullptr; }
    // What GPU programs are shown of the scene. The world hands it over each
    // frame before it draws; until then, the one handed last.
    void SetSceneView(const TSceneView& View) { SceneView = View; }
    const TSceneView& GetSceneView() const { return SceneView; }

    bool ContextExist = false;
    // The widest and tallest viewport the context can draw into; 0 before
    // there is a context (or for a device that draws nothing).
    int32_t MaxViewportSide = 0;
    TMatrix4 MProjection_Matrix = IdentityMatrix4;
    int64_t R_Vertices = 0;
    int64_t R_Triangles = 0;
    int64_t R_Frames = 0;
    tVertexArrayManager* VertexArrayManager = nullptr;  // owned
    tGeometryServer* GeometryServer = nullptr;          // owned

protected:
    bool InSubView = false;
    TMatrix4 SubViewCameraView = IdentityMatrix4;
    TSceneView SceneView;
};
