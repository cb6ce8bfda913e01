#include "net/protocol/snapshot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t Big = std::numeric_limits<int32_t>::max() / 2;
constexpr int32_t Unit = 32767;

struct tRange {
    int32_t Low, High;
};

// What a decoded field may hold; anything else is a damaged message.
constexpr std::array<tRange, tNetAircraft::FieldCount> AircraftRanges = {{
    {0, 15}, {0, 15}, {0, 7}, {0, 1000},               // chassis, weapon, flags, health
    {-Big, Big}, {-Big, Big}, {-Big, Big},             // position
    {-Unit, Unit}, {-Unit, Unit}, {-Unit, Unit}, {-Unit, Unit},  // attitude
    {-Big, Big}, {0, 255},                             // speed, throttle
}};
constexpr std::array<tRange, tNetProjectile::FieldCount> ProjectileRanges = {{
    {0, 15}, {0, MaxNetPilots},
    {-Big, Big}, {-Big, Big}, {-Big, Big},
    {-Big, Big}, {-Big, Big}, {-Big, Big},
}};

template <class E>
uint32_t ChangedFields(const E& Now, const E* Was) {
    uint32_t Mask = 0;
    for (std::size_t I = 0; I < Now.F.size(); ++I)
        if (!Was || Now.F[I] != Was->F[I]) Mask |= 1u << I;
    return Mask;
}

// One list: the ids that left since the base, then every entity that is new
// or changed: its id, which fields changed and by how much. Entities the same
// as in the base are not written at all.
template <class E, std::size_t N>
void WriteList(tNetWriter& W, const std::array<E, N>& Now, int32_t NowCount, const std::array<E, N>& Was,
               int32_t WasCount) {
    int32_t Removed = 0;
    for (int32_t I = 0, J = 0; I < WasCount; ++I) {
        while (J < NowCount && Now[J].Id < Was[I].Id) ++J;
        if (J == NowCount || Now[J].Id != Was[I].Id) ++Removed;
    }
    W.VarU32(static_cast<uint32_t>(Removed));
    for (int32_t I = 0, J = 0; I < WasCount; ++I) {
        while (J < NowCount && Now[J].Id < Was[I].Id) ++J;
        if (J == NowCount || Now[J].Id != Was[I].Id) W.VarU32(Was[I].Id);
    }
    int32_t Changed = 0;
    for (int32_t I = 0, J = 0; I < NowCount; ++I) {
        while (J < WasCount && Was[J].Id < Now[I].Id) ++J;
        const E* Base = J < WasCount && Was[J].Id == Now[I].Id ? &Was[J] : nullptr;
        if (!Base || ChangedFields(Now[I], Base)) ++Changed;
    }
    W.VarU32(static_cast<uint32_t>(Changed));
    for (int32_t I = 0, J = 0; I < NowCount; ++I) {
        while (J < WasCount && Was[J].Id < Now[I].Id) ++J;
        const E* Base = J < WasCount && Was[J].Id == Now[I].Id ? &Was[J] : nullptr;
        const uint32_t Mask = ChangedFields(Now[I], Base);
        if (Base && !Mask) continue;
        W.VarU32(Now[I].Id);
        W.VarU32(Mask);
        for (std::size_t F = 0; F < Now[I].F.size(); ++F)
            if (Mask & (1u << F)) W.VarI32(static_cast<int32_t>(uint32_t(Now[I].F[F]) - uint32_t(Base ? Base->F[F] : 0)));
    }
}

template <class E, std::size_t N, std::size_t R>
bool ReadList(tNetReader& Rd, const std::array<E, N>& Was, int32_t WasCount, std::array<E, N>& Out,
              int32_t& OutCount, const std::array<tRange, R>& Ranges, uint32_t MaxId) {
    // The base, less the ids that left.
    const uint32_t Removed = Rd.VarU32();
    if (!Rd.Ok() || Removed > uint32_t(WasCount)) return false;
    std::array<bool, N> Gone{};
    uint32_t LastGone = 0;
    for (uint32_t K = 0; K < Removed; ++K) {
        const uint32_t Id = Rd.VarU32();
        if (!Rd.Ok() || Id <= LastGone) return false;  // ascending, each once
        LastGone = Id;
        auto It = std::find_if(Was.begin(), Was.begin() + WasCount, [Id](const E& B) { return B.Id == Id; });
        if (It == Was.begin() + WasCount) return false;
        Gone[It - Was.begin()] = true;
    }
    // Merged in id order with the new and changed ones.
    const uint32_t Changed = Rd.VarU32();
    if (!Rd.Ok() || Changed > N) return false;
    OutCount = 0;
    int32_t J = 0;
    auto CopyBaseUpTo = [&](uint32_t Id) {
        for (; J < WasCount && Was[J].Id < Id; ++J) {
            if (Gone[J]) continue;
            if (OutCount == int32_t(N)) return false;
            Out[OutCount++] = Was[J];
        }
        return true;
    };
    uint32_t LastId = 0;
    for (uint32_t K = 0; K < Changed; ++K) {
        const uint32_t Id = Rd.VarU32();
        const uint32_t Mask = Rd.VarU32();
        if (!Rd.Ok() || Id <= LastId || Id > MaxId || Mask >= (1u << R) || !CopyBaseUpTo(Id)) return false;
        LastId = Id;
        const E* Base = J < WasCount && Was[J].Id == Id && !Gone[J] ? &Was[J] : nullptr;
        if (J < WasCount && Was[J].Id == Id) ++J;
        // A new entity carries every field.
        if (!Base && Mask != (1u << R) - 1) return false;
        if (Base && !Mask) return false;
        if (OutCount == int32_t(N)) return false;
        E& New = Out[OutCount++];
        New = Base ? *Base : E{};
        New.Id = static_cast<decltype(New.Id)>(Id);
        for (std::size_t F = 0; F < R; ++F) {
            if (!(Mask & (1u << F))) continue;
            const int32_t Change = Rd.VarI32();
            const int64_t Value = int64_t(New.F[F]) + Change;
            if (Value < Ranges[F].Low || Value > Ranges[F].High) return false;
            New.F[F] = static_cast<int32_t>(Value);
        }
        if (!Rd.Ok()) return false;
    }
    return CopyBaseUpTo(std::numeric_limits<uint32_t>::max());
}

}  // namespace

int32_t NetFixed(float V) {
    const float Scaled = std::round(V * NetUnitsPerMetre);
    return static_cast<int32_t>(std::clamp(Scaled, float(-Big), float(Big)));
}
float NetFloat(int32_t V) { return float(V) / NetUnitsPerMetre; }
int32_t NetDirection(float V) {
    return static_cast<int32_t>(std::lround(std::clamp(V, -1.0f, 1.0f) * NetDirectionScale));
}
float NetDirectionFloat(int32_t V) { return float(V) / NetDirectionScale; }

bool tNetSnapshot::SameStateAs(const tNetSnapshot& O) const {
    return AircraftCount == O.AircraftCount && ProjectileCount == O.ProjectileCount &&
           std::equal(Aircraft.begin(), Aircraft.begin() + AircraftCount, O.Aircraft.begin()) &&
           std::equal(Projectiles.begin(), Projectiles.begin() + ProjectileCount, O.Projectiles.begin());
}

void WriteSnapshotDelta(tNetWriter& W, const tNetSnapshot& S, const tNetSnapshot& Base, uint32_t AckedInput) {
    W.U32(S.Tick);
    W.U32(Base.Tick);
    W.U32(AckedInput);
    WriteList(W, S.Aircraft, S.AircraftCount, Base.Aircraft, Base.AircraftCount);
    WriteList(W, S.Projectiles, S.ProjectileCount, Base.Projectiles, Base.ProjectileCount);
}

uint32_t ReadSnapshotBaseTick(tNetReader R) {
    R.U32();
    const uint32_t Base = R.U32();
    return R.Ok() ? Base : 0;
}

bool ReadSnapshotDelta(tNetReader& R, const tNetSnapshot& Base, tNetSnapshot& Out, uint32_t& AckedInput) {
    Out.Tick = R.U32();
    const uint32_t BaseTick = R.U32();
    AckedInput = R.U32();
    if (!R.Ok() || Out.Tick == 0 || BaseTick != Base.Tick || (BaseTick && BaseTick >= Out.Tick)) return false;
    if (!ReadList(R, Base.Aircraft, Base.AircraftCount, Out.Aircraft, Out.AircraftCount, AircraftRanges,
                  MaxNetPilots))
        return false;
    if (!ReadList(R, Base.Projectiles, Base.ProjectileCount, Out.Projectiles, Out.ProjectileCount, ProjectileRanges,
                  0xFFFF))
        return false;
    return R.Ok();
}
