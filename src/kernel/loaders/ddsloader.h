#pragma once
// tDDSLoader: DirectDraw surface files holding a volume texture (decoded like
// a stack of bitmaps) or a cube map (six faces kept exactly as stored). Flat
// DDS images are refused.

#include "kernel/loaders/bitmaploader.h"

class tDDSLoader : public tBitmapDecoder {
    Z_DECLARE_CLASS(tDDSLoader, tBitmapDecoder)
public:
    static constexpr int32_t HeaderSize = 128;  // "DDS " + the 124-byte surface description

    using tBitmapDecoder::tBitmapDecoder;
    static ShortString FileExtension() { return ".DDS"; }
    bool CanSave() const override { return false; }

    // From the mapped header: Z_TEXTURE_3D or Z_TEXTURE_CUBE_MAP.
    TTextureType EstimateTextureType(tIStream& Stream) override;
    // DDS files are not written.
    void SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) override {}

    // The decoded volume or cube map of a DDS file.
    TBMPRec ReadImage(tIStream& Stream) override;
};
