#include "kernel/gui/flightkeys.h"

#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/varsmanager.h"

void RegisterFlightKeyVars() {
    if (!EngineVars) return;
    for (const tFlightKey& K : FlightKeys)
        if (!EngineVars->IsVarDefined(K.Var)) EngineVars->SetVar(K.Var, MapKeys(K.Code));
}

uint8_t FlightKeyOf(const tFlightKey& K) {
    ShortString Name;
    if (!EngineVars || !EngineVars->IsVarDefined(K.Var) || EngineVars->GetVar(K.Var, Name) == 0) return K.Code;
    const uint8_t Code = KeyCodeByName(UpCaseStr(Trim(Name)));
    return Code != 0 ? Code : K.Code;
}

void BuildFlightKeyMap(uint8_t (&Map)[256]) {
    for (int I = 0; I < 256; ++I) Map[I] = static_cast<uint8_t>(I);
    for (const tFlightKey& K : FlightKeys) Map[K.Code] = 0;
    for (const tFlightKey& K : FlightKeys) Map[FlightKeyOf(K)] = K.Code;
}
