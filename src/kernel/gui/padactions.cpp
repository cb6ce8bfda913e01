#include "kernel/gui/padactions.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "libraries/classes/varsmanager.h"

void RegisterPadActionVars() {
    if (!EngineVars) return;
    for (const tPadAction& A : PadActions)
        if (!EngineVars->IsVarDefined(A.Var)) EngineVars->SetVar(A.Var, ShortString(A.Defaults));
    if (!EngineVars->IsVarDefined(PadDeadZoneVar)) EngineVars->SetVar(PadDeadZoneVar, DefaultPadDeadZone);
    if (!EngineVars->IsVarDefined(PadCurveVar)) EngineVars->SetVar(PadCurveVar, DefaultPadCurve);
}

ShortString PadActionInputs(const tPadAction& A) {
    ShortString Inputs;
    if (!EngineVars || !EngineVars->IsVarDefined(A.Var) || EngineVars->GetVar(A.Var, Inputs) == 0) return A.Defaults;
    return Inputs;
}

float ShapePadAxis(float Value, float DeadZone, float Curve) {
    if (!std::isfinite(Value)) return 0;
    DeadZone = std::clamp(DeadZone, 0.0f, MaxPadDeadZone);
    Curve = std::clamp(Curve, MinPadCurve, MaxPadCurve);
    const float Travel = std::min(std::fabs(Value), 1.0f);
    if (Travel <= DeadZone) return 0;
    const float Shaped = std::pow((Travel - DeadZone) / (1 - DeadZone), Curve);
    return Value < 0 ? -Shaped : Shaped;
}
