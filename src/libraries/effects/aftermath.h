#pragma once
// What is left where something came down: spray thrown up where a shot or an
// aircraft meets the sea, and the burning, smoking wreck of a crashed
// aircraft.

#include <cstdint>

#include "libraries/effects/particleburst.h"

// Object name: "x y z size", at the water surface (size 1 a shot's).
class tSplash : public tParticleBurst {
    Z_DECLARE_CLASS(tSplash, tParticleBurst)
public:
    static constexpr int32_t Droplets = 24, Mist = 8;
    // A shot plays its own splash; anything larger brings its own sound.
    static constexpr float SilentUpTo = 2.0f;

    explicit tSplash(const ShortString& Name);

private:
    void Ignite() override;
};

// Object name: "x y z seconds": flames licking up from the wreck and a
// column of smoke, kept going for that many seconds (8 when not given), then
// dying down.
class tBurningWreck : public tParticleBurst {
    Z_DECLARE_CLASS(tBurningWreck, tParticleBurst)
public:
    static constexpr int32_t Flames = 14, Smokes = 26;
    static constexpr float DefaultBurnTime = 8.0f;

    explicit tBurningWreck(const ShortString& Name);

    float BurnTime = DefaultBurnTime;

private:
    void Ignite() override;
    bool Rekindle(TBurstParticle& Particle) override;
    void Kindle(TBurstParticle& Particle);
};
