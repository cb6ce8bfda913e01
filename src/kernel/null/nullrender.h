#pragma once
// The render device of a program that draws nothing (the dedicated server):
// textures keep no texels, shaders are read (their textures too, so a broken
// file still shows) but set no state, meshes and vertex arrays are built in
// memory as usual, and no frame is ever drawn.

#include "kernel/renderer/shadersetup/shadersetup.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/shaderprogram.h"

class tNullTextureResource : public tTextureResource {
    Z_DECLARE_CLASS(tNullTextureResource, tTextureResource)
public:
    void AttachImage(TBMPRec) override {}
    void Bind(uint32_t) override {}
};

class tNullShaderResource : public tShaderSetup {
    Z_DECLARE_CLASS(tNullShaderResource, tShaderSetup)
public:
    void SetState() override {}
    void UpdateState(tShaderResource*) override {}
    void RestoreMatrices() override {}
    void AttachTextureMatrix(int32_t, const TMatrix4&) override {}
};

class tNullRenderDevice : public tRenderDevice {
    Z_DECLARE_CLASS(tNullRenderDevice, tRenderDevice)
public:
    // Vertex arrays in memory and the standard geometry server.
    tNullRenderDevice();
    ~tNullRenderDevice() override;

    bool DrawsFrames() const override { return false; }
    bool CreateRenderingContext(tZObject*) override { return ContextExist = true; }
    void DestroyRenderingContext() override { ContextExist = false; }
    void SetFOV(float NewFOV) override { FOV = NewFOV; }
    float GetFOV() override { return FOV; }
    tMeshResource* CreateMesh() override;
    tShaderResource* CreateShader() override { return NewObject<tNullShaderResource>(); }
    tTextureResource* CreateTexture(TTextureType) override { return NewObject<tNullTextureResource>(); }
    tFont* CreateFont(const ShortString&) override { return nullptr; }
    uint32_t GetDefaultFontID() override { return 0; }
    tLightSource* CreateLightSource() override { return NewObject<tLightSource>(); }
    void DeleteLightSource(tLightSource* Light) override { DisposeObject(Light); }
    void DeleteFont(tFont*) override {}
    tShaderProgram* CreateShaderProgram() override;
    void SetProjection(TProjection) override {}
    void SetViewport(int32_t, int32_t, int32_t, int32_t) override {}
    void SetFogColor(const TVector4& Color) override { FogColor = Color; }
    TVector4 GetFogColor() override { return FogColor; }
    void EndFrame() override {}
    void ForceFixedPipeline() override {}
    void CheckError() override {}
    void SetRenderState(tShaderResource*) override {}
    void AddBuffer(tVertexArray*, tShaderResource*) override {}
    void AddTextString(float, float, const ShortString&, const TVector4*) override {}
    void AddTextStringZ(float, float, const ShortString&, const TVector4*) override {}
    void AddTextStringZFont(float, float, const ShortString&, const TVector4*, uint32_t) override {}
    void BeginTransform(TTransformType, const TMatrix4*) override {}
    void EndTransform(TTransformType) override {}
    void EnableClipPlane(int32_t, const double*) override {}
    void DisableClipPlane(int32_t) override {}
    TVector3 ProjectPoint(const TVector3&) override { return {}; }
    TMatrix4 ProjectTexture() override { return IdentityMatrix4; }
    TCullFrustum CullBoxAgainstFrustum(const TBoundingBox&) override { return OUTSIDE_FRUSTUM; }
    TCullFrustum CullSphereAgainstFrustum(const TBoundingSphere&) override { return OUTSIDE_FRUSTUM; }
    intptr_t GetPrimaryRenderingContext() override { return 0; }
    tQueryFeedbackContext* AllocateOcclusionQueryFC() override { return nullptr; }

private:
    float FOV = 90;
    TVector4 FogColor;
};

// A GPU program that is never compiled nor run.
class tNullShaderProgram : public tShaderProgram {
public:
    void LoadVertexShaderFromFile(const ShortString&) override {}
    void LoadFragmentShaderFromFile(const ShortString&) override {}
    void Compile() override {}
    void UseProgram() override {}
    void SetupProgramsParams() override {}
    void SetDeltaTex(const TVector4&) override {}
    void SetLocalParam(int32_t, const TVector4&) override {}
    void SetBinormals(const void*) override {}
    void SetTangents(const void*) override {}
};
