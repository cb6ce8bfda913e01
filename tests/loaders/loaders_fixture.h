#pragma once
// Loader tests: the logger, the registry with the built-in class table, small
// image files built in memory, and a texture that records what it received.

#include <cstdint>
#include <string>
#include <vector>

#include "common/memorystream.h"
#include "common/testenv.h"
#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/resources/registry.h"
#include "libraries/classes/resourcekinds.h"

// Records the load bracket and keeps the image it is given.
class tRecordingTexture : public tTextureResource {
    Z_DECLARE_CLASS(tRecordingTexture, tTextureResource)
public:
    ShortString GetCachingDir() override { return "Cache\\Textures"; }
    bool IsCached() override { return false; }
    void CacheTo() override {}
    void SetFileName(const ShortString& Name) override { FileName = Name; }
    bool RequestUsage() override { return true; }
    void Purge() override {}
    void AttachImage(TBMPRec I) override {
        Attached = true;
        AttachedWhileLoading = Loading;
        Image = std::move(I);
    }
    void Bind(uint32_t) override {}

    TBMPRec Image;
    bool Attached = false;
    bool AttachedWhileLoading = false;
};

class LoaderTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
    }
    void TearDown() override {
        tZObject::DisposeObject(Linker);
        EngineTest::TearDown();
    }

    // A new loader of the class registered for FileName in Family.
    template <class T>
    T* LoaderFor(const ShortString& Family, const ShortString& FileName) {
        tZClass C;
        Linker->FindFileLoader(Family, FileName, C);
        return dynamic_cast<T*>(tZObject::Instantiate(C, ""));
    }
};

// Pixel (X, Y) of a test pattern, channel 0..3, distinct across a small image.
inline uint8_t PatternByte(int X, int Y, int Channel) { return static_cast<uint8_t>(X * 16 + Y * 4 + Channel + 1); }

// A BMP file of Width x Height pixels of BitsPerPixel bits; the file's rows are
// stored bottom first, so file row R holds pattern row Height - 1 - R, in BGR(A).
// Rows are padded to 4 bytes.
inline std::vector<uint8_t> MakeBMP(int32_t Width, int32_t Height, int BitsPerPixel, uint32_t Compression = 0) {
    const int BytesPerPixel = BitsPerPixel / 8;
    const int RowBytes = (Width * BytesPerPixel + 3) / 4 * 4;
    std::vector<uint8_t> F(54 + static_cast<std::size_t>(RowBytes) * Height, 0);
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
