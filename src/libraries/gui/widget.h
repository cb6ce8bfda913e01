#pragma once
// The base of the value widgets (check boxes, radio buttons, gauges,
// scrollers, spin boxes, lists, combo boxes, splitters, icons): a view that
// the keyboard reaches (Up, Down and Tab move between widgets, Left and
// Right change the value, Enter and Space activate), that shows the console
// variable bound to it and writes it when the player changes the value, and
// runs its bound commands after each change. A variable that does not
// exist leaves the widget at its own value until the player sets one.

#include "kernel/gui/guiquad.h"
#include "kernel/gui/view.h"
#include "libraries/gui/varbinding.h"

class tShaderResource;

class tGUIWidget : public tGUIView {
    Z_DECLARE_CLASS(tGUIWidget, tGUIView)
public:
    explicit tGUIWidget(const ShortString& Params);

    bool TakesKeyboardFocus() override { return true; }
    // Widgets keep their place among their siblings (the keyboard's order).
    bool CanFocus() override { return false; }
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }
    bool ContainsRightCorner(TPoint P) override { return false; }
    bool CaptionContains(TPoint P) override { return false; }
    // Follows the bound variable, and the mouse while the widget holds it.
    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void GUI_MouseLeft(const TPoint& P, bool Pressed) override;
    void GUI_CaptureChanged() override;
    // The second press of a quick pair is a press of its own.
    void GUI_LDoubleClick(const TPoint& P) override { GUI_MouseLeft(P, true); }

    // The value as the variable holds it.
    virtual ShortString GetValueText() = 0;
    // Takes the variable's value; false when the text is no value of the widget.
    virtual bool SetValueText(const ShortString& Text) = 0;
    // Left (-1) and Right (+1); false when the key is not the widget's.
    virtual bool StepValue(int32_t Direction) { return false; }
    // Enter and Space.
    virtual void Activate() { ExecuteCommandsStack(true); }
    // A press of the left button at P, and its release (when the press was
    // the widget's).
    virtual void PointAt(const TPoint& P, bool Pressed) {}
    // The pointer's moves while the button stays down.
    virtual void DragTo(const TPoint& P) {}

    // Writes the value to the variable and runs the bound commands.
    void Commit();

protected:
    // A view of this class or a descendant draws with the shader of this name.
    static tShaderResource* Shader(const char* Name);
    bool Dragging = false;

private:
    tVarBinding Binding;
    ShortString LastText;  // the value last read from or written to the variable
};

// Float parameters of the layouts ("Min", "Max", "Step"...): false when Text
// is no finite number.
bool ParseWidgetNumber(const ShortString& Text, float& Value);
// The colour of widget text on the GUI's dark surfaces.
inline constexpr TVector4 GUIWidgetTextColour = {0.92f, 0.90f, 0.84f, 1.0f};
inline constexpr TVector4 GUIWidgetDimColour = {0.60f, 0.62f, 0.66f, 1.0f};
