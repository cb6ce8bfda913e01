#pragma once
// The shots of the guns: effects that fly ballistically from the muzzle,
// drawn as glowing camera-facing quads, that strike the terrain (digging a
// crater of their class's size under a small explosion, and playing a hit
// sound) or the sea (a splash) and expire after their lifetime. A shot that
// hits stays, unseen, until its sound has ended. The rail shaft draws a
// widening helix along its path, strikes whatever its beam meets first and
// swings the camera around it.

#include <array>
#include <cstdint>

#include "game/beamtrace.h"
#include "kernel/world/spawnable.h"

class tAudioSource;
class tShaderResource;
class tVertexArray;

class tParticleProjectile : public tEffect {
    Z_DECLARE_CLASS(tParticleProjectile, tEffect)
public:
    static constexpr float Gravity = 9.8f;
    static constexpr float DefaultTTL = 3.0f;
    static constexpr float DefaultQuadSize = 1.0f;
    static constexpr float HitRadius = 1.0f;
    // The crater and the explosion of a plain particle; each gun's shot has its own.
    static constexpr float DefaultCraterRadius = 3.0f;
    static constexpr float DefaultBlastSize = 1.0f;
    static constexpr float SplashBelow = 10.0f;  // hits lower than this land in the sea
    static constexpr const char* HitSoundFile = "sounds\\hit.wav";
    static constexpr const char* SplashSoundFile = "sounds\\splash_sml.wav";

    // Name: "x y z vx vy vz", the start position and the velocity.
    explicit tParticleProjectile(const ShortString& Name);
    ~tParticleProjectile() override;

    void Render() override;
    TFeedbackSignal FeedbackSignal() override;
    void Update(float DeltaSeconds) override;

    // T seconds of flight under gravity: position and velocity follow the
    // exact parabola whatever the step.
    static void BallisticStep(TVector3& P, TVector3& V, float T);

    TVector3 Position;
    TVector3 Velocity;
    float LifeTime = 0;
    float TTL = DefaultTTL;
    tShaderResource* Shader = nullptr;   // the resources manager's
    tVertexArray* VA = nullptr;          // owned: the shot's quad
    tAudioSource* HitSound = nullptr;    // owned, once the shot has hit
    bool Hit = false;
    float CraterRadius = DefaultCraterRadius;
    float BlastSize = DefaultBlastSize;
    // The pilot who fired it, whose aircraft it never hits; 0 for a shot
    // that belongs to nobody and may hit anyone.
    int32_t Shooter = 0;
    TVector3 PreviousPosition;           // where the last step began
    uint16_t NetId = 0;                  // the shot's number in snapshots, 1...65535
    // On a client: the server's number of the shot this one shows. Such an
    // echo flies, is drawn, is heard and bursts where it lands, but digs no
    // crater and hits no aircraft: the server alone decides those.
    uint16_t EchoOf = 0;
    tAudioSource* FireSound = nullptr;   // owned: an echo's gun, heard where it left

    // The echo's gun is heard where the shot is now.
    void SoundFired(const char* File);
    // The server's shot is gone (it hit something): the echo bursts where
    // it is, unless it has landed already. A beam lives out its time.
    void EndEcho();

    // The gun's damage and name, as the kill line shows it.
    int32_t Damage() const;
    ShortString GunName() const;
    // The player's shots (and nobody's) move the camera; the computer
    // pilots' never do.
    bool FiredByPlayer() const;

protected:
    // Plays the hit sound and leaves the shot's mark at Point: a crater and an
    // explosion on land, a splash on the sea.
    void Strike(const TVector3& Point, bool Sea);

    // Half the width of the shot's quad.
    float QuadSize = DefaultQuadSize;

    // Damages the first aircraft on the shot's last step; true when one was hit.
    virtual bool StrikesAircraft();

private:
    // Whether the shot meets the ground or the sea where it is (never in a
    // world without terrain), striking it when it does.
    bool StrikesTerrain();
    // Strikes the ground, or the sea's surface, where the shot is.
    void StrikeHere(bool Sea);
};

// The pulse gun's small bright shell.
class tShellProjectile : public tParticleProjectile {
    Z_DECLARE_CLASS(tShellProjectile, tParticleProjectile)
public:
    explicit tShellProjectile(const ShortString& Name);
};

// The plasma gun's large glare, fading over its life in its shader.
class tPlasmaProjectile : public tParticleProjectile {
    Z_DECLARE_CLASS(tPlasmaProjectile, tParticleProjectile)
public:
    explicit tPlasmaProjectile(const ShortString& Name);
    void Render() override;

    TVector4 Time = {0, 0, 0, 0};  // (LifeTime, TTL) for the shader
};

class tRailShaft : public tParticleProjectile {
    Z_DECLARE_CLASS(tRailShaft, tParticleProjectile)
public:
    static constexpr int32_t MaxParticles = 1000;
    static constexpr float RailTTL = 1.5f;
    static constexpr float HelixRadius = 4.0f;     // at the end of the shaft's life
    static constexpr float HelixTurn = 0.3f;       // radians from one particle to the next
    static constexpr float ParticleSpacing = 500;  // particles per unit of velocity
    static constexpr float ParticleSize = 2.0f;

    explicit tRailShaft(const ShortString& Name);
    ~tRailShaft() override;

    void Update(float DeltaSeconds) override;
    void Render() override;
    // The beam strikes through its own trace, not at the shot's position: it
    // lives its whole time, then goes once its hit sound has ended.
    TFeedbackSignal FeedbackSignal() override;

    // How far the beam reaches: where it ends when it meets nothing.
    TVector3 BeamEnd() const { return iPos + Velocity * (float(MaxParticles) / ParticleSpacing); }

    TVector4 Time = {0, 0, 0, 0};
    tVertexArray* ParticlesVA = nullptr;  // owned
    std::array<TVector3, MaxParticles> Particles{};
    int32_t ParticlesCount = 0;
    TVector3 iPos;          // the beam's origin
    bool Orbited = false;   // the orbit camera has been started
    TBeamHit Target;        // what the beam meets, traced when it is fired
    bool Struck = false;    // the beam has reached its target
    bool StruckAircraft = false;

protected:
    // The beam as far as it has grown strikes an aircraft, once; it goes on
    // to its target.
    bool StrikesAircraft() override;

private:
    // The particles that lie before the target.
    int32_t ParticlesBeforeTarget() const;
};
