#pragma once
// Buttons: panels that never drag or resize by their caption. The push button
// has three looks (normal, under the mouse, pressed), clicks as it is pressed
// and runs its bound console commands when released over itself.

#include "libraries/gui/panel.h"

class tGUIButton : public tGUIPanel {
    Z_DECLARE_CLASS(tGUIButton, tGUIPanel)
public:
    // Only the button kinds are made.
    explicit tGUIButton(const ShortString& Params) : tGUIButton(Params, tPanelKind{}) {}

    bool ContainsRightCorner(TPoint P) override { return false; }
    bool CaptionContains(TPoint P) override { return false; }

    float HeightFactor = 1.0f;  // 600 / the viewport's height

protected:
    tGUIButton(const ShortString& Params, tPanelKind);
};

class tGUIPushButton : public tGUIButton {
    Z_DECLARE_CLASS(tGUIPushButton, tGUIButton)
public:
    static constexpr const char* ClickSound = "sounds\\interface\\click.wav";

    explicit tGUIPushButton(const ShortString& Params);

    void Update() override;
    void Render() override;
    void GUI_MouseLeft(const TPoint& P, bool Pressed) override;
    void GUI_MouseOutside(const TPoint& P) override;
    // The second press of a quick pair is a click of its own.
    void GUI_LDoubleClick(const TPoint& P) override { GUI_MouseLeft(P, true); }
    void GUI_CaptureChanged() override;
    // Reached by the keyboard: Enter and Space click it.
    bool TakesKeyboardFocus() override { return FCommandsUsed > 0; }
    // A button keeps its place among its siblings (the keyboard's order).
    bool CanFocus() override { return false; }
    bool GUI_Key(uint8_t Key, bool Pressed) override;

    tShaderResource* NormalShader = nullptr;
    tShaderResource* HighlightShader = nullptr;
    tShaderResource* PushedShader = nullptr;
    bool Pushed = false;
};

// The colour of push-button captions.
inline constexpr TVector4 GUIButtonTextColour = {0.0f, 0.0f, 0.0f, 1.0f};
