#include "libraries/gui/widget.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"

Z_IMPLEMENT_CLASS(tGUIWidget,
    .Operations = {{"GetValueText", ZOP_ABSTRACT}, {"SetValueText", ZOP_ABSTRACT}, {"StepValue"}, {"Activate"},
                   {"PointAt"}, {"DragTo"}, {"TakesKeyboardFocus"}, {"GUI_Timer"}, {"GUI_Key"}, {"GUI_MouseLeft"},
                   {"GUI_LDoubleClick"}})

bool ParseWidgetNumber(const ShortString& Text, float& Value) {
    if (!IsCorrectGLD(Trim(Text))) return false;
    const float N = Str2Flt(Trim(Text));
    // Infinities and NaN would poison every position computed from them.
    if (!std::isfinite(N)) return false;
    Value = N;
    return true;
}

tGUIWidget::tGUIWidget(const ShortString& Params) : tGUIView(Params) {}

tShaderResource* tGUIWidget::Shader(const char* Name) {
    return LoadGUIShader(ShortString("interface\\shaders\\") + Name + ".shader");
}

TGUIMessage tGUIWidget::GUI_Timer(float DeltaSeconds) {
    const TGUIMessage Message = tGUIView::GUI_Timer(DeltaSeconds);
    ShortString Text;
    if (Binding.Read(FBindedConsoleVariable, Text) && Text != LastText) {
        LastText = Text;
        // A value the widget cannot show leaves it as it is.
        SetValueText(Text);
    }
    if (Dragging)
        if (tWindowManager* WM = GUIWindowManager()) DragTo(WM->GetMousePosition());
    return Message;
}

void tGUIWidget::Commit() {
    LastText = GetValueText();
    tVarBinding::Write(FBindedConsoleVariable, LastText);
    ExecuteCommandsStack(true);
}

bool tGUIWidget::GUI_Key(uint8_t Key, bool Pressed) {
    if (!Pressed) return true;
    switch (Key) {
        case KEY_LEFT:
        case KEY_RIGHT: return !StepValue(Key == KEY_LEFT ? -1 : 1);
        case KEY_RETURN:
        case KEY_SPACE: Activate(); return false;
        default: return true;
    }
}

void tGUIWidget::GUI_MouseLeft(const TPoint& P, bool Pressed) {
    tGUIView::GUI_MouseLeft(P, Pressed);
    tWindowManager* WM = GUIWindowManager();
    if (Pressed) {
        // The widget keeps the mouse until the button comes up, wherever it goes.
        if (WM) WM->SetCapture(this);
        Dragging = true;
        PointAt(P, true);
    } else {
        if (Dragging) PointAt(P, false);
        Dragging = false;
        if (WM && WM->CapturedRegion == this) WM->ReleaseCapture();
    }
}

void tGUIWidget::GUI_CaptureChanged() {
    tGUIView::GUI_CaptureChanged();
    Dragging = false;
}
