#pragma once
// The resource kinds the resources manager hands out. Each names its loader
// family and its caching directory; the render device and the audio subsystem
// implement the rest.

#include <cstdint>

#include "kernel/audio/waveform.h"
#include "kernel/loaders/image.h"
#include "kernel/resources/resource.h"
#include "libraries/math/matrix.h"

class tTextureResource : public tResource {
    Z_DECLARE_CLASS(tTextureResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;

    // Takes the decoded image over.
    virtual void AttachImage(TBMPRec Image) = 0;
    // TextureUnit is an OpenGL texture-unit enumerant.
    virtual void Bind(uint32_t TextureUnit) = 0;
};

class tShaderResource : public tResource {
    Z_DECLARE_CLASS(tShaderResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;

    // Makes this shader's whole state current.
    virtual void SetState() = 0;
    // Changes only what differs from Previous's state.
    virtual void UpdateState(tShaderResource* Previous) = 0;
    // Resets the texture matrices this draw changed.
    virtual void RestoreMatrices() = 0;
    // A caller's texture matrix for one unit, ahead of the unit's animation.
    virtual void AttachTextureMatrix(int32_t Unit, const TMatrix4& Matrix) = 0;
};

// Meshes are shared per name and size; every request gets a replica.
class tMeshResource : public tResource {
    Z_DECLARE_CLASS(tMeshResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;

    // A new mesh with copies of this one's sub-meshes; the caller owns it.
    tMeshResource* Replicate() override = 0;
    // The size this mesh was resized to.
    virtual float ResizedDimension() = 0;
    virtual void Resize(float Size) = 0;
};

class tWaveformResource : public tResource {
    Z_DECLARE_CLASS(tWaveformResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;

    // Takes the samples over.
    virtual void AttachWaveform(TWaveform Waveform) = 0;
    virtual uint32_t GetBufferID() = 0;
};
