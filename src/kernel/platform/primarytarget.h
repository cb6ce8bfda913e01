#pragma once
// The window's rendering target: an OpenGL compatibility context on the
// viewport's window (the window itself is created GL-capable, with the
// configured depth and 8 stencil bits, by the viewport).

#include "kernel/renderer/renderingcontext.h"

class tPrimaryRenderingTarget : public tRenderingTarget {
    Z_DECLARE_CLASS(tPrimaryRenderingTarget, tRenderingTarget)
public:
    ~tPrimaryRenderingTarget() override;

    void DeleteContext() override;
    void CreateContext() override;
    void SwapBuffers() override;
    void MakeCurrent() override;
    intptr_t GetRenderingContext() override { return reinterpret_cast<intptr_t>(RenderingContext); }
    int32_t ChoosePixelFormat() override;
    void OverrideTargetDimensions(int32_t, int32_t) override {}
    void Restore() override {}
    bool IsAvailable() override { return true; }

    void* RenderingContext = nullptr;  // the SDL GL context
};
