#pragma once
// The surface shader on OpenGL: applies the state its script describes.
// Texture-coordinate animation, the vertex rotation and the occlusion query
// belong to one draw: RestoreMatrices, called after the draw, undoes the
// matrices and ends the query.

#include "kernel/renderer/shadersetup/shadersetup.h"

class tOGLShaderResource : public tShaderSetup {
    Z_DECLARE_CLASS(tOGLShaderResource, tShaderSetup)
public:
    // The whole state, once the script has been read.
    void SetState() override;
    // Only what differs from Previous's state, and what changes from draw
    // to draw (animations, the query and the GPU program's parameters).
    // Code that sets the projection or other state of the shaders directly
    // makes the frame forget its current shader.
    void UpdateState(tShaderResource* Previous) override;
    void RestoreMatrices() override;
    // Fatal for a unit outside 0..3.
    void AttachTextureMatrix(int32_t Unit, const TMatrix4& Matrix) override;

    bool TextureMatrixChanged[MaxShaderTextureUnits] = {};

private:
    void ApplyDrawState(float Time, const tOGLShaderResource* Previous);
    void RotateVertices(float Time);
    void BindUnitTexture(int32_t Unit);
    void SetTextureEnvironment(int32_t Unit);
    void AnimateTexture(int32_t Unit, float Time);
    void ApplyFixedState(const tOGLShaderResource* Previous);
    void BeginOcclusionQuery();

    bool ModelViewRotated = false;
    TMatrix4 SavedModelView = IdentityMatrix4;
};
