#pragma once
// The render device is the one object through which the engine draws: frame
// begin and end, projection and view transforms, text output, fonts and
// lights. tRenderable is the base of everything that can be drawn.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/renderer/bounds.h"
#include "kernel/resources/zobject.h"
#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

class tFont;

enum TTransformType : int32_t { ZFT_MULT = 0, ZFT_REPLACE = 1, ZFT_BEGINMASK = 2, ZFT_USEMASK = 3, ZFT_ENDMASK = 4 };
enum TProjection : int32_t { ZPR_ORTHOGRAPHIC = 0, ZPR_PERSPECTIVE = 1 };
enum TCullFrustum : int32_t { OUTSIDE_FRUSTUM = 0, INSIDE_FRUSTUM = 1, PARTIALLY_INSIDE_FRUSTUM = 2 };
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

    virtual bool CreateRenderingContext(tZObject* Viewport) = 0;
    virtual void DestroyRenderingContext() = 0;
    virtual void SetFOV(float FOV) = 0;
    virtual float GetFOV() = 0;
    // FontName is the font class's parameter string, not only a face name.
    virtual tFont* CreateFont(const ShortString& FontName) = 0;
    virtual uint32_t GetDefaultFontID() = 0;
    virtual tLightSource* CreateLightSource() = 0;
    virtual void DeleteLightSource(tLightSource* Light) = 0;
    virtual void DeleteFont(tFont* Font) = 0;
    virtual void SetProjection(TProjection Projection) = 0;
    virtual void SetViewport(int32_t X, int32_t Y, int32_t Width, int32_t Height) = 0;
    // Takes effect at the next BeginFrame.
    virtual void SetFogColor(const TVector4& Color) = 0;
    virtual TVector4 GetFogColor() = 0;
    virtual void BeginFrame(TRenderTarget Target);
    virtual void EndFrame() = 0;
    virtual void CheckError() = 0;
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

    int64_t VerticesRendered() const { return R_Vertices; }
    int64_t TrianglesRendered() const { return R_Triangles; }

    bool ContextExist = false;
    TMatrix4 MProjection_Matrix = IdentityMatrix4;
    int64_t R_Vertices = 0;
    int64_t R_Triangles = 0;
};
