#pragma once
// tPNGLoader: screenshots as PNG files, written by libpng (24-bit RGB, or RGBA
// for an image with alpha). Textures are read from BMP and DDS files only.

#include "kernel/loaders/bitmaploader.h"

class tPNGLoader : public tBitmapLoader {
    Z_DECLARE_CLASS(tPNGLoader, tBitmapLoader)
public:
    // Fast and still about a third of a BMP's size for a game frame.
    static constexpr int CompressionLevel = 3;

    using tBitmapLoader::tBitmapLoader;
    static ShortString FileExtension() { return ".PNG"; }
    bool CanSave() const override { return true; }

    // Refused (fatal): the game's textures are not PNG files.
    void Load(tIStream& Stream, tResource& Resource) override;
    TTextureType EstimateTextureType(tIStream& Stream) override;
    // The image as a PNG file; PixelData's first row is the picture's bottom
    // row, as the frame comes from OpenGL and as a BMP stores it.
    void SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) override;
};
