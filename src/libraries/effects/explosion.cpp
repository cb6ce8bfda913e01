#include "libraries/effects/explosion.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/audiosource.h"

Z_IMPLEMENT_CLASS(tExplosion, .Operations = {{"FeedbackSignal"}, {"Ignite"}})

tExplosion* tExplosion::Pool[MaxLive] = {};
int32_t tExplosion::Live = 0;
uint32_t tExplosion::NextSerial = 0;

namespace {
constexpr const char* SmallBoomFile = "sounds\\explosions\\boom_small.wav";
constexpr const char* MediumBoomFile = "sounds\\explosions\\boom_medium.wav";
constexpr const char* LargeBoomFile = "sounds\\explosions\\boom_large.wav";
}  // namespace

tExplosion::tExplosion(const ShortString& Name) : tParticleBurst(Name, Capacity) {
    ProcTrace trace("tExplosion.Init(" + Name + ")");
    Enlist();
    Ignite();
}

tExplosion::~tExplosion() { Leave(); }

tExplosion* tExplosion::Oldest() {
    return Live ? *std::min_element(Pool, Pool + Live, [](tExplosion* A, tExplosion* B) { return A->Serial < B->Serial; })
                : nullptr;
}

void tExplosion::Enlist() {
    if (Live == MaxLive) {
        tExplosion* Retired = Oldest();
        Retired->Leave();
        Retired->Kill();
    }
    Pool[Live++] = this;
    Listed = true;
    Serial = NextSerial++;
}

void tExplosion::Leave() {
    if (!Listed) return;
    Listed = false;
    tExplosion** Last = std::remove(Pool, Pool + Live, this);
    Live = int32_t(Last - Pool);
}

void tExplosion::Detonate(const TVector3& Position, float Size) {
    if (Live == MaxLive) {
        tExplosion* Reused = Oldest();
        Reused->Serial = NextSerial++;
        Reused->Restart(Position, Size);
        return;
    }
    Linker->InstantiateClassByName("tExplosion", Flt2Str(Position.x, 2) + " " + Flt2Str(Position.y, 2) + " " +
                                                     Flt2Str(Position.z, 2) + " " + Flt2Str(Size, 2));
}

TFeedbackSignal tExplosion::FeedbackSignal() {
    const TFeedbackSignal Signal = tParticleBurst::FeedbackSignal();
    // Going: not to be started over any more.
    if (Signal == FEEDBACK_KILL) Leave();
    return Signal;
}

void tExplosion::Ignite() {
    const float S = Size;
    // Bigger blasts burn and smoke a little longer.
    const float Longer = std::min(2.0f, 0.8f + 0.2f * S);
    int32_t I = 0;
    auto Next = [&]() -> TBurstParticle& { return Particles[std::size_t(I++)]; };

    TBurstParticle& Flash = Next();
    Flash = {.Position = Origin + TVector3{0, 0, 0.5f * S}, .Life = 0.2f, .StartSize = 2.5f * S,
             .EndSize = 4.5f * S, .Glow = 2.5f, .Kind = TBurstParticle::Flame};
    for (int32_t K = 0; K < Flames; ++K)
        Next() = {.Position = Origin + Direction(0.1f) * (0.4f * S),
                  .Velocity = Direction(0.0f) * (Uniform(4, 9) * S),
                  .Life = Uniform(0.5f, 0.9f) * Longer,
                  .StartSize = 0.8f * S,
                  .EndSize = Uniform(1.8f, 2.6f) * S,
                  .Glow = 1.6f,
                  .Gravity = -0.15f,
                  .Drag = 3.5f,
                  .Kind = TBurstParticle::Flame};
    for (int32_t K = 0; K < Smokes; ++K)
        Next() = {.Position = Origin + Direction(0.2f) * (0.6f * S),
                  .Velocity = Direction(0.5f) * (Uniform(1, 3) * S) + TVector3{0, 0, 1.5f * S},
                  .Age = -Uniform(0.25f, 0.5f),
                  .Life = Uniform(2.0f, 3.2f) * Longer,
                  .StartSize = 1.0f * S,
                  .EndSize = Uniform(3.5f, 5.0f) * S,
                  .Cover = 0.8f,
                  .Drag = 0.8f,
                  .Kind = TBurstParticle::Smoke};
    for (int32_t K = 0; K < Sparks; ++K)
        Next() = {.Position = Origin,
                  .Velocity = Direction(0.2f) * (Uniform(10, 22) * std::sqrt(S)),
                  .Life = Uniform(0.6f, 1.3f),
                  .StartSize = 0.3f * S,
                  .EndSize = 0.1f * S,
                  .Glow = 1.8f,
                  .Gravity = 1.0f,
                  .Drag = 0.3f,
                  .Kind = TBurstParticle::Flame};
    PlaySound(S <= SmallBoom ? SmallBoomFile : S <= MediumBoom ? MediumBoomFile : LargeBoomFile);
}
