#pragma once
// System TrueType fonts: fontconfig finds the face file for a family name and
// FreeType renders its glyphs as one-bit bitmaps, the way the render device
// turns them into display lists.

#include <cstdint>
#include <vector>

#include "kernel/core/shortstring.h"

struct tSystemFontRequest {
    ShortString FaceName;
    float CharWidth = 0;   // average character width in pixels; 0: proportional to the height
    float CharHeight = 0;  // cell height (ascent plus descent) in pixels
    bool Bold = true;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

// One glyph, ready for glBitmap: rows bottom-up, each padded to whole bytes.
struct tGlyphBitmap {
    int32_t Width = 0, Height = 0;
    int32_t OriginX = 0, OriginY = 0;  // the pen position inside the bitmap
    float Advance = 0;
    std::vector<uint8_t> Bits;
};

struct tSystemFont;

// The face that matches the family, or the monospace face the family's name
// asks for when fontconfig offers another family; nullptr when the system has
// no font at all. FoundFace receives "family style (file)".
tSystemFont* CreateSystemFont(const tSystemFontRequest& Request, ShortString& FoundFace);
void DeleteSystemFont(tSystemFont* Font);
// Empty bitmap (and zero advance) for a code the font cannot render.
tGlyphBitmap RenderGlyph(tSystemFont* Font, uint32_t Code);
