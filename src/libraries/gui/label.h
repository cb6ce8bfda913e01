#pragma once
// The text label: its title, or the current value of the console variable
// bound to it, drawn each frame. It never takes the mouse.

#include "kernel/gui/view.h"
#include "libraries/gui/varbinding.h"

class tGUIStaticWidget : public tGUIView {
    Z_DECLARE_CLASS(tGUIStaticWidget, tGUIView)
public:
    explicit tGUIStaticWidget(const ShortString& Params);

    void Render() override;
    void Update() override {}
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }
    bool Contains(TPoint P) override { return false; }
    bool ContainsRightCorner(TPoint P) override { return false; }
    bool CaptionContains(TPoint P) override { return false; }
    bool CanFocus() override { return false; }

    // What the label shows now: the bound variable's value (empty when it
    // does not exist), otherwise the title.
    ShortString GetText();

private:
    tVarBinding Binding;
};
