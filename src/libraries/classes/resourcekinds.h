#pragma once
// The resource kinds the resources manager hands out. Each names its loader
// family and its caching directory; the render device and the audio subsystem
// implement the rest.

#include <cstdint>

#include "kernel/audio/waveform.h"
#include "kernel/loaders/image.h"
#include "kernel/resources/resource.h"

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

class tWaveformResource : public tResource {
    Z_DECLARE_CLASS(tWaveformResource, tResource)
public:
    using tResource::tResource;
    ShortString GetLoaderName() override;

    // Takes the samples over.
    virtual void AttachWaveform(TWaveform Waveform) = 0;
    virtual uint32_t GetBufferID() = 0;
};
