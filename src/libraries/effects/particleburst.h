#pragma once
// The particle system behind explosions, burning wrecks and splashes: a fixed
// number of camera-facing puffs, each flying ballistically or rising with
// drag, growing and fading over its life, all drawn from one vertex array
// that is sized when the effect is made. A puff is either a flame (it adds
// light) or smoke (it covers what is behind it); see burst.shader.
// An effect removes itself once every puff is gone and its sound has ended.

#include <cstdint>
#include <vector>

#include "kernel/world/spawnable.h"
#include "libraries/math/random.h"

class tAudioSource;
class tShaderResource;
class tVertexArray;

struct TBurstParticle {
    enum TKind : uint8_t { Flame, Smoke };
    TVector3 Position, Velocity;
    float Age = 0;   // seconds; below 0 the puff has not appeared yet
    float Life = 0;  // 0 for a slot that holds nothing
    float StartSize = 0, EndSize = 0;  // half widths
    float Glow = 0, Cover = 0;         // at the start, fading to 0 over the life
    float Gravity = 0;                 // times the world's
    float Drag = 0;                    // share of the velocity lost per second
    TKind Kind = Flame;

    bool Alive() const { return Life > 0 && Age < Life; }
    bool Visible() const { return Alive() && Age >= 0; }
};

class tParticleBurst : public tEffect {
    Z_DECLARE_CLASS(tParticleBurst, tEffect)
public:
    static constexpr float Gravity = 9.8f;
    // Smoke drifts with the wind, a little each second.
    static constexpr TVector3 Wind = {2.5f, 1.5f, 0};

    // Name: "x y z size"; a size that is not a positive number counts as 1.
    tParticleBurst(const ShortString& Name, int32_t Capacity);
    ~tParticleBurst() override;

    void Update(float DeltaSeconds) override;
    void Render() override;
    TFeedbackSignal FeedbackSignal() override;

    // Starts the effect over at Position with Size: the puffs, the sound and
    // the clock (an effect that is reused rather than made anew).
    void Restart(const TVector3& Position, float Size);
    int32_t LiveParticles() const;

    TVector3 Origin;
    float Size = 1;
    float Age = 0;
    std::vector<TBurstParticle> Particles;  // fixed at construction
    tAudioSource* Sound = nullptr;          // owned, or none

    // The next burst draws the first dice of the match seed again: a match
    // that begins anew sets off the same bursts.
    static void RestartSeeds();

protected:
    // Lays out the puffs for a start at Origin with Size, and the sound.
    virtual void Ignite() = 0;
    // A puff that has died may be sent out again (a fire that keeps burning).
    virtual bool Rekindle(TBurstParticle& Particle) { return false; }
    // Replaces the sound with a new one for File and plays it.
    void PlaySound(const char* File);
    float Uniform(float Low, float High);
    // A random direction with the given least upward component.
    TVector3 Direction(float MinUp);

    tRandom Random;

private:
    void WriteQuads();

    tVertexArray* VA = nullptr;           // owned, four corners per puff
    tShaderResource* Shader = nullptr;    // the resources manager's
    const char* SoundFile = nullptr;      // what Sound plays
};
