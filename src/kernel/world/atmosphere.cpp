#include "kernel/world/atmosphere.h"

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tWeatherConditions, .Operations = {{"Spawned"}, {"Render"}, {"GetSkyShader", ZOP_ABSTRACT},
                                                     {"GetStarsShader", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tAtmosphere,
    .Operations = {{"Spawned"}, {"SetDayTime", ZOP_ABSTRACT}, {"PreRender", ZOP_ABSTRACT},
                   {"SetWeatherConditions", ZOP_ABSTRACT}, {"UpdateAtmosphereParams", ZOP_ABSTRACT},
                   {"GetSunPosition", ZOP_ABSTRACT}})

tWeatherConditions::tWeatherConditions(const ShortString& Params)
    : tSpawnable(Params), DayTime_Hour(Str2Int(GetToken(Params, 1))) {}

void tWeatherConditions::Spawned() { Engine->World->GetAtmosphere()->SetWeatherConditions(this); }

void tAtmosphere::Spawned() { Engine->World->SetAtmosphere(this); }
