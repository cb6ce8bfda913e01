#pragma once
// The fair-weather kinds: a cloudy day (drifting clouds by day, stars by
// night, a lens flare on the sun), a clear day and the red sky of hellfire.
// Day or night is decided once, from the hour the object's name starts with.

#include "kernel/world/atmosphere.h"

class tProxy;

class tCloudyDay : public tWeatherConditions {
    Z_DECLARE_CLASS(tCloudyDay, tWeatherConditions)
public:
    // Night lasts from NightFrom:00 until MorningAt:00.
    static constexpr int32_t NightFrom = 22, MorningAt = 6;
    static constexpr TVector4 DayFog = {0.3f, 0.3f, 0.9f, 1.0f};
    static constexpr TVector4 NightFog = {0.2f, 0.2f, 0.3f, 1.0f};
    // Where the flare starts, until the sky tells it where the sun is.
    static constexpr TVector3 FlareStart = {60700, 75700, 70700};
    // The flare stands this far beyond the atmosphere's sun position.
    static constexpr float FlareDistance = 10000;

    explicit tCloudyDay(const ShortString& Params);
    ~tCloudyDay() override;

    tShaderResource* GetSkyShader() override;
    tShaderResource* GetStarsShader() override;

    static bool IsNightHour(int32_t Hour) { return Hour >= NightFrom || Hour < MorningAt; }

    tShaderResource* Shader = nullptr;
    tShaderResource* Stars = nullptr;
    bool Night = false;
    tProxy* SunFlareProxy = nullptr;  // owned; the flare itself lives in the world

protected:
    // Moves the flare onto the sun while it lives.
    void UpdateSunFlare();
};

class tClearDay : public tCloudyDay {
    Z_DECLARE_CLASS(tClearDay, tCloudyDay)
public:
    explicit tClearDay(const ShortString& Params);
    tShaderResource* GetSkyShader() override { return Shader; }

    tShaderResource* Shader = nullptr;
};

class tHellfire : public tCloudyDay {
    Z_DECLARE_CLASS(tHellfire, tCloudyDay)
public:
    static constexpr TVector4 Fog = {0.45f, 0.12f, 0.04f, 1.0f};

    explicit tHellfire(const ShortString& Params);
    tShaderResource* GetSkyShader() override { return Shader; }

    tShaderResource* Shader = nullptr;
};
