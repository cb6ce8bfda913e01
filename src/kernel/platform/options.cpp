#include "kernel/platform/options.h"

#include <iterator>

#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/viewport.h"
#include "libraries/gui/varbinding.h"

namespace {

enum tOptionKind { OPT_NUMBER, OPT_BOOLEAN };

struct tOption {
    const char* Name;
    tOptionKind Kind;
    float Min, Max;
};

// The window keeps to the sizes any window may take.
constexpr tOption Options[] = {
    {"ScreenWidth", OPT_NUMBER, MinWindowWidth, MaxWindowSide},  {"ScreenHeight", OPT_NUMBER, MinWindowHeight, MaxWindowSide},
    {"FullScreen", OPT_BOOLEAN, 0, 0},        {"EffectsVolume", OPT_NUMBER, 0, 100},
    {"MusicVolume", OPT_NUMBER, 0, 100},      {"MouseSensitivity", OPT_NUMBER, 0.1f, 5},
    {"InvertMouse", OPT_BOOLEAN, 0, 0},       {"ShowFPS", OPT_BOOLEAN, 0, 0},
};

const tOption* FindOption(const ShortString& Name) {
    for (const tOption& O : Options)
        if (UpCaseStr(O.Name) == UpCaseStr(Name)) return &O;
    return nullptr;
}

const tFlightKey* FindFlightKey(const ShortString& Name) {
    for (const tFlightKey& K : FlightKeys)
        if (UpCaseStr(K.Var) == UpCaseStr(Name)) return &K;
    return nullptr;
}

void Apply(const char* Name) {
    const ShortString Value = Trim(EngineINI->GetValue(OptionsSection, Name));
    if (Value.empty()) return;
    if (!IsValidOptionValue(Name, Value)) {
        Console->DisplayError("Saved option " + ShortString(Name) + " has a value it cannot take: " + Value);
        return;
    }
    Console->SendCommand("Set " + ShortString(Name) + " \"" + Value + "\"", true);
}

void Store(const char* Name) {
    tVarBinding Binding;
    ShortString Value;
    if (Binding.Read(Name, Value)) EngineINI->SetValue(OptionsSection, Name, Value);
}

}  // namespace

bool IsValidOptionValue(const ShortString& Name, const ShortString& Value) {
    if (FindFlightKey(Name)) return KeyCodeByName(UpCaseStr(Value)) != 0;
    const tOption* O = FindOption(Name);
    if (!O) return true;
    if (O->Kind == OPT_BOOLEAN) return UpCaseStr(Value) == "TRUE" || UpCaseStr(Value) == "FALSE";
    if (!IsCorrectGLD(Value)) return false;
    const float N = Str2Flt(Value);
    return N >= O->Min && N <= O->Max;
}

void ApplySavedOptions() {
    if (!EngineINI || !Console) return;
    for (const tOption& O : Options) Apply(O.Name);
    for (const tFlightKey& K : FlightKeys) Apply(K.Var);
}

void StoreOptions() {
    if (!EngineINI || !EngineVars) return;
    for (const tOption& O : Options) Store(O.Name);
    for (const tFlightKey& K : FlightKeys) Store(K.Var);
}
