#include "kernel/platform/renderinglayer.h"

#include <GL/gl.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/platform/drawingsurface.h"
#include "kernel/platform/systemfont.h"

Z_IMPLEMENT_CLASS(tWindowsRenderingLayer, .Operations = {{"UseFontBitmaps"}})

void tWindowsRenderingLayer::UseFontBitmaps(tDrawingSurface* DC, uint32_t First, uint32_t Count, uint32_t ListBase) {
    ProcTrace trace("tWindowsRenderingLayer.UseFontBitmaps()");
    Logger->Guard(DC && DC->SelectedFont, "No font selected into the device context");
    // The bitmaps are unpacked when each list is compiled: tightly packed rows.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (uint32_t I = 0; I < Count; ++I) {
        tGlyphBitmap Glyph = RenderGlyph(DC->SelectedFont, First + I);
        glNewList(ListBase + I, GL_COMPILE);
        glBitmap(Glyph.Width, Glyph.Height, static_cast<GLfloat>(Glyph.OriginX), static_cast<GLfloat>(Glyph.OriginY),
                 Glyph.Advance, 0, Glyph.Bits.empty() ? nullptr : Glyph.Bits.data());
        glEndList();
    }
    glPopClientAttrib();
}
