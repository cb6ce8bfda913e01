// Computer pilots over the real island, without a window: each flies the
// game's flight model from its brain's commands, fires the game's three guns
// (shots under gravity, the rail beam along its length) at the match's hit
// spheres, crashes on the island's heights or the sea and comes back after
// the match's countdown at the ring of spawn points. Reports, over 10
// minutes of game time with 4 pilots at skill 0.5, crashes and kills per
// pilot-minute; at each difficulty, how long a stand-in for a new player
// lives among three computer pilots (3 seeds x 10 minutes) and how often the
// computer pilots shoot one another down; and the processor time of one
// 0.01 s tick with 8 pilots.
//
// Run from anywhere: build/release/tests/bench_dogfight

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/attention.h"
#include "game/botbrain.h"
#include "game/flightmodel.h"
#include "game/match.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/world/sealevel.h"
#include "libraries/math/quaternion.h"

namespace {

namespace fs = std::filesystem;

constexpr float Step = 0.01f;
constexpr int32_t MaxPilots = 8;
constexpr float HitRadius = 2.5f;     // the aircraft's half span (mesh size 3) and a shot
constexpr float CrashRadius = 0.6f;   // mesh size / 5, as the aircraft tests the ground

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

// A stand-in for a new player: flies level at its height without touching
// the throttle, now and then turns for a while to a side its dice choose,
// pulls up from ground ahead, turns back at the island's edge, and fires
// when an enemy crosses its sights.
class TNewcomer {
public:
    explicit TNewcomer(uint32_t Seed) : Dice(Seed), Hands(Seed, 0) {}

    TBotCommand Think(const TBotSituation& S, float DeltaSeconds) {
        TurnIn -= DeltaSeconds;
        TurnLeft -= DeltaSeconds;
        if (TurnIn <= 0) {
            TurnLeft = 1.0f + float(Dice(200)) / 100;
            TurnSide = Dice(2) ? 1.0f : -1.0f;
            TurnIn = TurnLeft + 3.0f + float(Dice(700)) / 100;
        }
        const TVector3 Flat = Normalize(TVector3{S.Heading.x, S.Heading.y, 0});
        const TVector3& P = S.Position;
        TVector3 Wanted = Flat + TVector3{0, 0, (HoldHeight - P.z) / 400};
        if (TBotBrain::GroundAhead(S)) Wanted = Flat + TVector3{0, 0, 0.7f};
        else if (P.x < 0 || P.y < 0 || P.x > S.MapSize || P.y > S.MapSize)
            Wanted = TVector3{S.MapSize / 2 - P.x, S.MapSize / 2 - P.y, 0};
        else if (TurnLeft > 0) Wanted = Wanted + S.Right * TurnSide;
        TBotCommand C;
        Hands.SteerToward(S, Wanted, C);
        for (int32_t I = 0; I < S.EnemyCount; ++I) {
            const TVector3 To = S.Enemies[I].Position - P;
            C.Fire |= Len(To) < TBotBrain::FireRange && Dot(Normalize(To), S.Heading) > SightsCosine;
        }
        return C;
    }

private:
    static constexpr float HoldHeight = 200;
    static constexpr float SightsCosine = 0.9986f;  // 3 degrees
    tRandom Dice;
    TBotBrain Hands;  // its stick moves as fast as a mouse, no faster
    float TurnIn = 2, TurnLeft = 0, TurnSide = 1;
};

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
    // With a newcomer, pilot 0 is the stand-in, flying the plasma gun.
    TDogfight(int32_t Pilots, float Skill, uint32_t Seed, TDifficulty Level = DIFFICULTY_HARD, bool Newcomer = false)
        : Count(Pilots), Stand(Seed), WithNewcomer(Newcomer), FairAttention(Newcomer && SettingsFor(Level).SharesThePlayer) {
        for (int32_t I = 0; I < Count; ++I) {
            P[I].Brain = TBotBrain(Seed * 7919 + uint32_t(I) + 1, Skill, Level);
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
                if (J != I && P[J].Flying) {
                    Contacts[N++] = {P[J].Plane._vecPosition, P[J].Plane._vecHeading * P[J].Plane._rSpeed,
                                     P[J].Plane._vecHeading, J + 1};
                    if (FairAttention && IsNewcomer(J)) Contacts[N - 1].MayAttack = Attention.MayAttack(I + 1, Time);
                }
            Fly(I, Contacts, N);
        }
        MoveShots();
    }

    int32_t Crashes = 0, Kills = 0;
    float FlyingSeconds = 0, Time = 0;
    // With a newcomer: its losses and time in the air, and the computer
    // pilots' kills of one another.
    int32_t NewcomerLosses = 0, NewcomerCrashes = 0, BotKills = 0;
    float NewcomerSeconds = 0;

private:
    bool IsNewcomer(int32_t I) const { return WithNewcomer && I == 0; }

    void Fly(int32_t I, const TBotContact* Contacts, int32_t N) {
        TPilotState& S = P[I];
        TFlightModel& F = S.Plane;
        TBotSituation Sit = SituationOf(F);
        Sit.Enemies = Contacts;
        Sit.EnemyCount = N;
        Sit.Ground = &Island;
        const TBotCommand C = IsNewcomer(I) ? Stand.Think(Sit, Step) : S.Brain.Think(Sit, Step);
        if (FairAttention && !IsNewcomer(I)) Attention.Chose(I + 1, S.Brain.TargetPilot == 1);
        F._ControlState = C.Controls;
        F.FlightStep(Step);
        S.Age += Step;
        S.Recharge += Step;
        FlyingSeconds += Step;
        if (IsNewcomer(I)) NewcomerSeconds += Step;
        if (C.Fire && S.Recharge > S.Gun->Recharge) {
            S.Recharge = 0;
            const TVector3 Muzzle = F._vecPosition - TVector3{0, 0, tWeapon::MuzzleDrop};
            Shots.push_back({Muzzle, Muzzle, Muzzle, F._vecHeading * tWeapon::MuzzleSpeed, 0, I, S.Gun});
        }
        const TVector3& Pos = F._vecPosition;
        if (Pos.z - Island.GroundHeight(Pos.x, Pos.y) < CrashRadius || Pos.z < SeaLevel) {
            // A crash soon after a hit is the shooter's kill.
            if (S.LastShooter >= 0 && Time - S.LastHitAt <= tMatch::CreditedCrashSeconds) Killed(I, S.LastShooter);
            else {
                ++Crashes;
                NewcomerCrashes += IsNewcomer(I);
            }
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
                if (IsNewcomer(T.Shooter)) Attention.PlayerHit(J + 1, Time);
                if ((V.Health -= T.Gun->Damage) <= 0) {
                    Killed(J, T.Shooter);
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

    void Killed(int32_t Victim, int32_t Shooter) {
        ++Kills;
        if (WithNewcomer && !IsNewcomer(Victim) && !IsNewcomer(Shooter)) ++BotKills;
        if (IsNewcomer(Victim)) Attention.PlayerShotDownBy(Shooter + 1, Time);
    }

    void Down(int32_t I) {
        P[I].Flying = false;
        P[I].RespawnIn = tMatch::RespawnSeconds;
        if (IsNewcomer(I)) ++NewcomerLosses;
        else Attention.Left(I + 1);
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
    TNewcomer Stand;
    bool WithNewcomer, FairAttention;
    TPlayerAttention Attention;
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

// A newcomer among three computer pilots at each difficulty: its mean life
// in seconds for each of three seeds and over all, and the computer pilots'
// kills of one another per pilot-minute.
void BM_NewcomerAmongThreePilots(benchmark::State& State) {
    constexpr int32_t Seeds = 3;
    const auto Level = TDifficulty(State.range(0));
    for (auto _ : State) {
        int32_t Losses = 0, OwnCrashes = 0, BotKills = 0;
        float Seconds = 0;
        for (uint32_t Seed = 1; Seed <= Seeds; ++Seed) {
            TDogfight Match(4, 0.5f, Seed, Level, true);
            for (int I = 0; I < 60000; ++I) Match.Tick();
            // A life still going at the end counts as one.
            State.counters["life_seed" + std::to_string(Seed)] =
                Match.NewcomerSeconds / float(std::max(Match.NewcomerLosses, 1));
            Losses += Match.NewcomerLosses;
            OwnCrashes += Match.NewcomerCrashes;
            Seconds += Match.NewcomerSeconds;
            BotKills += Match.BotKills;
        }
        State.counters["mean_life"] = Seconds / float(std::max(Losses, 1));
        State.counters["newcomer_losses"] = float(Losses);
        State.counters["newcomer_own_crashes"] = float(OwnCrashes);
        State.counters["bot_kills_per_pilot_minute"] = float(BotKills) / (Seeds * 3 * 10.0f);
    }
    State.SetLabel(DifficultyNames[Level]);
}
BENCHMARK(BM_NewcomerAmongThreePilots)->DenseRange(DIFFICULTY_EASY, DIFFICULTY_HARD)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TickWithEightPilots(benchmark::State& State) {
    TDogfight Match(8, 0.5f, 2);
    for (int I = 0; I < 1000; ++I) Match.Tick();  // everyone up and fighting
    for (auto _ : State) Match.Tick();
}
BENCHMARK(BM_TickWithEightPilots)->Unit(benchmark::kMicrosecond);

}  // namespace
