#pragma once
// tBMPLoader: uncompressed 24- and 32-bit Windows bitmaps, read as 2D
// textures and written (24-bit) for screenshots.

#include "kernel/loaders/bitmaploader.h"

class tBMPLoader : public tBitmapDecoder {
    Z_DECLARE_CLASS(tBMPLoader, tBitmapDecoder)
public:
    static constexpr int32_t HeaderSize = 54;  // file header + 40-byte information header

    using tBitmapDecoder::tBitmapDecoder;
    static ShortString FileExtension() { return ".BMP"; }
    bool CanSave() const override { return true; }

    TTextureType EstimateTextureType(tIStream& Stream) override;
    // A 24-bit file of Width x Height pixels from PixelData (RGB, the first
    // row becomes the file's bottom row); rows are padded to 4 bytes.
    void SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) override;

    // The decoded image of a BMP file; its top row comes first.
    TBMPRec ReadImage(tIStream& Stream) override;
};
