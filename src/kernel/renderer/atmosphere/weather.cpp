#include "kernel/renderer/atmosphere/weather.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/proxy.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tCloudyDay, .Operations = {{"GetSkyShader"}, {"GetStarsShader"}})
Z_IMPLEMENT_CLASS(tClearDay, .Operations = {{"GetSkyShader"}})
Z_IMPLEMENT_CLASS(tHellfire, .Operations = {{"GetSkyShader"}})

tCloudyDay::tCloudyDay(const ShortString& Params) : tWeatherConditions(Params) {
    ProcTrace trace("tCloudyDay.Init(" + Params + ")");
    Shader = Resources->LoadShader("shaders\\atmosphere\\clouds.shader");
    Stars = Resources->LoadShader("shaders\\atmosphere\\stars.shader");
    Night = IsNightHour(DayTime_Hour);
    AssignedRenderDevice()->SetFogColor(Night ? NightFog : DayFog);
    // No sun shines at night, so no flare either.
    if (Night) return;
    const ShortString FlareParams =
        Flt2Str(FlareStart.x, 2) + " " + Flt2Str(FlareStart.y, 2) + " " + Flt2Str(FlareStart.z, 2);
    SunFlareProxy = InstantiateClassAs<tEffect>("tLensFlare", FlareParams)->AllocateProxy();
}

tCloudyDay::~tCloudyDay() {
    ProcTrace trace("tCloudyDay.Done()");
    // The flare leaves the world through its kill list.
    if (SunFlareProxy && SunFlareProxy->IsAlive()) static_cast<tSpawnable*>(SunFlareProxy->GetObject())->Kill();
    delete SunFlareProxy;
}

void tCloudyDay::UpdateSunFlare() {
    if (!SunFlareProxy || !SunFlareProxy->IsAlive()) return;
    const TVector3 Sun = Engine->GetWorld()->GetAtmosphere()->GetSunPosition();
    static_cast<tEffect*>(SunFlareProxy->GetObject())->UpdatePosition(Sun * FlareDistance);
}

tShaderResource* tCloudyDay::GetSkyShader() {
    UpdateSunFlare();
    return Shader;
}

tShaderResource* tCloudyDay::GetStarsShader() {
    UpdateSunFlare();
    return Night ? Stars : nullptr;
}

tClearDay::tClearDay(const ShortString& Params) : tCloudyDay(Params) {
    Shader = Resources->LoadShader("shaders\\atmosphere\\clear.shader");
}

tHellfire::tHellfire(const ShortString& Params) : tCloudyDay(Params) {
    Shader = Resources->LoadShader("shaders\\atmosphere\\hellfire.shader");
    // The land and the horizon fade into the fire, not into a blue haze.
    Engine->Renderer->SetFogColor(Fog);
}
