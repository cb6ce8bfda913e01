#pragma once
// The desktop: the whole screen, the root of every loaded layout, and the
// soft mouse cursor drawn over everything while any GUI is open (an arrow,
// a four-way arrow over a caption, a diagonal arrow over a resize corner).

#include "kernel/gui/guiquad.h"
#include "kernel/gui/view.h"

class tShaderResource;

class tGUIDesktop : public tGUIView {
    Z_DECLARE_CLASS(tGUIDesktop, tGUIView)
public:
    static constexpr const char* DesktopName = "0 0 1 1 Desktop";
    static constexpr float CursorSize = 32.0f;

    tGUIDesktop();
    explicit tGUIDesktop(const ShortString& Params);

    void Render() override {}
    void PostRender() override {}
    void Update() override {}
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }
    bool CanFocus() override { return false; }
    virtual void RenderCursor();
    // A frame around the widget that has the keyboard focus.
    void RenderFocusFrame(tGUIRegion* R);

    tGUIQuad CursorGeometry;
    tGUIQuad FocusEdges[4];
    tShaderResource* FocusShader = nullptr;
    tShaderResource* ArrowCursorShader = nullptr;
    tShaderResource* MoveCursorShader = nullptr;
    tShaderResource* ResizeCursorShader = nullptr;
};
