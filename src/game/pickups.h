#pragma once
// Pickups lying about the level. The credits coin turns nobody's score: it
// glows over the landscape for the whole level and is never collected.

#include "kernel/world/spawnable.h"

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

    // Name: "x y z", where the coin stands.
    explicit tCreditsPickup(const ShortString& Name);
    ~tCreditsPickup() override;

    void Render() override;

    TVector3 Position;
    tShaderResource* Shader = nullptr;     // the resources manager's
    tVertexArray* Glow = nullptr;          // owned
    tMeshResource* SceneNode = nullptr;    // owned

private:
    bool GlowBuilt = false;
};
