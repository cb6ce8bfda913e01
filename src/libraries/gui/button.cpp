#include "libraries/gui/button.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "libraries/classes/renderdevice.h"

Z_IMPLEMENT_CLASS(tGUIButton, .Operations = {{"ContainsRightCorner"}, {"CaptionContains"}})
Z_IMPLEMENT_CLASS(tGUIPushButton,
    .Operations = {{"Update"}, {"Render"}, {"GUI_MouseLeft"}, {"GUI_MouseOutside"}, {"GUI_CaptureChanged"}, {"GUI_LDoubleClick"},
                   {"TakesKeyboardFocus"}, {"GUI_Key"}})

tGUIButton::tGUIButton(const ShortString& Params, tPanelKind Kind) : tGUIPanel(Params, Kind) {
    ProcTrace trace("tGUIButton.Init(" + Params + ")");
    SetBevelRadius(2);
    HeightFactor = 600.0f / static_cast<float>(GUIScreenHeight());
}

tGUIPushButton::tGUIPushButton(const ShortString& Params) : tGUIButton(Params, tPanelKind{}) {
    ProcTrace trace("tGUIButton.Init(" + Params + ")");
    AllocateGeometry(GUIQuadVertices, PRIM_QUADS);
    NormalShader = LoadGUIShader("interface\\shaders\\button.shader");
    HighlightShader = LoadGUIShader("interface\\shaders\\button_selected.shader");
    PushedShader = LoadGUIShader("interface\\shaders\\button_pushed.shader");
    SetShader(NormalShader);
    Pushed = false;
}

void tGUIPushButton::Update() {
    if (Geometry)
        GUIRenderer()->GeometryServer->CreateRect(Geometry, static_cast<float>(X), static_cast<float>(Y),
                                                 static_cast<float>(X1), static_cast<float>(Y1), 0);
}

void tGUIPushButton::Render() {
    SetShader(Pushed ? PushedShader : FMouseOver ? HighlightShader : NormalShader);
    tGUIPanel::Render();
    // The caption sits in the middle of the button, a pixel lower while pushed.
    const int32_t Sink = Pushed ? 1 : 0;
    OutTextXY(CenterTextHorizontal(FRegionTitle) + Sink, Y + (H - TextLineHeight()) / 2 + Sink, FRegionTitle,
              GUIButtonTextColour);
}

void tGUIPushButton::GUI_MouseLeft(const TPoint& P, bool Pressed) {
    tGUIButton::GUI_MouseLeft(P, Pressed);
    tWindowManager* WM = GUIWindowManager();
    if (Pressed) {
        if (WM) {
            WM->PlaySound(ClickSound);
            WM->SetCapture(this);
        }
    } else {
        if (Contains(P) && Pushed) ExecuteCommandsStack(true);
        if (WM) WM->ReleaseCapture();
    }
    Pushed = Pressed;
}

void tGUIPushButton::GUI_MouseOutside(const TPoint& P) { tGUIButton::GUI_MouseOutside(P); }

bool tGUIPushButton::GUI_Key(uint8_t Key, bool Pressed) {
    constexpr uint8_t KeyEnter = 13, KeySpace = 32;
    if (!Pressed || (Key != KeyEnter && Key != KeySpace)) return tGUIButton::GUI_Key(Key, Pressed);
    if (tWindowManager* WM = GUIWindowManager()) WM->PlaySound(ClickSound);
    ExecuteCommandsStack(true);
    return false;
}

void tGUIPushButton::GUI_CaptureChanged() {
    tGUIButton::GUI_CaptureChanged();
    Pushed = false;
}
