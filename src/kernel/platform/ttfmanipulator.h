#pragma once
// The font class of this platform: a system TrueType font, created from a
// parameter text (face name, character width, character height, then any of
// the flags I, U, S for italic, underline and strike-out) and selected into the
// viewport's drawing surface, where the rendering layer turns its glyphs into
// display lists. Once the lists exist the system font is let go.

#include "libraries/classes/font.h"

struct tSystemFont;

class tWindowsTTFManipulator : public tFont {
    Z_DECLARE_CLASS(tWindowsTTFManipulator, tFont)
public:
    static constexpr std::size_t MaxFaceNameLength = 31;
    static constexpr float DefaultCharWidth = 8;
    static constexpr float DefaultCharHeight = 16;

    explicit tWindowsTTFManipulator(const ShortString& Params);
    ~tWindowsTTFManipulator() override;

    void SetFontID(uint32_t ID) override;

    tSystemFont* Font = nullptr;

private:
    void ReleaseSystemFont();
};
