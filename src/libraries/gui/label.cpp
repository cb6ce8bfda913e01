#include "libraries/gui/label.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tGUIStaticWidget,
    .Operations = {{"Render"}, {"Update"}, {"IsRegionDraggable"}, {"IsRegionSizeable"}, {"Contains"},
                   {"ContainsRightCorner"}, {"CaptionContains"}})

namespace {

// The value as "Set" and "VarList" show it, read from the program field for a
// bound variable. Unlike GetVar it leaves the modified flag alone.
ShortString LiveValueText(const tVarDefinition& D) {
    if (!D.ExternalValue || !D.ExternalValuePtr) return VarValueText(D);
    switch (D.ValueType) {
        case VT_BOOLEAN: return Bool2Str(*static_cast<const bool*>(D.ExternalValuePtr));
        case VT_STRING: return *static_cast<const ShortString*>(D.ExternalValuePtr);
        case VT_LONGINT: return Int2Str(*static_cast<const int32_t*>(D.ExternalValuePtr));
        case VT_LFLOAT: return Flt2Str(*static_cast<const float*>(D.ExternalValuePtr));
    }
    return {};
}

}  // namespace

tGUIStaticWidget::tGUIStaticWidget(const ShortString& Params) : tGUIView(Params) {
    ProcTrace trace("tGUIStaticWidget.Init(" + Params + ")");
}

ShortString tGUIStaticWidget::GetText() {
    if (FBindedConsoleVariable.empty()) return FRegionTitle;
    if (!EngineVars) return {};
    const ShortString Name = UpCaseStr(FBindedConsoleVariable);
    const int32_t Total = EngineVars->GetTotalVars();
    // Variables keep their place once defined: search only when it moved.
    if (VarIndex < 1 || VarIndex > Total || EngineVars->GetVarName(VarIndex) != Name) {
        VarIndex = 0;
        for (int32_t I = 1; I <= Total && VarIndex == 0; ++I)
            if (EngineVars->GetVarName(I) == Name) VarIndex = I;
        if (VarIndex == 0) return {};
    }
    return LiveValueText(EngineVars->GetVarDef(VarIndex));
}

void tGUIStaticWidget::Render() {
    const ShortString Text = GetText();
    if (!Text.empty()) OutTextXY(X, Y, Text, GUILabelColour);
}
