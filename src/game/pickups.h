#pragma once
// Pickups lying about the level. A credits coin glows over the landscape;
// an aircraft that flies through it collects it (a credit for its pilot and
// a chime), and it comes back a while later.

#include "kernel/world/spawnable.h"

class tAudioSource;
class tMeshResource;
class tShaderResource;
class tVertexArray;

class tPickup : public tEffect {
    Z_DECLARE_CLASS(tPickup, tEffect)
public:
    explicit tPickup(const ShortString& Name) : tEffect(Name) {}
    void Render() override {}
};

class tCreditsPickup : public tPickup {
    Z_DECLARE_CLASS(tCreditsPickup, tPickup)
public:
    static constexpr const char* CoinMesh = "Pickups\\Credits_Pickup.ase";
    static constexpr float CoinSize = 3.0f;
    static constexpr float GlowSize = 6.0f;
    static constexpr float ReturnSeconds = 20.0f;
    static constexpr const char* PickupSoundFile = "sounds\\pickup.wav";

    // Name: "x y z", where the coin stands.
    explicit tCreditsPickup(const ShortString& Name);
    ~tCreditsPickup() override;

    void Render() override;
    void Update(float DeltaSeconds) override;
    TFeedbackSignal FeedbackSignal() override;

    bool Collected() const { return AwayFor > 0; }

    TVector3 Position;
    tShaderResource* Shader = nullptr;     // the resources manager's
    tVertexArray* Glow = nullptr;          // owned
    tMeshResource* SceneNode = nullptr;    // owned
    tAudioSource* PickupSound = nullptr;   // owned
    float AwayFor = 0;                     // seconds until it is back

private:
    bool GlowBuilt = false;
};
