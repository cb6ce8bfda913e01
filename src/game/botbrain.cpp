#include "game/botbrain.h"

#include <algorithm>
#include <cmath>

#include "kernel/world/sealevel.h"

namespace {
constexpr float MinClearance = 30.0f;        // over the ground, plus some for speed
constexpr float ClearancePerSpeed = 0.6f;
constexpr float ClimbOutAngle = 0.6f;        // radians, when the ground comes up
constexpr float CruiseHeight = 180.0f;
constexpr float BankPerLateral = 1.6f;
constexpr float RollGain = 14.0f;            // stick amounts per radian of bank error
constexpr float PitchGain = 18.0f;           // stick amounts per radian of climb error
constexpr float MaxClimb = 0.7f;
constexpr float TailDistance = 300.0f;
constexpr float TailAim = 0.93f;             // cosine: the enemy's nose points at us
constexpr float EvadeSeconds = 2.0f;
constexpr float FireCone = 0.035f;           // radians off the lead point
constexpr float CloseBehind = 70.0f;         // closer than this the pursuer throttles back
constexpr int SightSamples = 8;

float Clamp1(float V) { return std::clamp(V, -1.0f, 1.0f); }

// The horizontal turn, in radians, from Heading to Direction: positive to the right.
float LateralAngle(const TVector3& Heading, const TVector3& Direction) {
    const TVector3 Flat = Normalize(TVector3{Heading.x, Heading.y, 0});
    const TVector3 Side = {Flat.y, -Flat.x, 0};
    return std::atan2(Dot(Direction, Side), Dot(Direction, Flat));
}
}  // namespace

TBotSituation SituationOf(const TFlightModel& Plane) {
    TBotSituation S;
    S.Position = Plane._vecPosition;
    S.Heading = Plane._vecHeading;
    S.Right = Vector3(Plane._matRotation * TVector4{1, 0, 0, 1});
    S.Up = Vector3(Plane._matRotation * TVector4{0, 0, 1, 1});
    S.Speed = Plane._rSpeed;
    return S;
}

TBotBrain::TBotBrain(uint32_t Seed, float NewSkill, TDifficulty NewLevel) : Random(Seed), Level(NewLevel) {
    SetSkill(NewSkill);
}

void TBotBrain::SetSkill(float NewSkill) { Skill = std::clamp(NewSkill, 0.0f, 1.0f); }

float TBotBrain::RandomUnit() { return float(Random(2001) - 1000) / 1000.0f; }

TVector3 TBotBrain::LeadPoint(const TVector3& Shooter, const TVector3& Target, const TVector3& TargetVelocity,
                              float MuzzleSpeed, float Gravity) {
    // A few rounds of "where is it when the shot gets there" settle quickly
    // for targets much slower than the shot.
    float T = Len(Target - Shooter) / MuzzleSpeed;
    TVector3 Aim = Target;
    for (int I = 0; I < 4; ++I) {
        Aim = Target + TargetVelocity * T;
        T = Len(Aim - Shooter) / MuzzleSpeed;
    }
    return Aim + TVector3{0, 0, 0.5f * Gravity * T * T};
}

bool TBotBrain::GroundAhead(const TBotSituation& S) {
    const float Clearance = MinClearance + S.Speed * ClearancePerSpeed;
    constexpr int Samples = 6;
    for (int I = 0; I <= Samples; ++I) {
        const TVector3 P = S.Position + S.Heading * (S.Speed * LookAheadSeconds * float(I) / Samples);
        const float Floor = std::max(S.Ground ? S.Ground->GroundHeight(P.x, P.y) : 0.0f, SeaLevel);
        // Nearer points need the whole margin, the farthest only part of it.
        if (P.z - Floor < Clearance * (1.0f - 0.5f * float(I) / Samples)) return true;
    }
    return false;
}

bool TBotBrain::CanSee(const TBotSituation& S, const TVector3& Point) const {
    if (!S.Ground) return true;
    for (int I = 1; I < SightSamples; ++I) {
        const TVector3 P = S.Position + (Point - S.Position) * (float(I) / SightSamples);
        if (S.Ground->GroundHeight(P.x, P.y) > P.z) return false;
    }
    return true;
}

const TBotContact* TBotBrain::ChooseTarget(const TBotSituation& S) const {
    const TBotContact* Best = nullptr;
    float BestDistance = Settings().SightRange;
    for (int32_t I = 0; I < S.EnemyCount; ++I) {
        const TBotContact& E = S.Enemies[I];
        if (!E.MayAttack) continue;
        const float D = Len(E.Position - S.Position);
        if (D < BestDistance && CanSee(S, E.Position)) {
            Best = &E;
            BestDistance = D;
        }
    }
    return Best;
}

int32_t TBotBrain::TailingEnemy(const TBotSituation& S, float Range) {
    for (int32_t I = 0; I < S.EnemyCount; ++I) {
        const TBotContact& E = S.Enemies[I];
        const TVector3 ToMe = S.Position - E.Position;
        const float D = Len(ToMe);
        if (D > Range || D < 1) continue;
        const bool Behind = Dot(S.Heading, ToMe) > 0.5f * D;
        const bool Aiming = Dot(Normalize(E.Heading), ToMe) > TailAim * D;
        if (Behind && Aiming) return E.Pilot;
    }
    return 0;
}

int32_t TBotBrain::Slew(int32_t Current, int32_t Wanted, int32_t Limit) {
    const int32_t Target = std::clamp(Wanted, -Limit, Limit);
    return Current + std::clamp(Target - Current, -MaxStickStep, MaxStickStep);
}

void TBotBrain::SteerToward(const TBotSituation& S, const TVector3& Direction, TBotCommand& Command) {
    const TVector3 D = Normalize(Direction);
    const float MaxBank = Settings().MaxBank;
    const float WantedBank = std::clamp(BankPerLateral * LateralAngle(S.Heading, D), -MaxBank, MaxBank);
    const float Bank = std::atan2(-S.Right.z, S.Up.z);  // right wing down is positive
    const float WantedClimb = std::asin(std::clamp(Clamp1(D.z), -MaxClimb, MaxClimb));
    const float Climb = std::asin(Clamp1(S.Heading.z));
    // Upside down the stick pulls the other way; level out first.
    const float PitchSense = S.Up.z > 0 ? 1.0f : 0.0f;
    RollStick = Slew(RollStick, int32_t(std::lround(RollGain * (WantedBank - Bank))), MaxRollStick);
    PitchStick = Slew(PitchStick, int32_t(std::lround(PitchGain * (WantedClimb - Climb) * PitchSense)), MaxPitchStick);

    TAirplaneControlState& C = Command.Controls;
    C.iRollAmount = RollStick;
    C.bRollingLeft = RollStick < 0;
    C.bRollingRight = RollStick > 0;
    C.iPitchAmount = PitchStick;
    C.bPitchingUp = PitchStick > 0;
    C.bPitchingDown = PitchStick < 0;
}

bool TBotBrain::TriggerReady(bool WantsToFire, float DeltaSeconds) {
    const TBotSettings& Set = Settings();
    if (HoldLeft > 0) return false;
    if (!WantsToFire || Set.HoldSeconds <= 0) return WantsToFire;
    BurstFired += DeltaSeconds;
    if (BurstFired >= Set.BurstSeconds) {
        BurstFired = 0;
        HoldLeft = Set.HoldSeconds;
    }
    return true;
}

TBotCommand TBotBrain::Think(const TBotSituation& S, float DeltaSeconds) {
    TBotCommand Command;
    Command.Controls.bThrottlingUp = true;
    if (DeltaSeconds <= 0) return Command;

    // Looking around takes a moment: the skilled look more often and aim
    // with a smaller error.
    ReactionLeft -= DeltaSeconds;
    const TBotSettings& Set = Settings();
    const TBotContact* Target = nullptr;
    for (int32_t I = 0; I < S.EnemyCount; ++I)
        if (S.Enemies[I].Pilot == TargetPilot && S.Enemies[I].MayAttack) Target = &S.Enemies[I];
    if (!Target) TargetPilot = 0;
    if (ReactionLeft <= 0) {
        ReactionLeft = Set.SlowReaction + (Set.QuickReaction - Set.SlowReaction) * Skill;
        Target = ChooseTarget(S);
        TargetPilot = Target ? Target->Pilot : 0;
        const float Error = Set.WorstAimError + (Set.BestAimError - Set.WorstAimError) * Skill;
        AimError = TVector3{RandomUnit(), RandomUnit(), RandomUnit()} * Error;
        if (EvadeLeft <= 0 && TailingEnemy(S, TailDistance) != 0) {
            EvadeLeft = EvadeSeconds;
            EvadeSide = RandomUnit() < 0 ? -1.0f : 1.0f;
        }
    }
    EvadeLeft -= DeltaSeconds;
    HoldLeft = std::max(0.0f, HoldLeft - DeltaSeconds);

    const TVector3 Centre = {S.MapSize / 2, S.MapSize / 2, CruiseHeight};
    const bool OutOfBounds = S.Position.x < EdgeMargin || S.Position.y < EdgeMargin ||
                             S.Position.x > S.MapSize - EdgeMargin || S.Position.y > S.MapSize - EdgeMargin;
    TVector3 Wanted = S.Heading;
    if (GroundAhead(S)) {
        Mode = MODE_AVOID_GROUND;
        const TVector3 Flat = Normalize(TVector3{S.Heading.x, S.Heading.y, 0});
        Wanted = Flat * std::cos(ClimbOutAngle) + TVector3{0, 0, std::sin(ClimbOutAngle)};
    } else if (OutOfBounds) {
        Mode = MODE_TURN_BACK;
        Wanted = Centre - S.Position;
    } else if (EvadeLeft > 0) {
        Mode = MODE_EVADE;
        Wanted = S.Heading + S.Right * (2.0f * EvadeSide) + TVector3{0, 0, 0.3f * EvadeSide};
    } else if (Target) {
        Mode = MODE_PURSUE;
        const TVector3 Aim =
            LeadPoint(S.Position, Target->Position, Target->Velocity, S.MuzzleSpeed, S.ShotGravity);
        const TVector3 ToAim = Aim - S.Position;
        const float Distance = Len(ToAim);
        Wanted = Normalize(ToAim) + AimError;
        const float OffAxis = std::acos(Clamp1(Dot(Normalize(ToAim), S.Heading)));
        Command.Fire = TriggerReady(Distance < FireRange && OffAxis < FireCone + Len(AimError), DeltaSeconds);
        if (Distance < CloseBehind) {
            Command.Controls.bThrottlingUp = false;
            Command.Controls.bThrottlingDown = true;
        }
    } else {
        Mode = MODE_CRUISE;
        // Circle the middle of the island at a safe height.
        const TVector3 ToCentre = Centre - S.Position;
        Wanted = Len(ToCentre) > S.MapSize / 4 ? ToCentre : S.Heading + S.Right * 0.3f;
        Wanted.z = (CruiseHeight - S.Position.z) / 200.0f;
    }
    SteerToward(S, Wanted, Command);
    return Command;
}
