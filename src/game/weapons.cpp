#include "game/weapons.h"

#include <algorithm>

#include "game/airplane.h"
#include "game/objectnames.h"
#include "game/projectiles.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tWeapon, .Operations = {{"Render"}, {"Spawned"}, {"Update"}, {"Fire"}})
Z_IMPLEMENT_CLASS(tRailGun, .Operations = {{"Fire"}})
Z_IMPLEMENT_CLASS(tPlasmaGun, .Operations = {{"Fire"}})
Z_IMPLEMENT_CLASS(tPulseGun, .Operations = {{"Fire"}})

namespace {
constexpr tWeapon::TGunSpec RailGun = {"sounds\\weapons\\railgun.wav", 0.8f, "tRailShaft"};
constexpr tWeapon::TGunSpec PlasmaGun = {"sounds\\weapons\\plasma.wav", 0.2f, "tPlasmaProjectile"};
constexpr tWeapon::TGunSpec PulseGun = {"sounds\\weapons\\pulse.wav", 0.1f, "tShellProjectile"};
}  // namespace

tWeapon::~tWeapon() {
    if (FireSound) DisposeObject(FireSound);
}

const char* tWeapon::FireSoundOf(const ShortString& ProjectileClass) {
    for (const TGunSpec* Spec : {&RailGun, &PlasmaGun, &PulseGun})
        if (ProjectileClass == Spec->ProjectileClass) return Spec->FireSoundFile;
    return nullptr;
}

float tWeapon::Readiness() const { return Gun ? std::min(1.0f, RechargeTrigger / Gun->RechargeTime) : 0.0f; }

void tWeapon::LoadGun(const TGunSpec& Spec) {
    Gun = &Spec;
    Logger->Guard(Engine->Audio, "No audio subsystem for the gun");
    FireSound = Engine->Audio->CreateSource(Spec.FireSoundFile);
}

void tWeapon::Fire(tActor* Owner, const TVector3& Position, const TVector3& Direction) {
    if (!Gun || RechargeTrigger <= Gun->RechargeTime) return;
    RechargeTrigger = 0;
    FireSound->PlaceAt(Position);
    FireSound->Play(Owner);
    const TVector3 Muzzle = {Position.x, Position.y, Position.z - MuzzleDrop};
    tZObject* Shot = Linker->InstantiateClassByName(Gun->ProjectileClass, PositionText(Muzzle, Direction * MuzzleSpeed));
    // The shot remembers its pilot, so it spares the aircraft that fired it.
    if (Owner && Owner->DynamicCast(&tAirplaneActor::ClassInfo) && Shot->DynamicCast(&tParticleProjectile::ClassInfo))
        static_cast<tParticleProjectile*>(Shot)->Shooter = static_cast<tAirplaneActor*>(Owner)->Pilot;
}

tRailGun::tRailGun(const ShortString& Name) : tWeapon(Name) { LoadGun(RailGun); }
tPlasmaGun::tPlasmaGun(const ShortString& Name) : tWeapon(Name) { LoadGun(PlasmaGun); }
tPulseGun::tPulseGun(const ShortString& Name) : tWeapon(Name) { LoadGun(PulseGun); }
