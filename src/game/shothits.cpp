// Shots against aircraft: what each gun's shot does to an aircraft it
// meets, and who fired it.

#include "game/airplane.h"
#include "game/match.h"
#include "game/projectiles.h"

namespace {
struct TShotKind {
    const tStaticClass* Projectile;
    int32_t Damage;
    const char* GunName;
};

// Slow guns hit harder: each kills in about the same time on target.
const TShotKind ShotKinds[] = {
    {&tRailShaft::ClassInfo, 70, "rail gun"},
    {&tPlasmaProjectile::ClassInfo, 25, "plasma gun"},
    {&tShellProjectile::ClassInfo, 12, "pulse gun"},
};
constexpr TShotKind AnyShot = {nullptr, 10, "a shot"};

const TShotKind& KindOf(const tParticleProjectile& Shot) {
    for (const TShotKind& K : ShotKinds)
        if (Shot.GetClass()->IsA(K.Projectile)) return K;
    return AnyShot;
}
}  // namespace

int32_t tParticleProjectile::Damage() const { return KindOf(*this).Damage; }

ShortString tParticleProjectile::GunName() const { return KindOf(*this).GunName; }

// An echo of another machine's shot never moves this one's camera.
bool tParticleProjectile::FiredByPlayer() const { return !EchoOf && (!Match || !Match->IsComputer(Shooter)); }

bool tParticleProjectile::StrikesAircraft() {
    if (!Match) return false;
    tAirplaneActor* Victim = Match->AircraftOnPath(PreviousPosition, Position, Shooter);
    if (!Victim) return false;
    Victim->TakeHit(Damage(), Shooter, GunName());
    return true;
}

bool tRailShaft::StrikesAircraft() {
    if (!Match || StruckAircraft || ParticlesCount == 0) return false;
    const TVector3 Head = iPos + Velocity * (float(ParticlesCount) / ParticleSpacing);
    tAirplaneActor* Victim = Match->AircraftOnPath(iPos, Head, Shooter);
    if (!Victim) return false;
    Victim->TakeHit(Damage(), Shooter, GunName());
    StruckAircraft = true;
    return false;
}
