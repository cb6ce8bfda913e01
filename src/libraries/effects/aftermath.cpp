#include "libraries/effects/aftermath.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tSplash, .Operations = {{"Ignite"}})
Z_IMPLEMENT_CLASS(tBurningWreck, .Operations = {{"Ignite"}, {"Rekindle"}})

namespace {
constexpr const char* SplashSound = "sounds\\splash_sml.wav";
}  // namespace

// ---- tSplash ----------------------------------------------------------------------

tSplash::tSplash(const ShortString& Name) : tParticleBurst(Name, Droplets + Mist) {
    ProcTrace trace("tSplash.Init(" + Name + ")");
    Ignite();
}

// Spray is smoke puffs laid on thickly (a cover above 1 whitens them).
void tSplash::Ignite() {
    const float S = Size;
    std::size_t I = 0;
    for (int32_t K = 0; K < Droplets; ++K)
        Particles[I++] = {.Position = Origin + Direction(0.0f) * (0.3f * S),
                          .Velocity = Direction(0.8f) * (Uniform(6, 14) * std::sqrt(S)),
                          .Life = Uniform(0.8f, 1.5f),
                          .StartSize = 0.4f * S,
                          .EndSize = 1.3f * S,
                          .Cover = 2.6f,
                          .Gravity = 1.0f,
                          .Drag = 0.5f,
                          .Kind = TBurstParticle::Smoke};
    for (int32_t K = 0; K < Mist; ++K)
        Particles[I++] = {.Position = Origin + TVector3{0, 0, 0.5f * S},
                          .Velocity = Direction(0.1f) * (Uniform(1, 3) * S),
                          .Age = -Uniform(0.1f, 0.3f),
                          .Life = Uniform(1.5f, 2.5f),
                          .StartSize = 1.0f * S,
                          .EndSize = 3.5f * S,
                          .Cover = 1.6f,
                          .Drag = 1.0f,
                          .Kind = TBurstParticle::Smoke};
    if (S > SilentUpTo) PlaySound(SplashSound);
}

// ---- tBurningWreck ------------------------------------------------------------------

tBurningWreck::tBurningWreck(const ShortString& Name) : tParticleBurst(Name, Flames + Smokes) {
    ProcTrace trace("tBurningWreck.Init(" + Name + ")");
    // The fourth token is the burning time here, not a size.
    Size = 1;
    const float Seconds = Str2Flt(GetToken(Name, 4));
    if (std::isfinite(Seconds) && Seconds > 0) BurnTime = Seconds;
    Ignite();
}

void tBurningWreck::Kindle(TBurstParticle& P) {
    if (&P - Particles.data() < Flames)
        P = {.Position = Origin + TVector3{Uniform(-1.5f, 1.5f), Uniform(-1.5f, 1.5f), Uniform(0, 0.8f)},
             .Velocity = {Uniform(-0.5f, 0.5f), Uniform(-0.5f, 0.5f), Uniform(2, 4)},
             .Life = Uniform(0.4f, 0.8f),
             .StartSize = Uniform(1.0f, 1.6f),
             .EndSize = 0.4f,
             .Glow = 1.3f,
             .Kind = TBurstParticle::Flame};
    else
        P = {.Position = Origin + TVector3{Uniform(-1, 1), Uniform(-1, 1), 1.5f},
             .Velocity = {Uniform(-0.6f, 0.6f), Uniform(-0.6f, 0.6f), Uniform(4, 6)},
             .Life = Uniform(2.5f, 4.0f),
             .StartSize = 0.8f,
             .EndSize = Uniform(3.5f, 5.0f),
             .Cover = 0.9f,
             .Drag = 0.2f,
             .Kind = TBurstParticle::Smoke};
}

// The fire catches over its first seconds: each puff starts up to one life late.
void tBurningWreck::Ignite() {
    for (TBurstParticle& P : Particles) {
        Kindle(P);
        P.Age = -Uniform(0, P.Life);
    }
}

bool tBurningWreck::Rekindle(TBurstParticle& P) {
    if (Age >= BurnTime) return false;
    Kindle(P);
    return true;
}
