#include "libraries/gui/label.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

Z_IMPLEMENT_CLASS(tGUIStaticWidget,
    .Operations = {{"Render"}, {"Update"}, {"IsRegionDraggable"}, {"IsRegionSizeable"}, {"Contains"},
                   {"ContainsRightCorner"}, {"CaptionContains"}})

tGUIStaticWidget::tGUIStaticWidget(const ShortString& Params) : tGUIView(Params) {
    ProcTrace trace("tGUIStaticWidget.Init(" + Params + ")");
}

ShortString tGUIStaticWidget::GetText() {
    if (FBindedConsoleVariable.empty()) return FRegionTitle;
    ShortString Value;
    return Binding.Read(FBindedConsoleVariable, Value) ? Value : ShortString();
}

void tGUIStaticWidget::Render() {
    const ShortString Text = GetText();
    if (!Text.empty()) OutTextXY(X, Y, Text, GUILabelColour);
}
