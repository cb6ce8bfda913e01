#pragma once
// TBMPRec: one decoded image as the image loaders hand it to a texture and as
// the screenshot writer receives it. Pixels are stored slice by slice, each
// slice row by row, each row from left to right; exactly one of the two pixel
// blocks is set by a loader.

#include <cstdint>
#include <memory>

#include "libraries/classes/texturetype.h"

struct TBMPRec {
    int32_t Width = 0;   // pixels per row
    int32_t Height = 0;  // rows per slice
    int32_t Depth = 0;   // slices: 1 for a flat image, 6 for a cube map
    bool UseAlpha = false;
    TTextureType TextureType = Z_TEXTURE_2D;
    std::unique_ptr<uint8_t[]> PixelData;   // RGB, 3 bytes a pixel, when UseAlpha is false
    std::unique_ptr<uint8_t[]> PixelDataA;  // RGBA, 4 bytes a pixel, when UseAlpha is true

    // The same dimensions and kind, without pixels.
    TBMPRec Shape() const {
        TBMPRec R;
        R.Width = Width;
        R.Height = Height;
        R.Depth = Depth;
        R.UseAlpha = UseAlpha;
        R.TextureType = TextureType;
        return R;
    }
};
