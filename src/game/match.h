#pragma once
// The deathmatch: who flies (the player and the computer pilots), their
// scores, their respawns, and the end of a match at the frag limit. Every
// aircraft belongs to one pilot and a pilot has at most one aircraft alive.
// The match is a subsystem: it ticks the computer pilots' respawn clocks and
// draws the HUD over the 3D frame.
//
// Console: "AddBot [aircraft class] [weapon class]", "RemoveBots",
// "SpawnPlayer" (the menu's "Play" in a match: the player flies the aircraft
// and gun chosen in PlaneChassis and PrimaryWeapon; see SpawnPlayer); the
// variables PlayerName, BotCount, Difficulty, BotSkill, FragLimit, HUD and
// MatchSeed.

#include <array>
#include <cstdint>

#include "game/attention.h"
#include "game/botbrain.h"
#include "game/dangerwatch.h"
#include "net/protocol/messages.h"
#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/math/vector.h"

class tAirplaneActor;
class tHUD;

struct TPilot {
    bool InUse = false;
    bool Computer = false;            // respawned by the match: a bot, or a remote pilot
    bool Remote = false;              // flown from another machine, by RemoteInput
    tNetInput RemoteInput;
    int32_t PingMilliseconds = -1;    // measured by the network; -1 when none is
    ShortString Name;
    ShortString Chassis, Weapon;      // a computer pilot's own choice
    int32_t Kills = 0, Deaths = 0, Crashes = 0, Credits = 0;
    tAirplaneActor* Aircraft = nullptr;  // the one alive, if any
    float RespawnIn = 0;              // seconds; computer pilots only
    int32_t LastShooter = 0;          // pilot number of the last hit taken
    float LastHitAt = -1000;          // match time of that hit
    ShortString LastGun;              // the gun of that hit
    TBotBrain Brain{1, 0.5f};

    int32_t Score() const { return Kills - Crashes; }
};

struct TKillFeedLine {
    ShortString Text;
    float At = 0;
};

class tMatch : public tSubSystem {
    Z_DECLARE_CLASS(tMatch, tSubSystem)
public:
    static constexpr int32_t MaxPilots = 16;       // the player is pilot 1
    static constexpr int32_t PlayerPilot = 1;
    static constexpr float RespawnSeconds = 10.0f;  // as long as the player's countdown
    static constexpr float SpawnProtection = 2.0f;
    static constexpr float CreditedCrashSeconds = 5.0f;
    static constexpr int32_t KillFeedLines = 4;
    static constexpr float KillFeedSeconds = 8.0f;
    static constexpr float MapSize = 1024.0f;
    static constexpr const char* WinSample = "sounds\\announcer\\win.wav";
    static constexpr const char* LoseSample = "sounds\\announcer\\lose.wav";

    // Registers the match's variables and commands; joins the engine's
    // subsystems at PostInit (the engine does not exist yet).
    tMatch();
    ~tMatch() override;
    void PostInit();

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override;

    // An aircraft being built asks who flies it: the computer pilot being
    // spawned, or else the player (whose previous aircraft, if any, leaves).
    int32_t ClaimPilot(tAirplaneActor* Aircraft);
    void AircraftGone(tAirplaneActor* Aircraft);
    // A hit that did damage: a crash soon after counts as Shooter's kill.
    void AircraftHit(int32_t Victim, int32_t Shooter, const ShortString& Gun);
    // Scores the end of an aircraft: shot down by Shooter with Gun, or crashed.
    void AircraftShotDown(int32_t Victim, int32_t Shooter, const ShortString& Gun);
    void AircraftCrashed(int32_t Victim);
    void CreditCollected(int32_t Pilot);
    // The first aircraft other than the shooter's whose sphere, grown by
    // Extra, the segment From-To passes through; none when nothing is hit.
    tAirplaneActor* AircraftOnPath(const TVector3& From, const TVector3& To, int32_t Shooter, float Extra = 0);
    // Every other pilot's aircraft, as a computer pilot sees them.
    int32_t Contacts(int32_t Pilot, TBotContact* Out, int32_t Capacity);
    // A computer pilot's decision for this tick over what it sees (S with
    // its own flight; the enemies are filled in here).
    TBotCommand Think(int32_t Pilot, TBotSituation& S, float DeltaSeconds);
    TDifficulty Level() const { return DifficultyByName(Difficulty); }
    const TPlayerAttention& Attention() const { return PlayerAttention; }
    const tDangerWatch& Danger() const { return PlayerDanger; }

    // The pilot this machine's player flies or follows: pilot 1 alone, the
    // one a server gave this machine as its client, 0 on a dedicated server.
    int32_t OwnPilot() const { return Own; }
    // A dedicated server's match: nobody flies on this machine, so pilot 1
    // stays empty (no aircraft, no score line) and computer pilots and
    // clients take the others.
    void LeavePlayerOut();
    // This machine shows a match a server runs, as pilot Pilot: its own
    // pilots leave, and the pilots and their scores are only what the
    // server tells (its client fills them in). Nothing is flown, respawned
    // or scored here.
    void FollowServer(int32_t Pilot);
    // Back to this machine's own match: the player alone, no scores.
    void StopFollowingServer();
    bool FollowsServer() const { return Following; }
    // The voices of a match's end: won or lost for this machine's player,
    // then the countdown to the next match.
    void AnnounceMatchEnd(int32_t Winner);
    // How many matches ended in this run, and who won the last one.
    uint32_t MatchesEnded() const { return Ended; }
    int32_t LastWinner() const { return LastWon; }

    bool IsComputer(int32_t Pilot) const { return Valid(Pilot) && Pilots[Pilot - 1].Computer; }
    TPilot& GetPilot(int32_t Pilot) { return Pilots[Pilot - 1]; }
    const TPilot& GetPilot(int32_t Pilot) const { return Pilots[Pilot - 1]; }
    bool Valid(int32_t Pilot) const { return Pilot >= 1 && Pilot <= MaxPilots && Pilots[Pilot - 1].InUse; }
    tAirplaneActor* PlayerAircraft() const { return Pilots[PlayerPilot - 1].Aircraft; }
    // The player has flown in this match: the countdown brings them back.
    bool PlayerJoined() const { return Joined; }
    int32_t BotsInMatch() const;
    float Now() const { return MatchTime; }
    const TKillFeedLine& KillFeed(int32_t Newest) const;  // 0 is the newest
    // How many lines the kill feed has shown in this run.
    uint32_t FeedLinesShown() const { return FeedShown; }
    // A line for the kill feed's area (and the console and log): chat, or
    // a line another machine's match announced.
    void ShowInFeed(const ShortString& Line) { Announce(Line); }

    // Adds a computer pilot; an empty class is chosen from the match seed.
    // Returns its number, 0 when refused (with a console error).
    int32_t AddBot(const ShortString& Chassis, const ShortString& Weapon);
    void RemoveBots();
    // A pilot flown from another machine: respawned as a computer pilot is,
    // steered by its RemoteInput. Each one sends a computer pilot home.
    // Returns its number, 0 when the match has no room.
    int32_t AddRemotePilot(const ShortString& Name, const ShortString& Chassis, const ShortString& Weapon);
    // The pilot leaves: its aircraft goes with it, no crash counted.
    void RemovePilot(int32_t Pilot);
    int32_t RemotePilots() const;
    // A match from nothing under the match seed, as a recorded flight begins:
    // no pilots but the player, no scores, the dice thrown from the start.
    // The world's aircraft must be gone already.
    void Restart();

    // Puts the player in the chosen aircraft with the chosen gun: a new one
    // at the spawn point when the player has none and no countdown is on
    // its way, or flies another class or gun; nothing while the one flying
    // already is the choice, or is coming down (its countdown follows).
    // False when nothing was spawned.
    bool SpawnPlayer();

    // Console variables.
    ShortString PlayerName = "Player";
    int32_t BotCount = 0;
    ShortString Difficulty = DifficultyNames[DIFFICULTY_NORMAL];
    float BotSkill = 0.5f;
    int32_t FragLimit = 10;
    bool ShowHUD = true;
    int32_t MatchSeed = 1;

private:
    void AddBotC(const ShortString& Args);
    void RemoveBotsC(const ShortString& Args);
    void SpawnPlayerC(const ShortString& Args);
    // A computer pilot, leaving BotCount alone.
    int32_t AddPilot(const ShortString& Chassis, const ShortString& Weapon);
    void SpawnBot(int32_t Pilot);
    TVector3 SpawnPointFor(int32_t Pilot, float& Heading);
    void Announce(const ShortString& Line);
    void CheckFragLimit(int32_t Pilot);
    void EndMatch(int32_t Winner);
    void KeepBotCount();
    void UpdatePlayerName();
    // Computer pilots (not those flown from another machine) leave, the
    // last places first, until at most Keep of them are left.
    void WithdrawBots(int32_t Keep);
    // The dice start again from the match seed.
    void Reseed();

    static_assert(MaxPilots < TPlayerAttention::Capacity);
    std::array<TPilot, MaxPilots> Pilots{};
    std::array<TKillFeedLine, KillFeedLines> Feed{};
    int32_t FeedNewest = 0;
    uint32_t FeedShown = 0;
    int32_t Spawning = 0;      // the pilot whose aircraft is being built
    bool Joined = false;
    int32_t Own = PlayerPilot;
    bool PlayerLeftOut = false;  // a dedicated server's
    bool Following = false;
    uint32_t Ended = 0;
    int32_t LastWon = 0;
    float MatchTime = 0;
    uint32_t BotsAdded = 0;    // for names and seeds
    tRandom Random{1};
    int32_t SeededWith = 0;
    tHUD* HUD = nullptr;       // owned
    TPlayerAttention PlayerAttention;
    tDangerWatch PlayerDanger;
    // The console variables bound to the fields above.
    tFieldBindings BoundFields;
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};

// How near the segment From-To passes Point: a shot's step against an
// aircraft's sphere.
float DistanceToSegment(const TVector3& Point, const TVector3& From, const TVector3& To);

// The height of the current world's ground under (X, Y): the island's own
// surface (craters included) where there is one, 0 without a terrain.
float GroundUnder(float X, float Y);

// The current match, or none (tests of single objects run without one).
extern tMatch* Match;
