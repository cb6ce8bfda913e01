#pragma once
// The sky and weather interface a world holds. An atmosphere becomes its
// world's atmosphere as soon as it is spawned.

#include <cstdint>

#include "kernel/world/spawnable.h"

class tShaderResource;

// The weather an atmosphere owns: it chooses the sky drawn on the dome, the
// fog colour, and extras such as rain or a lens flare on the sun. Its name
// starts with the hour of the day.
class tWeatherConditions : public tSpawnable {
    Z_DECLARE_CLASS(tWeatherConditions, tSpawnable)
public:
    tWeatherConditions() = default;
    // The first token of Params is the hour; anything but a whole number is 0.
    explicit tWeatherConditions(const ShortString& Params);

    // Hands itself to the world's atmosphere, which owns it from then on (the
    // null atmosphere disposes it at once: nothing may touch it afterwards).
    void Spawned() override;
    void Render() override {}
    // None means nothing is drawn with it.
    virtual tShaderResource* GetSkyShader() = 0;
    virtual tShaderResource* GetStarsShader() = 0;

    int32_t DayTime_Hour = 0;
};

class tAtmosphere : public tSpawnable {
    Z_DECLARE_CLASS(tAtmosphere, tSpawnable)
public:
    tAtmosphere() = default;
    explicit tAtmosphere(const ShortString& Name) : tSpawnable(Name) {}

    void Spawned() override;
    virtual void SetDayTime(int32_t Hour) = 0;
    virtual void PreRender() = 0;
    // The atmosphere takes ownership of Conditions.
    virtual void SetWeatherConditions(tWeatherConditions* Conditions) = 0;
    virtual void UpdateAtmosphereParams(tShaderResource* Shader) = 0;
    virtual TVector3 GetSunPosition() = 0;
};
