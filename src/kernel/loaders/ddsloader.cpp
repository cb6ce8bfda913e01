#include "kernel/loaders/ddsloader.h"

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tDDSLoader, .Operations = {{"FileExtension"},
                                             {"CanSave"},
                                             {"EstimateTextureType"},
                                             {"SaveBitmap"},
                                             {"ReadImage"}})

namespace {

// Field offsets of the 128-byte header.
constexpr int DDSOffHeight = 12, DDSOffWidth = 16, DDSOffDepth = 24, DDSOffRGBBitCount = 88, DDSOffCaps1 = 108,
              DDSOffCaps2 = 112;

constexpr uint32_t DDSCAPS_TEXTURE = 0x1000;
constexpr uint32_t DDSCAPS2_CUBEMAP = 0x200;
constexpr uint32_t DDSCAPS2_VOLUME = 0x200000;
// Positive and negative X, Y, Z.
constexpr uint32_t DDSCAPS2_ALL_FACES = 0x400 | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x8000;
constexpr int32_t CubeFaces = 6;

}  // namespace

TTextureType tDDSLoader::EstimateTextureType(tIStream& Stream) {
    // The header is looked at in the mapping, so the position does not move;
    // a file shorter than the header must not be looked at at all.
    const uint8_t* Header = Stream.MapStream();
    if (!Header || Stream.GetSize() < HeaderSize)
        Logger->Fatal("Invalid DDS file: " + Int2Str(Stream.GetSize()) + " bytes, shorter than its header");
    if (!(ReadLE<uint32_t>(Header + DDSOffCaps1) & DDSCAPS_TEXTURE))
        Logger->Fatal("It is not a volume texture(no DDSD_TEXTURE flag) !");
    const uint32_t Caps2 = ReadLE<uint32_t>(Header + DDSOffCaps2);
    if (Caps2 & DDSCAPS2_VOLUME) return Z_TEXTURE_3D;
    if (!(Caps2 & DDSCAPS2_CUBEMAP))
        Logger->Fatal("It is not a volume texture or cubemap) ! " + Int2Str(static_cast<int32_t>(Caps2)));
    return Z_TEXTURE_CUBE_MAP;
}

TBMPRec tDDSLoader::ReadImage(tIStream& Stream) {
    const TTextureType Type = EstimateTextureType(Stream);
    uint8_t Header[HeaderSize];
    Stream.BlockRead(Header, HeaderSize);

    TBMPRec Image;
    Image.Width = ReadLE<int32_t>(Header + DDSOffWidth);
    Image.Height = ReadLE<int32_t>(Header + DDSOffHeight);
    Image.Depth = 1;
    Image.TextureType = Type;
    const int32_t BitsPerPixel = ReadLE<int32_t>(Header + DDSOffRGBBitCount);
    const int64_t Available = static_cast<int64_t>(Stream.GetSize()) - HeaderSize;

    if (Type == Z_TEXTURE_3D) {
        // The slices follow one another, decoded straight from the mapping.
        Image.Depth = ReadLE<int32_t>(Header + DDSOffDepth);
        return DecodeImage(Image, BitsPerPixel, Stream.MapStreamFromCurrentPos(), Available);
    }
    if (Type != Z_TEXTURE_CUBE_MAP) Logger->Fatal("Not a Texture3D or CubeMap");

    if ((ReadLE<uint32_t>(Header + DDSOffCaps2) & DDSCAPS2_ALL_FACES) != DDSCAPS2_ALL_FACES)
        Logger->Fatal("All six faces of cubemap must be available !");
    Image.Depth = CubeFaces;
    // Checked before the face memory is sized from the header.
    if (BitsPerPixel != 24 && BitsPerPixel != 32) Logger->Fatal("CubeMap can be 24 or 32 bits only !");
    Logger->Guard(Image.Width >= 0 && Image.Height >= 0, "Invalid cube map size");
    const unsigned __int128 Needed = static_cast<unsigned __int128>(Image.Width) * static_cast<uint32_t>(Image.Height) *
                                     CubeFaces * static_cast<uint32_t>(BitsPerPixel) / 8;
    RequireImageData(Image, BitsPerPixel, Needed, Available);
    const auto Bytes = static_cast<uint64_t>(Needed);
    // The faces are kept exactly as stored, in file order.
    auto Faces = std::make_unique_for_overwrite<uint8_t[]>(Bytes);
    Stream.BlockRead(Faces.get(), static_cast<int32_t>(Bytes));
    Image.UseAlpha = BitsPerPixel == 32;
    (Image.UseAlpha ? Image.PixelDataA : Image.PixelData) = std::move(Faces);
    return Image;
}
