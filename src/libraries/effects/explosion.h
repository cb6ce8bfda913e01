#pragma once
// An explosion: a flash, a fireball of glowing puffs that swell and fade,
// smoke that rises and drifts, and sparks thrown out under gravity, with a
// boom at its place (longer and louder for larger ones). Object name:
// "x y z size" (size 1 is a shot's, 5 an aircraft's), so that
// SpawnClass tExplosion "x y z size" sets one off from the console.
//
// At most MaxLive explosions exist at once: a pulse gun lands ten hits a
// second. Detonate starts the oldest over when that many live; one made by
// name then retires the oldest instead.

#include <cstdint>

#include "libraries/effects/particleburst.h"

class tExplosion : public tParticleBurst {
    Z_DECLARE_CLASS(tExplosion, tParticleBurst)
public:
    static constexpr int32_t MaxLive = 12;
    static constexpr int32_t Flashes = 1, Flames = 12, Smokes = 12, Sparks = 20;
    static constexpr int32_t Capacity = Flashes + Flames + Smokes + Sparks;
    // The boom by size: up to SmallBoom, up to MediumBoom, larger.
    static constexpr float SmallBoom = 2.0f, MediumBoom = 4.5f;

    explicit tExplosion(const ShortString& Name);
    ~tExplosion() override;

    TFeedbackSignal FeedbackSignal() override;

    // An explosion of Size at Position, in the current world.
    static void Detonate(const TVector3& Position, float Size);
    static int32_t LiveCount() { return Live; }

private:
    void Ignite() override;
    // Joins the live explosions, retiring the oldest when they are full.
    void Enlist();
    void Leave();
    static tExplosion* Oldest();

    uint32_t Serial = 0;  // larger is younger
    bool Listed = false;
    static tExplosion* Pool[MaxLive];
    static int32_t Live;
    static uint32_t NextSerial;
};
