#include "kernel/loaders/bitmaploader.h"

#include <cstring>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/resources/resourcekinds.h"

Z_IMPLEMENT_CLASS(tBitmapLoader, .Operations = {{"EstimateTextureType", ZOP_ABSTRACT}, {"SaveBitmap", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tBitmapDecoder, .Operations = {{"Load"}, {"DecodeImage"}, {"ReadImage", ZOP_ABSTRACT}})

namespace {

// 0 passes, as for the texture upload; negative values fail.
bool IsPowerOfTwo(int32_t V) { return V >= 0 && (V & (V - 1)) == 0; }

uint64_t AlignUp(uint64_t V, uint64_t Alignment) { return (V + Alignment - 1) / Alignment * Alignment; }

}  // namespace

void tBitmapDecoder::RequireImageData(const TBMPRec& Bitmap, int32_t BitsPerPixel, unsigned __int128 Needed,
                                      int64_t Available) {
    if (Available < 0) Available = 0;
    if (Needed <= static_cast<uint64_t>(Available)) return;
    Logger->Fatal("Image data is shorter than its header announces: " + Int2Str(Bitmap.Width) + "x" +
                  Int2Str(Bitmap.Height) + "x" + Int2Str(static_cast<uint32_t>(Bitmap.Depth)) + " pixels of " +
                  Int2Str(BitsPerPixel) + " bits, " + Int2Str(Available) + " bytes present");
}

TBMPRec tBitmapDecoder::DecodeImage(const TBMPRec& Bitmap, int32_t BitsPerPixel, const uint8_t* Data,
                                    int64_t DataSize, int32_t RowAlignment) {
    TBMPRec Result = Bitmap.Shape();
    Logger->Guard(IsPowerOfTwo(Bitmap.Width) && IsPowerOfTwo(Bitmap.Height), "Unable to decode non-power-of-two texture");
    if (BitsPerPixel != 8 && BitsPerPixel != 24 && BitsPerPixel != 32)
        Logger->Fatal("Can only decode 24 or 32 bits per pixel images");

    const uint64_t W = static_cast<uint64_t>(Bitmap.Width);
    const uint64_t H = static_cast<uint64_t>(Bitmap.Height);
    // A depth read from a file may be anything; a negative one is as absurd
    // as a huge one and is refused by the size check below.
    const uint64_t D = static_cast<uint32_t>(Bitmap.Depth);
    const uint64_t SourcePixelBytes = static_cast<uint64_t>(BitsPerPixel) / 8;
    const uint64_t SourceRowBytes = AlignUp(W * SourcePixelBytes, static_cast<uint64_t>(RowAlignment));
    const unsigned __int128 Needed = static_cast<unsigned __int128>(SourceRowBytes) * H * D;
    RequireImageData(Bitmap, BitsPerPixel, Needed, Data ? DataSize : 0);

    // Bounded by the data present, except that an image with one dimension 0
    // needs no data whatever the others say: it has no pixels to walk through.
    const uint64_t Pixels = W * H * D;
    const uint64_t PixelBytes = BitsPerPixel == 32 ? 4 : 3;
    Result.UseAlpha = BitsPerPixel == 32;
    auto Out = std::make_unique_for_overwrite<uint8_t[]>(Pixels * PixelBytes);

    for (uint64_t Z = 0; Pixels > 0 && Z < D; ++Z) {
        for (uint64_t Y = 0; Y < H; ++Y) {
            const uint8_t* Src = Data + (Z * H + Y) * SourceRowBytes;
            // Grey rows keep their order; colour rows are turned upside down.
            uint64_t DestRow = BitsPerPixel == 8 ? Y : H - 1 - Y;
            uint8_t* Dst = Out.get() + ((Z * H + DestRow) * W) * PixelBytes;
            for (uint64_t X = 0; X < W; ++X, Src += SourcePixelBytes, Dst += PixelBytes) {
                if (BitsPerPixel == 8) {
                    Dst[0] = Dst[1] = Dst[2] = Src[0];
                } else {
                    Dst[0] = Src[2];
                    Dst[1] = Src[1];
                    Dst[2] = Src[0];
                    if (BitsPerPixel == 32) Dst[3] = Src[3];
                }
            }
        }
    }
    if (Result.UseAlpha) Result.PixelDataA = std::move(Out);
    else Result.PixelData = std::move(Out);
    return Result;
}

void tBitmapDecoder::Load(tIStream& Stream, tResource& Resource) {
    ProcTrace trace(ShortString(GetClass()->DeclaredName()) + ".LoadBitmap()");
    auto& Texture = dynamic_cast<tTextureResource&>(Resource);
    Texture.BeginLoad();
    Texture.AttachImage(ReadImage(Stream));
    Texture.EndLoad();
}
