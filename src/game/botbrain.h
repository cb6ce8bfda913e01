#pragma once
// The computer pilot's judgement. Each tick it is shown what its aircraft
// sees (its own state, the enemies, the ground under any point) and answers
// with the controls a player would give: stick amounts and buttons, limited
// to what a mouse can do, and whether to fire. It keeps no pointer to the
// world, so it can be flown in a test with a made-up ground and targets.
//
// Priorities, highest first: stay off the ground and the sea (looking ahead
// along the path), turn back from the edge of the map, break away from an
// enemy on the tail, pursue the nearest visible enemy with lead, cruise.

#include <cstdint>

#include "game/botsettings.h"
#include "game/flightmodel.h"
#include "libraries/math/random.h"
#include "libraries/math/vector.h"

// The ground's height under a point, the sea's surface included.
class TGroundProbe {
public:
    virtual ~TGroundProbe() = default;
    virtual float GroundHeight(float X, float Y) const = 0;
};

struct TBotContact {
    TVector3 Position;
    TVector3 Velocity;
    TVector3 Heading;
    int32_t Pilot = 0;
    bool MayAttack = true;  // false: not to be chosen as a target now
};

struct TBotSituation {
    TVector3 Position;
    TVector3 Heading, Right, Up;  // the aircraft's axes in the world
    float Speed = 0;
    const TBotContact* Enemies = nullptr;
    int32_t EnemyCount = 0;
    const TGroundProbe* Ground = nullptr;
    float MapSize = 1024;       // the playing area is 0 ... MapSize in x and y
    float MuzzleSpeed = 400;
    float ShotGravity = 9.8f;
};

// What an aircraft's own flight tells its pilot: where it is, its axes, its
// speed; the rest is filled in by the caller.
TBotSituation SituationOf(const TFlightModel& Plane);

struct TBotCommand {
    TAirplaneControlState Controls;
    bool Fire = false;
};

class TBotBrain {
public:
    // What a mouse can do at 1024 x 768 through the aircraft's 0.2 amount
    // per pixel: half the window away at most, and a quick flick per tick.
    static constexpr int32_t MaxRollStick = 102, MaxPitchStick = 77;
    static constexpr int32_t MaxStickStep = 4;
    static constexpr float FireRange = 600;
    static constexpr float EdgeMargin = 90;
    static constexpr float LookAheadSeconds = 3.0f;

    enum TMode : int32_t { MODE_CRUISE, MODE_PURSUE, MODE_EVADE, MODE_AVOID_GROUND, MODE_TURN_BACK };

    TBotBrain(uint32_t Seed, float Skill, TDifficulty Level = DIFFICULTY_HARD);
    void SetSkill(float NewSkill);
    void SetDifficulty(TDifficulty NewLevel) { Level = NewLevel; }
    TDifficulty Difficulty() const { return Level; }
    const TBotSettings& Settings() const { return SettingsFor(Level); }

    // One tick's decision.
    TBotCommand Think(const TBotSituation& S, float DeltaSeconds);

    // Where to aim at a target to meet it with a shot of MuzzleSpeed that
    // falls under Gravity: ahead by its flight time, above by the drop.
    static TVector3 LeadPoint(const TVector3& Shooter, const TVector3& Target, const TVector3& TargetVelocity,
                              float MuzzleSpeed, float Gravity);

    // The enemy sitting behind within Range with its nose on us; 0 for none.
    static int32_t TailingEnemy(const TBotSituation& S, float Range);
    // Whether the path ahead comes too close to the ground or the sea.
    static bool GroundAhead(const TBotSituation& S);
    // Stick amounts that turn the nose toward Direction: bank it over the
    // target, then pull.
    void SteerToward(const TBotSituation& S, const TVector3& Direction, TBotCommand& Command);

    TMode Mode = MODE_CRUISE;
    int32_t TargetPilot = 0;  // 0: none

private:
    const TBotContact* ChooseTarget(const TBotSituation& S) const;
    bool CanSee(const TBotSituation& S, const TVector3& Point) const;
    // Whether the trigger may be pulled now: bursts and holds.
    bool TriggerReady(bool WantsToFire, float DeltaSeconds);
    static int32_t Slew(int32_t Current, int32_t Wanted, int32_t Limit);
    float RandomUnit();  // -1 ... 1

    tRandom Random;
    float Skill = 0.5f;
    TDifficulty Level = DIFFICULTY_HARD;
    float BurstFired = 0;     // seconds fired in the current burst
    float HoldLeft = 0;       // seconds before the next burst
    float ReactionLeft = 0;   // seconds until the next look around
    float EvadeLeft = 0;      // seconds of the current break
    float EvadeSide = 1;
    TVector3 AimError;        // redrawn at each look around
    int32_t RollStick = 0, PitchStick = 0;
};
