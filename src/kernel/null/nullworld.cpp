#include "kernel/null/nullworld.h"

#include "kernel/world/sealevel.h"

Z_IMPLEMENT_CLASS(tNullWorld, .Operations = {{"Tick"}, {"RenderFrame"}, {"GetWaterlinePlane"}, {"GetWorldTime"}})
Z_IMPLEMENT_CLASS(tNullCamera,
    .Operations = {{"Tick"}, {"RenderFrame"}, {"GetViewingTransformation"}, {"GetViewingDirection"}})
Z_IMPLEMENT_CLASS(tNullAtmosphere,
    .Operations = {{"Render"}, {"SetDayTime"}, {"PreRender"}, {"SetWeatherConditions"}, {"UpdateAtmosphereParams"},
                   {"GetSunPosition"}})

tNullWorld::tNullWorld() : Waterline(0, 0, 1, -SeaLevel) {}
