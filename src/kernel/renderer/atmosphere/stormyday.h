#pragma once
// A thunderstorm: a grey overcast sky, rain falling around the camera, and
// lightning that now and then lights the sky and the fog for a tenth of a
// second with a thunder clap.

#include "kernel/world/atmosphere.h"
#include "libraries/math/random.h"

class tAudioSource;
class tVertexArray;

class tStormyDay : public tWeatherConditions {
    Z_DECLARE_CLASS(tStormyDay, tWeatherConditions)
public:
    static constexpr int32_t RainDropsCount = 400;
    static constexpr int32_t DropCorners = 4;
    static constexpr float FallSpeed = 450;
    // A drop that falls below this height (absolute, not above the camera)
    // starts again above the camera.
    static constexpr float RebirthHeight = 20;
    static constexpr float FlashSeconds = 0.1f;
    // A strike starts with probability StrikeRate x DeltaSeconds per tick.
    static constexpr int32_t StrikeDice = 1000;
    static constexpr float StrikeRate = 300;
    static constexpr TVector4 CalmFog = {0.2f, 0.2f, 0.2f, 1.0f};
    static constexpr TVector4 FlashFog = {0.4f, 0.4f, 0.4f, 1.0f};
    static constexpr uint32_t WeatherSeed = 20061;

    explicit tStormyDay(const ShortString& Params);
    ~tStormyDay() override;

    void Update(float DeltaSeconds) override;
    void Render() override;
    tShaderResource* GetSkyShader() override { return Struck ? Thunder : Sky; }
    tShaderResource* GetStarsShader() override { return nullptr; }

    tShaderResource* Sky = nullptr;
    tShaderResource* Thunder = nullptr;
    bool Struck = false;
    float StruckTime = 0;
    tAudioSource* RainSound = nullptr;  // owned; loops from the storm's start
    tVertexArray* Rain = nullptr;       // owned
    tShaderResource* RainShader = nullptr;
    TVector3 RainDrops[RainDropsCount];
    TVector3 CameraPos;

private:
    void UpdateLightning(float DeltaSeconds);
    void Strike();
    void PlayThunder(const ShortString& FileName);
    void UpdateRain(float DeltaSeconds);
    // A drop somewhere above the camera, Spread units around it.
    TVector3 NewDrop(int32_t Spread);
    // Copies every drop's position to its four vertices.
    void FillRain();
    // The camera's position, or the last one known while there is no camera.
    void FollowCamera();

    tRandom Random{tRandom::Seeded(WeatherSeed)};
    // Owned: the last clap played without announcers.
    tAudioSource* ThunderSound = nullptr;
};
