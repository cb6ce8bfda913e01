#include "kernel/world/atmosphere.h"

#include "kernel/core/globals.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tWeatherConditions)
Z_IMPLEMENT_CLASS(tAtmosphere,
    .Operations = {{"Spawned"}, {"SetDayTime", ZOP_ABSTRACT}, {"PreRender", ZOP_ABSTRACT},
                   {"SetWeatherConditions", ZOP_ABSTRACT}, {"UpdateAtmosphereParams", ZOP_ABSTRACT},
                   {"GetSunPosition", ZOP_ABSTRACT}})

void tAtmosphere::Spawned() { Engine->World->SetAtmosphere(this); }
