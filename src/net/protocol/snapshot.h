#pragma once
// What a snapshot holds: the aircraft and the projectiles in play at one
// server tick, as whole numbers, so that a state encoded against a baseline
// and decoded against the same baseline is the very same state. A snapshot
// is sent as its difference from the last one the client acknowledged: only
// the fields that changed, each as the change; a client with none gets the
// difference from nothing. Fixed capacity, so making and keeping snapshots
// allocates nothing.

#include <array>
#include <cstdint>

#include "net/protocol/messages.h"
#include "net/protocol/netbuffer.h"

// Positions and speeds in 1/64 units, attitudes as unit quaternions times 32767.
inline constexpr float NetUnitsPerMetre = 64.0f;
inline constexpr float NetDirectionScale = 32767.0f;
int32_t NetFixed(float V);
float NetFloat(int32_t V);
int32_t NetDirection(float V);
float NetDirectionFloat(int32_t V);

// An aircraft in play, keyed by its pilot (1...MaxNetPilots).
struct tNetAircraft {
    enum tField : uint8_t {
        Chassis, Weapon, Flags, Health, X, Y, Z, AttitudeX, AttitudeY, AttitudeZ, AttitudeW, Speed, Throttle,
        FieldCount
    };
    enum tFlags : int32_t { Firing = 1, HitFlash = 2, Crashed = 4 };
    uint8_t Id = 0;
    std::array<int32_t, FieldCount> F{};
    bool operator==(const tNetAircraft&) const = default;
};

// A shot in flight, keyed by the server's number for it (1...65535). Its
// kind is the shot's class, numbered as here (0: one of no gun).
inline constexpr const char* ProjectileClasses[] = {"tParticleProjectile", "tShellProjectile", "tPlasmaProjectile", "tRailShaft"};
struct tNetProjectile {
    enum tField : uint8_t { Kind, Owner, X, Y, Z, VelocityX, VelocityY, VelocityZ, FieldCount };
    uint16_t Id = 0;
    std::array<int32_t, FieldCount> F{};
    bool operator==(const tNetProjectile&) const = default;
};

struct tNetSnapshot {
    uint32_t Tick = 0;  // the server's update number; 0 is no snapshot
    int32_t AircraftCount = 0;
    int32_t ProjectileCount = 0;
    // Each in ascending order of Id.
    std::array<tNetAircraft, MaxNetPilots> Aircraft;
    std::array<tNetProjectile, MaxNetProjectiles> Projectiles;

    bool SameStateAs(const tNetSnapshot& O) const;
};

// Writes S as its difference from Base (an empty snapshot: the whole of S).
// The message starts with S's tick and Base's, so the reader finds its base,
// then the last input tick the server has of this client (its acknowledgement).
void WriteSnapshotDelta(tNetWriter& W, const tNetSnapshot& S, const tNetSnapshot& Base, uint32_t AckedInput);
// The base tick a snapshot message was written against (0: none), read
// without consuming anything else; 0 too when the message is too short.
uint32_t ReadSnapshotBaseTick(tNetReader R);
// Reads into Out the snapshot written against Base; false (and Out
// unusable) when the message is damaged, out of range, or was written
// against another base. Out must not be Base.
bool ReadSnapshotDelta(tNetReader& R, const tNetSnapshot& Base, tNetSnapshot& Out, uint32_t& AckedInput);

// The last snapshots, found by tick: the server keeps the ones it sent to a
// client, the client the ones it received, so either finds the base of the
// next one. A power of two, over a second and a half at 20 a second.
class tSnapshotHistory {
public:
    static constexpr int32_t Depth = 32;
    tNetSnapshot& Slot(uint32_t Tick) { return Snapshots[Tick % Depth]; }
    // The snapshot of that tick while still kept, else nullptr.
    const tNetSnapshot* Find(uint32_t Tick) const {
        const tNetSnapshot& S = Snapshots[Tick % Depth];
        return Tick != 0 && S.Tick == Tick ? &S : nullptr;
    }
    void Clear() { Snapshots = {}; }

private:
    std::array<tNetSnapshot, Depth> Snapshots{};
};
