#include "libraries/gui/varbinding.h"

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/console.h"
#include "libraries/classes/varsmanager.h"

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

bool tVarBinding::Read(const ShortString& Name, ShortString& Value) {
    if (!EngineVars || Name.empty()) return false;
    const ShortString Upper = UpCaseStr(Name);
    const int32_t Total = EngineVars->GetTotalVars();
    // Variables keep their place once defined: search only when it moved.
    if (Index < 1 || Index > Total || EngineVars->GetVarName(Index) != Upper) {
        Index = 0;
        for (int32_t I = 1; I <= Total && Index == 0; ++I)
            if (EngineVars->GetVarName(I) == Upper) Index = I;
        if (Index == 0) return false;
    }
    Value = LiveValueText(EngineVars->GetVarDef(Index));
    return true;
}

void tVarBinding::Write(const ShortString& Name, const ShortString& Value) {
    if (Console && !Name.empty()) Console->SendCommand("Set " + Name + " \"" + Value + "\"", true);
}
