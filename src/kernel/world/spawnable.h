#pragma once
// Spawnables are the objects that live in the game world. Created by class
// name through the registry, a spawnable enters the current world by itself
// (Instanciated -> the world's Spawn -> Spawned), is updated every tick, and
// asks to be removed by answering FEEDBACK_KILL to FeedbackSignal.

#include <cstdint>

#include "kernel/objects/lists.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/math/vector.h"

enum TFeedbackSignal : int32_t { FEEDBACK_NONE = 0, FEEDBACK_KILL = 1 };

class tSpawnable : public tRenderable {
    Z_DECLARE_CLASS(tSpawnable, tRenderable)
public:
    tSpawnable();
    explicit tSpawnable(const ShortString& Name);
    // Only objects built through the registry may be destroyed.
    ~tSpawnable() override;

    // Hands the object to the engine's current world (a null world when no
    // level has been made yet).
    void Instanciated() override;
    virtual void Update(float DeltaSeconds) {}
    virtual TFeedbackSignal FeedbackSignal() { return DefaultSignal; }
    virtual void Spawned() {}
    // Removal happens in the world's tick, after the update pass.
    virtual void Kill() { DefaultSignal = FEEDBACK_KILL; }

    TFeedbackSignal DefaultSignal = FEEDBACK_NONE;
};

class tActor : public tSpawnable {
    Z_DECLARE_CLASS(tActor, tSpawnable)
public:
    tActor() = default;
    explicit tActor(const ShortString& Name) : tSpawnable(Name) {}

    void Spawned() override;
    virtual void RenderReflection() {}
    virtual void SetPosition(const TVector3& Position) = 0;
    virtual bool EstimateSphereCollision(const TVector3& Center, float Radius) { return false; }
    virtual void CollisionDetected(tActor* Other) {}
    // Whether every pixel the actor draws is solid and written to the depth
    // buffer (a cut-out is solid where drawn): the level draws such actors
    // before the sea and the sky, which then skip what they would hide.
    virtual bool IsOpaque() { return false; }
};

class tEffect : public tSpawnable {
    Z_DECLARE_CLASS(tEffect, tSpawnable)
public:
    tEffect() = default;
    explicit tEffect(const ShortString& Name) : tSpawnable(Name) {}

    void Spawned() override;
    virtual void UpdatePosition(const TVector3& Position) {}
};

class tActorsList : public tList {
public:
    tActorsList() : tList("tActor") {}
    tActor* GetActor(int32_t Index) const { return static_cast<tActor*>(GetObject(Index)); }
};

class tEffectsList : public tList {
public:
    tEffectsList() : tList("tEffect") {}
    tEffect* GetEffect(int32_t Index) const { return static_cast<tEffect*>(GetObject(Index)); }
};

class tSpawnablesList : public tList {
public:
    tSpawnablesList() : tList("tSpawnable") {}
    tSpawnable* GetSpawnable(int32_t Index) const { return static_cast<tSpawnable*>(GetObject(Index)); }
};
