#include "kernel/platform/options.h"

#include <iterator>

#include "game/botsettings.h"
#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/gui/padactions.h"
#include "kernel/platform/controllers.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/viewport.h"
#include "libraries/gui/varbinding.h"

namespace {

enum tOptionKind { OPT_NUMBER, OPT_BOOLEAN, OPT_DIFFICULTY };

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
    {"Difficulty", OPT_DIFFICULTY, 0, 0},     {"UIScale", OPT_NUMBER, 0, MaxUIScale},
    {PadDeadZoneVar, OPT_NUMBER, 0, MaxPadDeadZone}, {PadCurveVar, OPT_NUMBER, MinPadCurve, MaxPadCurve},
};

const tOption* FindOption(const ShortString& Name) {
    for (const tOption& O : Options)
        if (UpCaseStr(O.Name) == UpCaseStr(Name)) return &O;
    return nullptr;
}

bool IsPadAction(const ShortString& Name) {
    for (const tPadAction& A : PadActions)
        if (UpCaseStr(A.Var) == UpCaseStr(Name)) return true;
    return false;
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
    if (IsPadAction(Name)) return IsValidPadBinding(Value);
    const tOption* O = FindOption(Name);
    if (!O) return true;
    if (O->Kind == OPT_BOOLEAN) return UpCaseStr(Value) == "TRUE" || UpCaseStr(Value) == "FALSE";
    if (O->Kind == OPT_DIFFICULTY) return IsDifficultyName(Value);
    if (!IsCorrectGLD(Value)) return false;
    const float N = Str2Flt(Value);
    return N >= O->Min && N <= O->Max;
}

void ApplySavedOptions() {
    if (!EngineINI || !Console) return;
    for (const tOption& O : Options) Apply(O.Name);
    for (const tFlightKey& K : FlightKeys) Apply(K.Var);
    for (const tPadAction& A : PadActions) Apply(A.Var);
}

void StoreOptions() {
    if (!EngineINI || !EngineVars) return;
    for (const tOption& O : Options) Store(O.Name);
    for (const tFlightKey& K : FlightKeys) Store(K.Var);
    for (const tPadAction& A : PadActions) Store(A.Var);
}
