#pragma once
// The kinds of texture the render device creates and the image loaders report.

#include <cstdint>

enum TTextureType : int32_t {
    Z_TEXTURE_2D = 0,
    Z_TEXTURE_3D = 1,
    Z_TEXTURE_CUBE_MAP = 2,
};
