#include "kernel/renderer/renderingcontext.h"

Z_IMPLEMENT_CLASS(tRenderingContext,
    .Operations = {{"DeleteContext", ZOP_ABSTRACT}, {"CreateContext", ZOP_ABSTRACT}, {"AttachToViewport"},
                   {"SwapBuffers", ZOP_ABSTRACT}, {"MakeCurrent", ZOP_ABSTRACT},
                   {"GetRenderingContext", ZOP_ABSTRACT}, {"ChoosePixelFormat", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tRenderingTarget,
    .Operations = {{"OverrideTargetDimensions", ZOP_ABSTRACT}, {"Restore", ZOP_ABSTRACT},
                   {"IsAvailable", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tOSRenderingLayer, .Operations = {{"UseFontBitmaps", ZOP_ABSTRACT}})

void tRenderingContext::AttachToViewport(tViewport* V) {
    Viewport = V;
    CreateContext();
}
