#pragma once
// Widgets that arrange or decorate others:
// - tGUIBorderPanel: a framed backdrop with its title on the frame, that
//   groups the widgets inside it.
// - tGUIVerticalSplitter / tGUIHorizontalSplitter: two child regions side by
//   side (or one above the other) with a bar between them; the mouse drags
//   the bar, Left / Right move it, and the bound variable holds where it is
//   as a fraction of the splitter ("Split" in the layout, 0.5 unless given).
// - tGUIIcon: a picture (the layout's "Picture" names its shader) that runs
//   its bound commands when clicked or activated.

#include "libraries/gui/widget.h"

class tGUIBorderPanel : public tGUIView {
    Z_DECLARE_CLASS(tGUIBorderPanel, tGUIView)
public:
    static constexpr int32_t BorderWidth = 2;

    explicit tGUIBorderPanel(const ShortString& Params);
    void Update() override;
    void Render() override;
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }
    bool CanFocus() override { return false; }

private:
    tGUIQuad Body, Edges[4];
    tShaderResource* BodyShader;
    tShaderResource* BorderShader;
};

class tGUISplitter : public tGUIWidget {
    Z_DECLARE_CLASS(tGUISplitter, tGUIWidget)
public:
    static constexpr int32_t BarWidth = 6;
    static constexpr float KeyStep = 0.05f;
    static constexpr float MinSplit = 0.1f, MaxSplit = 0.9f;

    tGUISplitter(const ShortString& Params, bool Vertical);

    void AddParameter(const ShortString& Name, const ShortString& Value) override;
    void AddChildAtom(tGUIAtom* Atom) override;
    // A splitter inside another is sized after its sides were added: they
    // follow.
    void SetSize(int32_t NW, int32_t NH) override;
    void Update() override;
    void Render() override;
    // Only the bar takes the mouse; the rest belongs to the two sides.
    tGUIRegion* FindRegion(const TPoint& P) override;
    ShortString GetValueText() override;
    bool SetValueText(const ShortString& Text) override;
    bool StepValue(int32_t Direction) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void DragTo(const TPoint& P) override { PointAt(P, false); }

    void SetSplit(float NewSplit, bool CommitChange);
    // The bar's first pixel along the splitting axis.
    int32_t BarStart() const;

    float Split = 0.5f;
    const bool Vertical;  // a vertical bar: the sides are left and right

private:
    // Lays the two first children out on either side of the bar.
    void PlaceSides();
    tGUIQuad Bar;
    tShaderResource* BarShader;
};

class tGUIVerticalSplitter : public tGUISplitter {
    Z_DECLARE_CLASS(tGUIVerticalSplitter, tGUISplitter)
public:
    explicit tGUIVerticalSplitter(const ShortString& Params) : tGUISplitter(Params, true) {}
};

class tGUIHorizontalSplitter : public tGUISplitter {
    Z_DECLARE_CLASS(tGUIHorizontalSplitter, tGUISplitter)
public:
    explicit tGUIHorizontalSplitter(const ShortString& Params) : tGUISplitter(Params, false) {}
};

class tGUIIcon : public tGUIWidget {
    Z_DECLARE_CLASS(tGUIIcon, tGUIWidget)
public:
    explicit tGUIIcon(const ShortString& Params);

    void AddParameter(const ShortString& Name, const ShortString& Value) override;
    void Update() override;
    void Render() override;
    // Only an icon that does something takes the focus.
    bool TakesKeyboardFocus() override { return FCommandsUsed > 0; }
    ShortString GetValueText() override { return {}; }
    bool SetValueText(const ShortString&) override { return true; }
    void PointAt(const TPoint& P, bool Pressed) override;

    tShaderResource* Picture = nullptr;

private:
    tGUIQuad Quad;
};
