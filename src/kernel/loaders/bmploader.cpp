#include "kernel/loaders/bmploader.h"

#include <vector>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"

Z_IMPLEMENT_CLASS(tBMPLoader, .Operations = {{"FileExtension"},
                                             {"CanSave"},
                                             {"EstimateTextureType"},
                                             {"SaveBitmap"},
                                             {"ReadImage"}})

namespace {

// Field offsets of the 54-byte header.
constexpr int OffType = 0, OffFileSize = 2, OffPixelOffset = 10, OffInfoSize = 14, OffWidth = 18, OffHeight = 22,
              OffPlanes = 26, OffBitCount = 28, OffCompression = 30, OffXPelsPerMeter = 38, OffYPelsPerMeter = 42;
constexpr uint16_t BitmapSignature = 19778;  // "BM"
constexpr int32_t InfoHeaderSize = 40;
constexpr int32_t SavedBitsPerPixel = 24;
constexpr int32_t SavedPelsPerMeter = 6000;
// BMP rows are padded to a multiple of 4 bytes.
constexpr int32_t RowAlignment = 4;

int64_t PaddedRowBytes(int64_t Width, int64_t BytesPerPixel) {
    return (Width * BytesPerPixel + RowAlignment - 1) / RowAlignment * RowAlignment;
}

}  // namespace

TBMPRec tBMPLoader::ReadImage(tIStream& Stream) {
    uint8_t Header[HeaderSize];
    Stream.BlockRead(Header, HeaderSize);
    if (ReadLE<uint32_t>(Header + OffCompression) != 0) Logger->Fatal("Compressed bitmaps are not supported");
    const int32_t BitCount = ReadLE<uint16_t>(Header + OffBitCount);
    if (BitCount != 24 && BitCount != 32) Logger->Fatal("Only 24-bit and 32-bit bitmaps are supported");

    TBMPRec Image;
    Image.Width = ReadLE<int32_t>(Header + OffWidth);
    Image.Height = ReadLE<int32_t>(Header + OffHeight);
    Image.Depth = 1;
    Image.TextureType = Z_TEXTURE_2D;

    // The pixels always start right after the header, whatever the header's
    // own offset field says; they are decoded straight from the mapped file.
    Stream.Seek(HeaderSize);
    const int64_t Available = static_cast<int64_t>(Stream.GetSize()) - HeaderSize;
    return DecodeImage(Image, BitCount, Stream.MapStreamFromCurrentPos(), Available, RowAlignment);
}

TTextureType tBMPLoader::EstimateTextureType(tIStream&) { return Z_TEXTURE_2D; }

void tBMPLoader::SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) {
    Logger->Guard(Bitmap.Width >= 0 && Bitmap.Height >= 0, "Unable to save a bitmap of negative size");
    // The caller's pixels stay as they are: each row is converted to BGR in
    // a row buffer of its own, so one image can be saved more than once.
    const bool FromAlpha = !Bitmap.PixelData;
    const uint8_t* Pixels = FromAlpha ? Bitmap.PixelDataA.get() : Bitmap.PixelData.get();
    Logger->Guard(Pixels != nullptr || Bitmap.Width == 0 || Bitmap.Height == 0, "Unable to save a bitmap without pixels");
    const int64_t SourcePixelBytes = FromAlpha ? 4 : 3;
    const int64_t RowBytes = PaddedRowBytes(Bitmap.Width, 3);

    uint8_t Header[HeaderSize] = {};
    WriteLE<uint16_t>(Header + OffType, BitmapSignature);
    WriteLE<uint32_t>(Header + OffFileSize, static_cast<uint32_t>(RowBytes * Bitmap.Height + HeaderSize));
    WriteLE<uint32_t>(Header + OffPixelOffset, HeaderSize);
    WriteLE<uint32_t>(Header + OffInfoSize, InfoHeaderSize);
    WriteLE<int32_t>(Header + OffWidth, Bitmap.Width);
    WriteLE<int32_t>(Header + OffHeight, Bitmap.Height);
    WriteLE<uint16_t>(Header + OffPlanes, 1);
    WriteLE<uint16_t>(Header + OffBitCount, SavedBitsPerPixel);
    WriteLE<int32_t>(Header + OffXPelsPerMeter, SavedPelsPerMeter);
    WriteLE<int32_t>(Header + OffYPelsPerMeter, SavedPelsPerMeter);
    Stream.BlockWrite(Header, HeaderSize);
    if (Bitmap.Width == 0 || Bitmap.Height == 0) return;  // no rows, however wide

    std::vector<uint8_t> Row(static_cast<std::size_t>(RowBytes), 0);
    for (int64_t Y = 0; Y < Bitmap.Height; ++Y) {
        const uint8_t* Src = Pixels + Y * Bitmap.Width * SourcePixelBytes;
        for (int64_t X = 0; X < Bitmap.Width; ++X, Src += SourcePixelBytes) {
            Row[X * 3] = Src[2];
            Row[X * 3 + 1] = Src[1];
            Row[X * 3 + 2] = Src[0];
        }
        Stream.BlockWrite(Row.data(), static_cast<int32_t>(RowBytes));
    }
}
