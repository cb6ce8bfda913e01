#pragma once
// The resource kinds the resources manager hands out. Each names its loader
// family and its caching directory; the render device and the audio subsystem
// implement the rest.

#include <cstdint>
#include <vector>

#include "kernel/loaders/image.h"
#include "kernel/loaders/waveform.h"
#include "kernel/resources/resource.h"
#include "libraries/classes/shaderstate.h"
#include "libraries/math/matrix.h"

class tQueryFeedbackContext;
class tShaderProgram;

// A texture's texels kept in memory for changes made while the game runs:
// RGB, three bytes a texel, rows of the level's width; level 0 first, each
// level half as wide and high as the one before (at least 1), down to 1 x 1.
struct TTexelCopy {
    int32_t Width = 0, Height = 0;
    std::vector<std::vector<uint8_t>> Levels;

    int32_t LevelWidth(int32_t Level) const { return Width >> Level > 0 ? Width >> Level : 1; }
    int32_t LevelHeight(int32_t Level) const { return Height >> Level > 0 ? Height >> Level : 1; }
    uint8_t* Texel(int32_t Level, int32_t X, int32_t Y) {
        return &Levels[std::size_t(Level)][(std::size_t(Y) * std::size_t(LevelWidth(Level)) + std::size_t(X)) * 3];
    }
};

class tTextureResource : public tResource {
    Z_DECLARE_CLASS(tTextureResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;
    ShortString GetCachingDir() override;

    // Takes the decoded image over.
    virtual void AttachImage(TBMPRec Image) = 0;
    // TextureUnit is an OpenGL texture-unit enumerant.
    virtual void Bind(uint32_t TextureUnit) = 0;
    // The texture's texels kept in memory, read back from the texture the
    // first time; nullptr for a texture that is no mipmapped RGB picture.
    virtual TTexelCopy* KeepTexelCopy() { return nullptr; }
    // After level 0 of the copy changed inside X0..X1, Y0..Y1 (inclusive):
    // the coarser levels over it are averaged anew from it and the rectangle
    // is uploaded in every level. The whole picture, after a new context.
    virtual void TexelsChanged(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {}
    // Minified, the texture is read from the nearest mip level alone instead
    // of blending the two around: half the texel reads of a software
    // rasterizer, the same picture where the levels differ little (a smooth
    // colour map, a mid-grey detail). Kept for the texture's later uploads.
    virtual void UseNearestMip() {}
};

// A surface shader: the render state everything is drawn with.
class tShaderResource : public tResource {
    Z_DECLARE_CLASS(tShaderResource, tResource)
public:
    using tResource::tResource;
    ~tShaderResource() override;
    ShortString GetLoaderName() override;
    ShortString GetCachingDir() override;

    // Makes this shader's whole state current.
    virtual void SetState() = 0;
    // Changes only what differs from Previous's state.
    virtual void UpdateState(tShaderResource* Previous) = 0;
    // Resets the texture matrices this draw changed.
    virtual void RestoreMatrices() = 0;
    // A caller's texture matrix for one unit, ahead of the unit's animation.
    virtual void AttachTextureMatrix(int32_t Unit, const TMatrix4& Matrix) = 0;

    int32_t TexturesUsed = -1;  // units in use, -1 until a unit names its file
    TShaderTextureRec Texture[MaxShaderTextureUnits];
    TBlending Blending;
    TProjection Projection = ZPR_ORTHOGRAPHIC;
    bool DepthTest = false, DepthWrites = false, ColorWrites = false, OcclusionTest = false;
    TVertexAnimation Animation = VA_NONE;
    TVertexAnimationParams AnimationParams;
    TPointSprite PointSprite;
    // Counts the samples drawn with this shader while OcclusionTest is on;
    // set by its user, not owned.
    tQueryFeedbackContext* FeedbackContext = nullptr;
    tShaderProgram* ShaderProgram = nullptr;  // owned
};

class tSubMesh;

// Meshes are shared per name and size; every request gets a replica.
class tMeshResource : public tResource {
    Z_DECLARE_CLASS(tMeshResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;
    ShortString GetCachingDir() override;

    // A new mesh with copies of this one's sub-meshes; the caller owns it.
    tMeshResource* Replicate() override = 0;
    // The size this mesh was resized to.
    virtual float ResizedDimension() = 0;
    // Draws the first level of detail in the current transform.
    virtual void RenderSubMeshes() = 0;
    // Appends S (owned from then on) to the level being filled.
    virtual void AddSubMesh(tSubMesh* S) = 0;
    // Scales the first level to a width of Size along X and centres it.
    virtual void Resize(float Size) = 0;
};

class tWaveformResource : public tResource {
    Z_DECLARE_CLASS(tWaveformResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;
    ShortString GetCachingDir() override;

    // Takes the samples over.
    virtual void AttachWaveform(TWaveform Waveform) = 0;
    virtual uint32_t GetBufferID() = 0;
};
