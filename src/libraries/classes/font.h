#pragma once
// A font the render device draws text with: its glyphs live in display lists
// from FontBase on, one per character from code 32.

#include <cstdint>

#include "kernel/objects/zobject.h"

class tFont : public tZObject {
    Z_DECLARE_CLASS(tFont, tZObject)
public:
    tFont() = default;
    explicit tFont(const ShortString& Params) : tZObject(Params) {}

    virtual uint32_t GetFontID() { return FontBase; }
    virtual void SetFontID(uint32_t ID) { FontBase = ID; }

    uint32_t FontBase = 0;
};
