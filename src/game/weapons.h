#pragma once
// The aircraft's guns. A weapon keeps a recharge clock, advanced by its
// aircraft's update (weapons are in no world list); when the aircraft fires
// and the gun has recharged, it plays its sound and spawns its projectile
// with the start position and velocity in the object name.

#include "kernel/world/spawnable.h"

class tAudioSource;

class tWeapon : public tSpawnable {
    Z_DECLARE_CLASS(tWeapon, tSpawnable)
public:
    // How a class name that is no weapon is refused: "<name> isn't " + KindName.
    static constexpr const char* KindName = "a weapon class";
    static constexpr float MuzzleSpeed = 400.0f;
    // Shots leave a little below the aircraft's centre.
    static constexpr float MuzzleDrop = 0.1f;

    explicit tWeapon(const ShortString& Name) : tSpawnable(Name) {}
    ~tWeapon() override;

    void Render() override {}
    void Spawned() override {}
    void Update(float DeltaSeconds) override { RechargeTrigger += DeltaSeconds; }
    // Owner is the aircraft firing; the shot flies from Position along
    // Direction. A bare weapon has no gun and never fires.
    virtual void Fire(tActor* Owner, const TVector3& Position, const TVector3& Direction);

    // 0 just after a shot, 1 once the gun may fire again.
    float Readiness() const;

    float RechargeTrigger = 0;  // seconds since the last shot
    tAudioSource* FireSound = nullptr;  // owned; the concrete guns' sound

    // What a concrete gun fires, how often, and how it sounds.
    struct TGunSpec {
        const char* FireSoundFile;
        float RechargeTime;
        const char* ProjectileClass;
    };

    // The sound of the gun that fires ProjectileClass; none for a shot of no gun.
    static const char* FireSoundOf(const ShortString& ProjectileClass);

protected:
    // Called by the concrete guns' constructors.
    void LoadGun(const TGunSpec& Spec);

private:
    const TGunSpec* Gun = nullptr;
};

class tRailGun : public tWeapon {
    Z_DECLARE_CLASS(tRailGun, tWeapon)
public:
    explicit tRailGun(const ShortString& Name);
};

class tPlasmaGun : public tWeapon {
    Z_DECLARE_CLASS(tPlasmaGun, tWeapon)
public:
    explicit tPlasmaGun(const ShortString& Name);
};

class tPulseGun : public tWeapon {
    Z_DECLARE_CLASS(tPulseGun, tWeapon)
public:
    explicit tPulseGun(const ShortString& Name);
};
