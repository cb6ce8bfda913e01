#pragma once
// Loader tests: files written into Data/ and read through the file system,
// the registry with the built-in class table, small image and sound files
// built in memory, and resources that record what they received.

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/loaders/bitmaploader.h"
#include "kernel/objects/registry.h"
#include "kernel/resources/resourcekinds.h"
#include "vfs/xzml_fixture.h"

using Bytes = std::vector<uint8_t>;

// What every test resource answers the manager with: no cache, loading by
// SetFileName alone.
template <class Kind>
class tTestResource : public Kind {
public:
    ShortString GetCachingDir() override { return "Cache\\Tests"; }
    bool IsCached() override { return false; }
    void CacheTo() override {}
    void SetFileName(const ShortString& Name) override { this->FileName = Name; }
    bool RequestUsage() override { return true; }
    void Purge() override {}
};

// Keeps the image it is given and whether that happened inside the load bracket.
class tRecordingTexture : public tTestResource<tTextureResource> {
    Z_DECLARE_CLASS(tRecordingTexture, tTextureResource)
public:
    void AttachImage(TBMPRec I) override {
        AttachedWhileLoading = Loading;
        Image = std::move(I);
    }
    void Bind(uint32_t) override {}
    TBMPRec Image;
    bool AttachedWhileLoading = false;
};

class tRecordingWaveform : public tTestResource<tWaveformResource> {
    Z_DECLARE_CLASS(tRecordingWaveform, tWaveformResource)
public:
    void AttachWaveform(TWaveform W) override {
        AttachedWhileLoading = Loading;
        Wave = std::move(W);
    }
    uint32_t GetBufferID() override { return 0; }
    TWaveform Wave;
    bool AttachedWhileLoading = false;
};

class LoaderTest : public XZMLTest {
protected:
    void SetUp() override {
        XZMLTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
    }
    void TearDown() override {
        if (FS) tZObject::DisposeObject(FS);
        tZObject::DisposeObject(Linker);
        XZMLTest::TearDown();
    }

    std::unique_ptr<tXZMLStream> FileReader(const Bytes& File, const std::string& Name) {
        return Reader(std::string(File.begin(), File.end()), Name);
    }

    // A new loader of the class registered for FileName in Family.
    template <class T>
    T* LoaderFor(const ShortString& Family, const ShortString& FileName) {
        tZClass C;
        Linker->FindFileLoader(Family, FileName, C);
        return dynamic_cast<T*>(tZObject::Instantiate(C, ""));
    }

    // Loads File, written as Data/<Name>, into a new recording texture
    // through the bitmap loader registered for Name.
    TBMPRec LoadImage(const Bytes& File, const std::string& Name) {
        auto* Texture = NewObject<tRecordingTexture>();
        auto* Loader = LoaderFor<tBitmapLoader>("tBitmapLoader", Name);
        Loader->Load(*FileReader(File, Name), *Texture);
        EXPECT_TRUE(Texture->AttachedWhileLoading);
        EXPECT_FALSE(Texture->Loading);
        TBMPRec Image = std::move(Texture->Image);
        tZObject::DisposeObject(Loader);
        tZObject::DisposeObject(Texture);
        return Image;
    }
};

// Pixel (X, Y) of slice Z of a test pattern, channel 0..3, distinct across a
// small image.
inline uint8_t PatternByte(int X, int Y, int Channel, int Z = 0) {
    return static_cast<uint8_t>(Z * 64 + X * 16 + Y * 4 + Channel + 1);
}

// A BMP file of Width x Height pixels of BitsPerPixel bits; the file's rows are
// stored bottom first, so file row R holds pattern row Height - 1 - R, in BGR(A).
// Rows are padded to 4 bytes.
inline Bytes MakeBMP(int32_t Width, int32_t Height, int BitsPerPixel, uint32_t Compression = 0) {
    const int BytesPerPixel = BitsPerPixel / 8;
    const int RowBytes = (Width * BytesPerPixel + 3) / 4 * 4;
    Bytes F(54 + static_cast<std::size_t>(RowBytes) * Height, 0);
    F[0] = 'B';
    F[1] = 'M';
    WriteLE<uint32_t>(&F[2], static_cast<uint32_t>(F.size()));
    WriteLE<uint32_t>(&F[10], 54);
    WriteLE<uint32_t>(&F[14], 40);
    WriteLE<int32_t>(&F[18], Width);
    WriteLE<int32_t>(&F[22], Height);
    WriteLE<uint16_t>(&F[26], 1);
    WriteLE<uint16_t>(&F[28], static_cast<uint16_t>(BitsPerPixel));
    WriteLE<uint32_t>(&F[30], Compression);
    for (int R = 0; R < Height; ++R)
        for (int X = 0; X < Width; ++X)
            for (int Ch = 0; Ch < BytesPerPixel; ++Ch) {
                // BGR(A) on file: byte 0 is blue (pattern channel 2).
                int PatternChannel = Ch < 3 ? 2 - Ch : 3;
                F[54 + static_cast<std::size_t>(R) * RowBytes + X * BytesPerPixel + Ch] =
                    PatternByte(X, Height - 1 - R, PatternChannel);
            }
    return F;
}
