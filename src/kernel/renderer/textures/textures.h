#pragma once
// OpenGL textures: an image handed over by an image loader (or read back from
// the texture's cache file) is uploaded once and bound to texture units by
// the surface shaders. The three kinds differ in their OpenGL target and in
// how the pixels are uploaded:
//   t2DTexture     RGBA: one level, linear filtering; RGB: a full mipmap chain
//   t3DTexture     a volume with a full mipmap chain
//   tCubeTexture   six faces (+X, -X, +Y, -Y, +Z, -Z), stored compressed
//
// The cache file holds the 25-byte image record (Width, Height, Depth,
// UseAlpha, TextureType, two pixel-pointer fields without meaning), all
// little-endian, followed by the pixel block.

#include <cstdint>
#include <memory>

#include "kernel/resources/resourcekinds.h"

class tStream;
class tIStream;

class tTextureFields : public tTextureResource {
    Z_DECLARE_CLASS(tTextureFields, tTextureResource)
public:
    static constexpr int32_t CacheRecordSize = 25;

    tTextureFields();
    // Deletes the OpenGL texture; needs the context the texture was made in.
    ~tTextureFields() override;

    // Writes the image and its pixels to the cache file.
    void CacheTo() override;
    // Uploads the cache file's pixels straight from the file; afterwards the
    // texture holds no pixel memory.
    void CacheFrom() override;
    // Once per texture: takes the image over and uploads it.
    void AttachImage(TBMPRec NewImage) override;
    // When the texture is in use: binds it to TextureUnit, enables its target
    // there and disables the other two targets. Otherwise nothing changes.
    void Bind(uint32_t TextureUnit) override;

    virtual void SaveTextureInInternalFormat(tStream& Stream);
    virtual void LoadTextureInInternalFormat(tIStream& Stream);
    virtual uint32_t TextureTarget() = 0;

    uint32_t TexID = 0;  // the OpenGL texture name, 0 until an image comes
    bool Attached = false;
    TBMPRec Image;

protected:
    // Uploads Image's dimensions with Pixels (RGBA when Image.UseAlpha, else
    // RGB) into the bound texture.
    virtual void Upload(const uint8_t* Pixels) = 0;

private:
    // Bytes of Image's pixel block; fatal for dimensions no image can have.
    uint64_t PixelBlockSize() const;
    void GenerateName();
    // Binds the texture to unit 0 for an upload, with byte-aligned rows.
    void PrepareUpload();
};

class t2DTexture : public tTextureFields {
    Z_DECLARE_CLASS(t2DTexture, tTextureFields)
public:
    uint32_t TextureTarget() override;
    // Read back level by level with the texture's own mipmaps.
    TTexelCopy* KeepTexelCopy() override;
    void TexelsChanged(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) override;
    void UseNearestMip() override;

protected:
    void Upload(const uint8_t* Pixels) override;

private:
    uint32_t MinFilter() const;

    std::unique_ptr<TTexelCopy> Copy;
    bool NearestMip = false;
};

class t3DTexture : public tTextureFields {
    Z_DECLARE_CLASS(t3DTexture, tTextureFields)
public:
    uint32_t TextureTarget() override;

protected:
    void Upload(const uint8_t* Pixels) override;
};

class tCubeTexture : public tTextureFields {
    Z_DECLARE_CLASS(tCubeTexture, tTextureFields)
public:
    static constexpr int32_t Faces = 6;
    uint32_t TextureTarget() override;

protected:
    void Upload(const uint8_t* Pixels) override;
};
