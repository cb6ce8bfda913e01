#pragma once
// Panels: views drawn as one shader-filled shape. tGUIPanel is the abstract
// base (a bevelled rectangle); tGUIWindow is the movable window with a
// caption bar, its title and a resize grip; tGUIStaticPanel a plain backdrop
// that stays where the layout puts it.

#include "kernel/gui/guiquad.h"
#include "kernel/gui/view.h"

class tShaderResource;
class tVertexArray;

class tGUIPanel : public tGUIView {
    Z_DECLARE_CLASS(tGUIPanel, tGUIView)
public:
    // Only the panel kinds are made: this one is fatal.
    explicit tGUIPanel(const ShortString& Params);
    ~tGUIPanel() override;

    void Render() override;
    void Update() override;
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }

    virtual void SetShader(tShaderResource* S);
    virtual void AllocateGeometry(int32_t VertexCount, TPrimitiveType Primitive);
    virtual void DeallocateGeometry();
    virtual void SetBevelRadius(int32_t R) { BevelRadius = R; }

    bool GeometryAllocated = false;
    bool ShaderLoaded = false;
    int32_t BevelRadius = 4;
    tShaderResource* Shader = nullptr;  // the resources manager's
    tVertexArray* Geometry = nullptr;   // owned

protected:
    struct tPanelKind {};
    // The constructor of the panel kinds.
    tGUIPanel(const ShortString& Params, tPanelKind);
    // The panel's shape alone.
    void DrawShape();
};

class tGUIWindow : public tGUIPanel {
    Z_DECLARE_CLASS(tGUIWindow, tGUIPanel)
public:
    static constexpr int32_t GripSize = 12;

    explicit tGUIWindow(const ShortString& Params);

    void Render() override;
    void Update() override;
    bool IsRegionDraggable() override { return true; }
    bool IsRegionSizeable() override { return true; }
    bool IsRegionDockable() override { return true; }
    int32_t SuggestMinimalWidth() override;
    int32_t SuggestMinimalHeight() override { return CaptionHeight() + GripSize; }

protected:
    // Body, caption, title and grip; false when the window is rolled up to
    // its caption and shows nothing more.
    bool DrawWindow();

private:
    tGUIQuad Caption;
    tGUIQuad Grip;
    tShaderResource* CaptionShader = nullptr;
    tShaderResource* GripShader = nullptr;
};

class tGUIStaticPanel : public tGUIPanel {
    Z_DECLARE_CLASS(tGUIStaticPanel, tGUIPanel)
public:
    explicit tGUIStaticPanel(const ShortString& Params);
};

// The colour of captions and titles on the GUI's dark surfaces.
inline constexpr TVector4 GUITitleColour = {1.0f, 0.93f, 0.78f, 1.0f};
