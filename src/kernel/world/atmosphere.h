#pragma once
// The sky and weather interface a world holds. An atmosphere becomes its
// world's atmosphere as soon as it is spawned.

#include <cstdint>

#include "kernel/world/spawnable.h"

class tShaderResource;

// The weather an atmosphere owns.
class tWeatherConditions : public tSpawnable {
    Z_DECLARE_CLASS(tWeatherConditions, tSpawnable)
public:
    tWeatherConditions() = default;
    explicit tWeatherConditions(const ShortString& Name) : tSpawnable(Name) {}
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
