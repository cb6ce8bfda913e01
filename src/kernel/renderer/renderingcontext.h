#pragma once
// What the render device needs from the window system: a rendering context
// bound to the viewport's window (the primary target) or to an off-screen
// buffer, and a layer that turns the selected system font into glyph lists.

#include <cstdint>

#include "kernel/objects/zobject.h"

class tViewport;
struct tDrawingSurface;

class tRenderingContext : public tZObject {
    Z_DECLARE_CLASS(tRenderingContext, tZObject)
public:
    virtual void DeleteContext() = 0;
    virtual void CreateContext() = 0;
    // Stores the viewport and creates the context for it.
    virtual void AttachToViewport(tViewport* V);
    virtual void SwapBuffers() = 0;
    virtual void MakeCurrent() = 0;
    virtual intptr_t GetRenderingContext() = 0;
    virtual int32_t ChoosePixelFormat() = 0;

    tViewport* Viewport = nullptr;
    // Set before CreateContext: the context (GetRenderingContext of the target
    // being replaced) whose textures, programs, buffer objects and display
    // lists the new context takes over; 0 for a context of its own. Reset to
    // 0 when the window system could not share them.
    intptr_t ShareObjectsWith = 0;
};

class tRenderingTarget : public tRenderingContext {
    Z_DECLARE_CLASS(tRenderingTarget, tRenderingContext)
public:
    virtual void OverrideTargetDimensions(int32_t Width, int32_t Height) = 0;
    virtual void Restore() = 0;
    virtual bool IsAvailable() = 0;
};

class tOSRenderingLayer : public tZObject {
    Z_DECLARE_CLASS(tOSRenderingLayer, tZObject)
public:
    // Display lists ListBase.. for glyphs First..First + Count - 1 of the font
    // selected into DC.
    virtual void UseFontBitmaps(tDrawingSurface* DC, uint32_t First, uint32_t Count, uint32_t ListBase) = 0;
};
