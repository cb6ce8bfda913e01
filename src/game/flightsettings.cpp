#include "game/flightsettings.h"

#include <cstdio>
#include <string>

#include "game/match.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

namespace {

// What a flight begins with besides the level script: the aircraft and its
// gun, the computer pilots, the rules, the steering options.
constexpr const char* SettingNames[] = {"PlaneChassis", "PrimaryWeapon", "BotCount",         "BotSkill",
                                        "FragLimit",    "Craters",       "MouseSensitivity", "InvertMouse",
                                        "PlayerName",   "CameraType",    "Difficulty"};

// The type letter of a variable and its value as text; false when it is not defined.
bool SettingText(const char* Name, char& Type, std::string& Value) {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= EngineVars->GetTotalVars(); ++I) {
        if (EngineVars->GetVarName(I) != Upper) continue;
        switch (EngineVars->GetVarDef(I).ValueType) {
            case VT_BOOLEAN: {
                bool V = false;
                EngineVars->GetVar(Name, V);
                Type = 'b';
                Value = V ? "1" : "0";
                return true;
            }
            case VT_LONGINT: {
                int32_t V = 0;
                EngineVars->GetVar(Name, V);
                Type = 'i';
                Value = std::to_string(V);
                return true;
            }
            case VT_LFLOAT: {
                float V = 0;
                EngineVars->GetVar(Name, V);
                char Text[32];
                std::snprintf(Text, sizeof Text, "%.9g", V);
                Type = 'f';
                Value = Text;
                return true;
            }
            case VT_STRING: {
                ShortString V;
                EngineVars->GetVar(Name, V);
                Type = 's';
                Value = V.str();
                return true;
            }
        }
    }
    return false;
}

// The type letter of a defined variable, without reading it; 0 when there is none.
char VariableType(const ShortString& Name) {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= EngineVars->GetTotalVars(); ++I) {
        if (EngineVars->GetVarName(I) != Upper) continue;
        switch (EngineVars->GetVarDef(I).ValueType) {
            case VT_BOOLEAN: return 'b';
            case VT_LONGINT: return 'i';
            case VT_LFLOAT: return 'f';
            case VT_STRING: return 's';
        }
    }
    return 0;
}

// Why a recorded setting cannot be applied: a variable no flight sets, one
// of another type than the variable's, or a value that is none of its type;
// empty when it can.
ShortString SettingError(const tRecordedFlight::tSetting& S) {
    const ShortString Name(S.Name), Value(S.Value);
    bool FlightSetting = false;
    for (const char* Known : SettingNames) FlightSetting |= UpCaseStr(Known) == UpCaseStr(Name);
    if (!FlightSetting) return "sets " + Name + ", which is no setting of a flight";
    // One not defined yet (the camera's, before the first aircraft) is made.
    if (const char Type = VariableType(Name); Type && Type != S.Type)
        return "sets " + Name + " as type " + ShortString(S.Type) + ", but it is of type " + ShortString(Type);
    const bool Fits = S.Type == 's' || (S.Type == 'b' && (Value == "0" || Value == "1")) ||
                      (S.Type == 'i' && IsCorrectInt(Value)) || (S.Type == 'f' && IsCorrectGLD(Value));
    return Fits ? ShortString() : "sets " + Name + " to " + Value + ", which is no value of its type";
}

// Applied as a console line would be: a setting refused after all (a locked
// variable) is reported, never fatal.
void ApplySetting(const tRecordedFlight::tSetting& S) {
    tVarsManager::ConsoleInputScope Input(*EngineVars);
    const ShortString Name = ShortString(S.Name);
    switch (S.Type) {
        case 'b': EngineVars->SetVar(Name, S.Value == "1"); break;
        case 'i': EngineVars->SetVar(Name, Str2Int(ShortString(S.Value))); break;
        case 'f': EngineVars->SetVar(Name, Str2Flt(ShortString(S.Value))); break;
        default: EngineVars->SetVar(Name, ShortString(S.Value)); break;
    }
}

}  // namespace

void CaptureFlightStart(tRecordedFlight& Flight) {
    Flight.Settings.clear();
    for (const char* Name : SettingNames) {
        tRecordedFlight::tSetting S;
        S.Name = Name;
        if (SettingText(Name, S.Type, S.Value)) Flight.Settings.push_back(std::move(S));
    }
    Flight.Seed = Match->MatchSeed;
    Flight.SunStart = Engine->Timer ? Engine->Timer->GetSystemTime() : 0.0;
    Flight.Width = Engine->Viewport->GetViewportWidth();
    Flight.Height = Engine->Viewport->GetViewportHeight();
    Flight.Weather.clear();
    if (Engine->World) {
        auto* Sky = Engine->World->GetAtmosphere();
        if (Sky && Sky->DynamicCast(&tAtmosphereRenderer::ClassInfo)) {
            if (tWeatherConditions* W = static_cast<tAtmosphereRenderer*>(Sky)->Conditions) {
                Flight.Weather = W->ClassName().str();
                Flight.WeatherHour = W->DayTime_Hour;
            }
        }
    }
}

ShortString FlightStartError(const tRecordedFlight& Flight) {
    for (const auto& S : Flight.Settings)
        if (ShortString Error = SettingError(S); !Error.empty()) return Error;
    if (Flight.Width > 0 || Flight.Height > 0)
        if (ShortString Error = WindowSizeError(Flight.Width, Flight.Height, Engine->Renderer); !Error.empty())
            return Error;
    if (!Flight.Weather.empty()) {
        const ShortString Weather(Flight.Weather);
        if (ShortString Error = Linker->InstantiationError(Weather); !Error.empty()) return Error;
        tZClass Class;
        Linker->FindClass(Weather, Class);
        if (!Class.StaticClass->IsA("TWEATHERCONDITIONS")) return "its weather " + Weather + " is no weather";
    }
    return {};
}

void ApplyFlightSettings(const tRecordedFlight& Flight) {
    // Flights recorded before there were levels met the computer pilots at
    // their hardest; a flight that names its level overrides this.
    Match->Difficulty = DifficultyNames[DIFFICULTY_HARD];
    for (const auto& S : Flight.Settings) ApplySetting(S);
}

ShortString SettingValue(const char* Name) {
    char Type = 's';
    std::string Value;
    return SettingText(Name, Type, Value) ? ShortString(Value) : ShortString();
}
