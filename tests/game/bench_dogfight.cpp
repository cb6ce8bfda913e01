// Computer pilots over the real island, without a window: each flies the
// game's flight model from its brain's commands, fires the game's three guns
// (shots under gravity, the rail beam along its length) at the match's hit
// spheres, crashes on the island's heights or the sea and comes back after
// the match's countdown at the ring of spawn points. Reports, over 10
// minutes of game time with 4 pilots at skill 0.5, crashes and kills per
// pilot-minute; and the processor time of one 0.01 s tick with 8 pilots.
//
// Run from anywhere: build/release/tests/bench_dogfight

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "game/botbrain.h"
#include "game/flightmodel.h"
#include "game/match.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "libraries/math/quaternion.h"

namespace {

namespace fs = std::filesystem;

constexpr float Step = 0.01f;
constexpr int32_t MaxPilots = 8;
constexpr float HitRadius = 2.5f;     // the aircraft's half span (mesh size 3) and a shot
constexpr float CrashRadius = 0.6f;   // mesh size / 5, as the aircraft tests the ground
constexpr float WaterLine = 7.0f;

// The island's heights as the game reads them: nearest sample, X slow.
class TIsland : public TGroundProbe {
public:
    TIsland() {
        const fs::path Raw = fs::path(HALVARDINE_SOURCE_DIR) / "Data/Terrain/island.raw";
        std::ifstream File(Raw, std::ios::binary);
        Heights.resize(std::size_t(Size) * Size);
        File.read(reinterpret_cast<char*>(Heights.data()), std::streamsize(Heights.size() * 2));
    }
    float GroundHeight(float X, float Y) const override {
        const int32_t A = std::clamp(int32_t(X), 0, Size - 1), B = std::clamp(int32_t(Y), 0, Size - 1);
        return float(Heights[std::size_t(A) * Size + B]) * Scale;
    }

private:
    static constexpr int32_t Size = 1025;
    static constexpr float Scale = 0.00390625f;
    std::vector<uint16_t> Heights;
};

struct TGun {
    float Recharge;
    int32_t Damage;
    float TTL;
    bool Beam;
};
constexpr TGun Guns[] = {{0.2f, 25, 3.0f, false}, {0.1f, 12, 3.0f, false}, {0.8f, 70, 1.5f, true}};

struct TPilotState {
    TFlightModel Plane;
    TBotBrain Brain{1, 0.5f};
    const TGun* Gun = &Guns[0];
    bool Flying = false;
    float RespawnIn = 0, Age = 0, Recharge = 0;
    int32_t Health = 100, LastShooter = -1;
    float LastHitAt = -100;
};

struct TShot {
    TVector3 Origin, Position, Previous, Velocity;
    float Life = 0;
    int32_t Shooter = 0;
    const TGun* Gun = nullptr;
    bool Struck = false;  // a beam strikes once
};

class TDogfight {
public:
    TDogfight(int32_t Pilots, float Skill, uint32_t Seed) : Count(Pilots) {
        for (int32_t I = 0; I < Count; ++I) {
            P[I].Brain = TBotBrain(Seed * 7919 + uint32_t(I) + 1, Skill);
            P[I].Gun = &Guns[I % 3];
        }
        Shots.reserve(512);
    }

    void Tick() {
        Time += Step;
        TBotContact Contacts[MaxPilots];
        for (int32_t I = 0; I < Count; ++I) {
            TPilotState& S = P[I];
            if (!S.Flying) {
                if ((S.RespawnIn -= Step) <= 0) Spawn(I);
                continue;
            }
            int32_t N = 0;
            for (int32_t J = 0; J < Count; ++J)
                if (J != I && P[J].Flying)
                    Contacts[N++] = {P[J].Plane._vecPosition, P[J].Plane._vecHeading * P[J].Plane._rSpeed,
                                     P[J].Plane._vecHeading, J + 1};
            Fly(I, Contacts, N);
        }
        MoveShots();
    }

    int32_t Crashes = 0, Kills = 0;
    float FlyingSeconds = 0, Time = 0;

private:
    void Fly(int32_t I, const TBotContact* Contacts, int32_t N) {
        TPilotState& S = P[I];
        TFlightModel& F = S.Plane;
        TBotSituation Sit = SituationOf(F);
        Sit.Enemies = Contacts;
        Sit.EnemyCount = N;
        Sit.Ground = &Island;
        const TBotCommand C = S.Brain.Think(Sit, Step);
        F._ControlState = C.Controls;
        F.FlightStep(Step);
        S.Age += Step;
        S.Recharge += Step;
        FlyingSeconds += Step;
        if (C.Fire && S.Recharge > S.Gun->Recharge) {
            S.Recharge = 0;
            const TVector3 Muzzle = F._vecPosition - TVector3{0, 0, tWeapon::MuzzleDrop};
            Shots.push_back({Muzzle, Muzzle, Muzzle, F._vecHeading * tWeapon::MuzzleSpeed, 0, I, S.Gun});
        }
        const TVector3& Pos = F._vecPosition;
        if (Pos.z - Island.GroundHeight(Pos.x, Pos.y) < CrashRadius || Pos.z < WaterLine) {
            // A crash soon after a hit is the shooter's kill.
            if (S.LastShooter >= 0 && Time - S.LastHitAt <= tMatch::CreditedCrashSeconds) ++Kills;
            else ++Crashes;
            Down(I);
        }
    }

    void MoveShots() {
        for (std::size_t K = 0; K < Shots.size();) {
            TShot& T = Shots[K];
            T.Life += Step;
            T.Previous = T.Gun->Beam ? T.Origin : T.Position;
            if (T.Gun->Beam) T.Position = T.Origin + T.Velocity * (T.Life * 2 / T.Gun->TTL);
            else tParticleProjectile::BallisticStep(T.Position, T.Velocity, Step);
            bool Gone = T.Life >= T.Gun->TTL || T.Position.z < Island.GroundHeight(T.Position.x, T.Position.y);
            for (int32_t J = 0; J < Count && !Gone; ++J) {
                TPilotState& V = P[J];
                if (J == T.Shooter || !V.Flying || T.Struck ||
                    DistanceToSegment(V.Plane._vecPosition, T.Previous, T.Position) > HitRadius)
                    continue;
                Gone = !T.Gun->Beam;
                T.Struck = T.Gun->Beam;
                if (V.Age < tMatch::SpawnProtection) continue;
                V.LastShooter = T.Shooter;
                V.LastHitAt = Time;
                if ((V.Health -= T.Gun->Damage) <= 0) {
                    ++Kills;
                    Down(J);
                }
            }
            if (Gone) {
                Shots[K] = Shots.back();
                Shots.pop_back();
            } else {
                ++K;
            }
        }
    }

    void Down(int32_t I) {
        P[I].Flying = false;
        P[I].RespawnIn = tMatch::RespawnSeconds;
    }

    // As the match does it: the ring point farthest from the others, nose to the middle.
    void Spawn(int32_t I) {
        TPilotState& S = P[I];
        float Best = -1;
        TVector3 Point;
        for (int32_t K = 0; K < 8; ++K) {
            const float A = 2 * 3.14159265f * float(K) / 8;
            TVector3 Q = {512 + 330 * std::cos(A), 512 + 330 * std::sin(A), 0};
            Q.z = std::max(200.0f, Island.GroundHeight(Q.x, Q.y) + 80);
            float Nearest = 1e9f;
            for (int32_t J = 0; J < Count; ++J)
                if (J != I && P[J].Flying) Nearest = std::min(Nearest, Len(P[J].Plane._vecPosition - Q));
            if (Nearest > Best) {
                Best = Nearest;
                Point = Q;
            }
        }
        const TBotBrain Brain = S.Brain;
        const TGun* Gun = S.Gun;
        S = TPilotState{};
        S.Brain = Brain;
        S.Gun = Gun;
        S.Flying = true;
        S.Plane._vecPosition = Point;
        S.Plane._quatAttitude = FromEuler(std::atan2(-(512 - Point.x), 512 - Point.y), 0, 0);
        S.Plane.FlightStep(0);
    }

    TIsland Island;
    int32_t Count;
    std::array<TPilotState, MaxPilots> P{};
    std::vector<TShot> Shots;
};

// Three match seeds, each 10 minutes of 4 pilots.
void BM_TenMinutesOfFourPilots(benchmark::State& State) {
    constexpr int32_t Seeds = 3;
    for (auto _ : State) {
        int32_t Crashes = 0, Kills = 0;
        float Flying = 0;
        for (uint32_t Seed = 1; Seed <= Seeds; ++Seed) {
            TDogfight Match(4, 0.5f, Seed);
            for (int I = 0; I < 60000; ++I) Match.Tick();
            Crashes += Match.Crashes;
            Kills += Match.Kills;
            Flying += Match.FlyingSeconds;
        }
        const float PilotMinutes = Seeds * 4 * 10.0f;
        State.counters["crashes_per_pilot_minute"] = float(Crashes) / PilotMinutes;
        State.counters["kills_per_pilot_minute"] = float(Kills) / PilotMinutes;
        State.counters["flying_share"] = Flying / (PilotMinutes * 60);
    }
}
BENCHMARK(BM_TenMinutesOfFourPilots)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TickWithEightPilots(benchmark::State& State) {
    TDogfight Match(8, 0.5f, 2);
    for (int I = 0; I < 1000; ++I) Match.Tick();  // everyone up and fighting
    for (auto _ : State) Match.Tick();
}
BENCHMARK(BM_TickWithEightPilots)->Unit(benchmark::kMicrosecond);

}  // namespace
