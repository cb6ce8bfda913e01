#pragma once
// The rendering layer of this platform: glyph bitmaps from FreeType, one
// display list of a single glBitmap call (with the advance) per character.

#include "kernel/renderer/renderingcontext.h"

class tWindowsRenderingLayer : public tOSRenderingLayer {
    Z_DECLARE_CLASS(tWindowsRenderingLayer, tOSRenderingLayer)
public:
    void UseFontBitmaps(tDrawingSurface* DC, uint32_t First, uint32_t Count, uint32_t ListBase) override;
};
