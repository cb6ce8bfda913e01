#include "game/match.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/airplane.h"
#include "game/announcers.h"
#include "game/hud.h"
#include "game/objectnames.h"
#include "game/terrain/mipterrain.h"
#include "game/weapons.h"
#include "libraries/effects/particleburst.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tMatch, .Operations = {{"Tick"}, {"RenderFrame"}},
                  .Published = {ZPublished<&tMatch::PostInit>("PostInit")})

tMatch* Match = nullptr;

namespace {
constexpr const char* BotNames[] = {"Baron", "Kestrel", "Viper", "Osprey", "Shrike", "Raven", "Condor", "Merlin",
                                    "Harrier", "Gannet", "Falcon", "Swift", "Petrel", "Corsair", "Hornet"};
constexpr const char* Chassis[] = {"tBiplane", "tPursuitPlane"};
constexpr const char* Guns[] = {"tPlasmaGun", "tPulseGun", "tRailGun"};
constexpr float SpawnRadius = 330.0f, SpawnHeight = 200.0f, SpawnClearance = 80.0f;
constexpr int32_t SpawnPoints = 8;
constexpr uint32_t SeedStride = 7919;

template <class T, std::size_t N>
constexpr int32_t CountOf(const T (&)[N]) { return int32_t(N); }

// The pilot leaves the match; its aircraft goes at the next feedback,
// unscored.
void LeaveMatch(TPilot& P) {
    if (P.Aircraft) P.Aircraft->Withdraw();
    P.InUse = false;
    P.Remote = false;
}

}  // namespace

float GroundUnder(float X, float Y) {
    tWorld* World = Engine->World;
    if (!World || !World->HasTerrain()) return 0;
    tTerrain* Terrain = World->GetTerrainForPoint({X, Y, 0});
    if (Terrain->DynamicCast(&tMipTerrain::ClassInfo)) return static_cast<tMipTerrain*>(Terrain)->GroundHeight(X, Y);
    return Terrain->GetLowestCameraHeight(int32_t(X), int32_t(Y));
}

float DistanceToSegment(const TVector3& Point, const TVector3& From, const TVector3& To) {
    const TVector3 Along = To - From;
    const float Length2 = Dot(Along, Along);
    const float T = Length2 > 0 ? std::clamp(Dot(Point - From, Along) / Length2, 0.0f, 1.0f) : 0.0f;
    return Len(Point - (From + Along * T));
}

tMatch::tMatch() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
    ProcTrace trace("tMatch.Init()");
    // The game holds one match: a second would take the first one's commands
    // and variables. It fails before it has touched anything of the first.
    Logger->Guard(Match == nullptr, "A match is under way already");
    PriorityClass = PCLASS_LAST;  // the HUD lies over the world, under the GUI
    EngineVars->RegisterVar("PlayerName", PlayerName, BoundFields);
    EngineVars->RegisterVar("BotCount", BotCount, BoundFields);
    EngineVars->RegisterVar("Difficulty", Difficulty, BoundFields);
    EngineVars->RegisterVar("BotSkill", BotSkill, BoundFields);
    EngineVars->RegisterVar("FragLimit", FragLimit, BoundFields);
    EngineVars->RegisterVar("HUD", ShowHUD, BoundFields);
    EngineVars->RegisterVar("MatchSeed", MatchSeed, BoundFields);
    Console->RegisterCommand("AddBot", ConsoleProc<&tMatch::AddBotC>(this), Commands);
    Console->RegisterCommand("RemoveBots", ConsoleProc<&tMatch::RemoveBotsC>(this), Commands);
    Console->RegisterCommand("SpawnPlayer", ConsoleProc<&tMatch::SpawnPlayerC>(this), Commands);
    TPilot& Player = Pilots[PlayerPilot - 1];
    Player.InUse = true;
    Player.Name = PlayerName;
    Match = this;
}

tMatch::~tMatch() {
    ProcTrace trace("tMatch.Done()");
    Logger->Log("Match over after " + Flt2Str(MatchTime) + " seconds of play");
    delete HUD;
    // Aircraft still flying outlive the match at shutdown: they forget it.
    for (TPilot& P : Pilots)
        if (P.Aircraft) P.Aircraft->Pilot = 0;
    if (Match == this) Match = nullptr;
}

// The render device exists from here on: the HUD is made before the first frame.
void tMatch::PostInit() {
    if (!Registered) Engine->RegisterSubsystem(this);
    if (!HUD && Engine->Renderer) HUD = new tHUD();
}

// ---- Pilots ------------------------------------------------------------------

int32_t tMatch::BotsInMatch() const {
    int32_t N = 0;
    for (const TPilot& P : Pilots) N += P.InUse && P.Computer && !P.Remote;
    return N;
}

int32_t tMatch::RemotePilots() const {
    int32_t N = 0;
    for (const TPilot& P : Pilots) N += P.InUse && P.Remote;
    return N;
}

int32_t tMatch::AddRemotePilot(const ShortString& Name, const ShortString& ChassisClass, const ShortString& WeaponClass) {
    // A full match: a computer pilot goes home to make room.
    if (std::all_of(Pilots.begin(), Pilots.end(), [](const TPilot& P) { return P.InUse; }))
        WithdrawBots(BotsInMatch() - 1);
    const int32_t Pilot = AddPilot(ChassisClass, WeaponClass);
    if (Pilot == 0) return 0;
    TPilot& P = GetPilot(Pilot);
    P.Remote = true;
    P.Name = Name;
    --BotsAdded;  // no bot's name was used
    Logger->Log("Pilot " + Name + " joins from the network");
    KeepBotCount();
    return Pilot;
}

void tMatch::RemovePilot(int32_t Pilot) {
    if (!Valid(Pilot) || Pilot == PlayerPilot) return;
    LeaveMatch(GetPilot(Pilot));
    KeepBotCount();
}

int32_t tMatch::AddBot(const ShortString& ChassisClass, const ShortString& WeaponClass) {
    const int32_t Pilot = AddPilot(ChassisClass, WeaponClass);
    if (Pilot != 0) BotCount = BotsInMatch() + RemotePilots();
    return Pilot;
}

int32_t tMatch::AddPilot(const ShortString& ChassisClass, const ShortString& WeaponClass) {
    if (SeededWith != MatchSeed) Reseed();
    const ShortString C = ChassisClass.empty() ? ShortString(Chassis[Random(CountOf(Chassis))]) : ChassisClass;
    const ShortString W = WeaponClass.empty() ? ShortString(Guns[Random(CountOf(Guns))]) : WeaponClass;
    for (const ShortString& Error : {Linker->InstantiationError(C, tAirplaneActor::ClassInfo, tAirplaneActor::KindName),
                                     Linker->InstantiationError(W, tWeapon::ClassInfo, tWeapon::KindName)}) {
        if (Error.empty()) continue;
        Console->DisplayError("AddBot: " + Error);
        return 0;
    }
    // Pilot 1's place is the player's, even where nobody plays.
    for (int32_t I = PlayerPilot; I < MaxPilots; ++I) {
        TPilot& P = Pilots[I];
        if (P.InUse) continue;
        P = TPilot{};
        P.InUse = P.Computer = true;
        P.Name = BotNames[BotsAdded % CountOf(BotNames)];
        P.Chassis = C;
        P.Weapon = W;
        P.Brain = TBotBrain(uint32_t(MatchSeed) * SeedStride + BotsAdded + 1, BotSkill, Level());
        ++BotsAdded;
        Logger->Log("Computer pilot " + P.Name + " joins in a " + C + " with a " + W);
        return I + 1;
    }
    Console->DisplayError("AddBot: no room for another pilot");
    return 0;
}

void tMatch::Restart() {
    for (TPilot& P : Pilots) P = TPilot{};
    Pilots[PlayerPilot - 1].InUse = !PlayerLeftOut;
    UpdatePlayerName();
    Feed = {};
    FeedNewest = 0;
    Spawning = 0;
    Joined = false;
    MatchTime = 0;
    PlayerAttention.Reset();
    PlayerDanger.Reset();
    BotsAdded = 0;
    Reseed();
    tParticleBurst::RestartSeeds();
}

void tMatch::Reseed() {
    Random = tRandom(uint32_t(MatchSeed));
    SeededWith = MatchSeed;
    tRandom::MatchSeed = uint32_t(MatchSeed);
}

void tMatch::LeavePlayerOut() {
    PlayerLeftOut = true;
    Own = 0;
    LeaveMatch(Pilots[PlayerPilot - 1]);
}

void tMatch::FollowServer(int32_t Pilot) {
    for (TPilot& P : Pilots) {
        LeaveMatch(P);
        P = TPilot{};
    }
    BotCount = 0;
    Following = true;
    Own = Pilot;
}

void tMatch::StopFollowingServer() {
    if (!Following) return;
    for (TPilot& P : Pilots) P = TPilot{};
    Pilots[PlayerPilot - 1].InUse = true;
    UpdatePlayerName();
    Following = false;
    Own = PlayerPilot;
}

void tMatch::AddBotC(const ShortString& Args) { AddBot(GetToken(Args, 1), GetToken(Args, 2)); }

void tMatch::RemoveBots() {
    WithdrawBots(0);
    BotCount = 0;
}

void tMatch::WithdrawBots(int32_t Keep) {
    for (int32_t I = MaxPilots - 1; I >= 0 && BotsInMatch() > Keep; --I) {
        TPilot& P = Pilots[I];
        if (!P.InUse || !P.Computer || P.Remote) continue;
        LeaveMatch(P);
    }
}

void tMatch::RemoveBotsC(const ShortString&) { RemoveBots(); }

bool tMatch::SpawnPlayer() {
    ShortString ChassisClass, WeaponClass;
    if (EngineVars->IsVarDefined("PlaneChassis")) EngineVars->GetVar("PlaneChassis", ChassisClass);
    if (EngineVars->IsVarDefined("PrimaryWeapon")) EngineVars->GetVar("PrimaryWeapon", WeaponClass);
    if (Own != PlayerPilot) {
        Console->DisplayError("SpawnPlayer: nobody flies on this machine");
        return false;
    }
    const tAirplaneActor* A = PlayerAircraft();
    if (A) {
        if (!A->Alive()) return false;
        const ShortString Gun = A->PrimaryWeapon ? ShortString(A->PrimaryWeapon->GetClass()->DeclaredName()) : "";
        if (UpCaseStr(A->GetClass()->DeclaredName()) == UpCaseStr(ChassisClass) && UpCaseStr(Gun) == UpCaseStr(WeaponClass))
            return false;
    } else if (tLostTheMatchAnnouncer::Running > 0) {
        return false;
    }
    // A choice the game cannot fly is refused before the old aircraft goes.
    ShortString Error = Linker->InstantiationError(ChassisClass, tAirplaneActor::ClassInfo, tAirplaneActor::KindName);
    if (Error.empty() && !WeaponClass.empty())
        Error = Linker->InstantiationError(WeaponClass, tWeapon::ClassInfo, tWeapon::KindName);
    if (!Error.empty()) {
        Console->DisplayError("SpawnPlayer: " + Error);
        return false;
    }
    Console->SendCommand(tLostTheMatchAnnouncer::RespawnCommand, true);
    return PlayerAircraft() && PlayerAircraft() != A;
}

void tMatch::SpawnPlayerC(const ShortString&) { SpawnPlayer(); }

// "BotCount" is a wish the match follows: bots join or leave to reach it,
// and leave the places of pilots who joined over the network.
void tMatch::KeepBotCount() {
    BotCount = std::clamp(BotCount, 0, MaxPilots - 1);
    const int32_t Wanted = std::max(0, BotCount - RemotePilots());
    while (BotsInMatch() < Wanted)
        if (AddPilot("", "") == 0) break;
    WithdrawBots(Wanted);
}

void tMatch::UpdatePlayerName() { Pilots[PlayerPilot - 1].Name = PlayerName.empty() ? "Player" : PlayerName; }

int32_t tMatch::ClaimPilot(tAirplaneActor* Aircraft) {
    // An aircraft made by hand where nobody plays belongs to no one.
    if (Spawning == 0 && Own != PlayerPilot) return 0;
    const int32_t Pilot = Spawning != 0 ? Spawning : PlayerPilot;
    TPilot& P = GetPilot(Pilot);
    // One aircraft a pilot: a second one for the player replaces the first.
    if (P.Aircraft && P.Aircraft != Aircraft) P.Aircraft->Withdraw();
    P.Aircraft = Aircraft;
    if (Pilot == PlayerPilot) Joined = true;
    P.LastShooter = 0;
    return Pilot;
}

void tMatch::AircraftGone(tAirplaneActor* Aircraft) {
    for (TPilot& P : Pilots) {
        if (P.Aircraft != Aircraft) continue;
        P.Aircraft = nullptr;
        PlayerAttention.Left(int32_t(&P - Pilots.data()) + 1);
        if (P.Computer && P.RespawnIn <= 0) P.RespawnIn = RespawnSeconds;
    }
}

// ---- Spawning ---------------------------------------------------------------

// Spawn points ring the island, noses toward its middle; a pilot takes the
// one farthest from every enemy.
TVector3 tMatch::SpawnPointFor(int32_t Pilot, float& Heading) {
    const TVector3 Centre = {MapSize / 2, MapSize / 2, 0};
    float BestDistance = -1;
    TVector3 Best = Centre;
    const int32_t First = Random(SpawnPoints);
    for (int32_t K = 0; K < SpawnPoints; ++K) {
        const float Angle = 2 * std::numbers::pi_v<float> * float((First + K) % SpawnPoints) / SpawnPoints;
        TVector3 Point = Centre + TVector3{std::cos(Angle), std::sin(Angle), 0} * SpawnRadius;
        Point.z = SpawnHeight;
        Point.z = std::max(SpawnHeight, GroundUnder(Point.x, Point.y) + SpawnClearance);
        float Nearest = 1e9f;
        for (int32_t I = 1; I <= MaxPilots; ++I)
            if (I != Pilot && Valid(I) && GetPilot(I).Aircraft)
                Nearest = std::min(Nearest, Len(GetPilot(I).Aircraft->_vecPosition - Point));
        if (Nearest > BestDistance) {
            BestDistance = Nearest;
            Best = Point;
        }
    }
    const TVector3 ToCentre = Centre - Best;
    Heading = std::atan2(-ToCentre.x, ToCentre.y);
    return Best;
}

void tMatch::SpawnBot(int32_t Pilot) {
    TPilot& P = GetPilot(Pilot);
    float Heading = 0;
    const TVector3 Point = SpawnPointFor(Pilot, Heading);
    Spawning = Pilot;
    auto* Aircraft = static_cast<tAirplaneActor*>(Linker->InstantiateClassByName(P.Chassis, PositionText(Point)));
    Spawning = 0;
    Aircraft->TurnTo(Heading);
    P.RespawnIn = 0;
}

// ---- Hits and scores -----------------------------------------------------------

tAirplaneActor* tMatch::AircraftOnPath(const TVector3& From, const TVector3& To, int32_t Shooter, float Extra) {
    for (int32_t I = 1; I <= MaxPilots; ++I) {
        if (I == Shooter || !Valid(I)) continue;
        tAirplaneActor* A = GetPilot(I).Aircraft;
        if (A && A->Alive() && DistanceToSegment(A->_vecPosition, From, To) <= A->HitRadius() + Extra) return A;
    }
    return nullptr;
}

void tMatch::AircraftHit(int32_t Victim, int32_t Shooter, const ShortString& Gun) {
    if (!Valid(Victim)) return;
    TPilot& P = GetPilot(Victim);
    P.LastShooter = Valid(Shooter) && Shooter != Victim ? Shooter : 0;
    P.LastHitAt = MatchTime;
    P.LastGun = Gun;
    if (Shooter == PlayerPilot) PlayerAttention.PlayerHit(Victim, MatchTime);
    if (Victim == PlayerPilot && Valid(Shooter) && GetPilot(Shooter).Aircraft)
        PlayerDanger.PlayerHitFrom(GetPilot(Shooter).Aircraft->_vecPosition);
}

void tMatch::Announce(const ShortString& Line) {
    Logger->Log(Line);
    Console->Display(Line);
    FeedNewest = (FeedNewest + 1) % KillFeedLines;
    Feed[FeedNewest] = {Line, MatchTime};
    ++FeedShown;
}

const TKillFeedLine& tMatch::KillFeed(int32_t Newest) const {
    return Feed[(FeedNewest - Newest + KillFeedLines) % KillFeedLines];
}

void tMatch::AircraftShotDown(int32_t Victim, int32_t Shooter, const ShortString& Gun) {
    if (!Valid(Victim)) return;
    TPilot& V = GetPilot(Victim);
    ++V.Deaths;
    if (!Valid(Shooter) || Shooter == Victim) {
        Announce(V.Name + " was shot down");
        return;
    }
    TPilot& K = GetPilot(Shooter);
    ++K.Kills;
    if (Victim == PlayerPilot) PlayerAttention.PlayerShotDownBy(Shooter, MatchTime);
    Announce(K.Name + " shot down " + V.Name + " with " + Gun);
    CheckFragLimit(Shooter);
}

void tMatch::AircraftCrashed(int32_t Victim) {
    if (!Valid(Victim)) return;
    TPilot& V = GetPilot(Victim);
    // Flown into the ground while under fire: the kill goes to the shooter.
    if (Valid(V.LastShooter) && MatchTime - V.LastHitAt <= CreditedCrashSeconds) {
        Announce(V.Name + " crashed");
        AircraftShotDown(Victim, V.LastShooter, V.LastGun);
        return;
    }
    ++V.Deaths;
    ++V.Crashes;
    Announce(V.Name + " crashed");
}

void tMatch::CreditCollected(int32_t Pilot) {
    if (!Valid(Pilot)) return;
    ++GetPilot(Pilot).Credits;
    Logger->Log(GetPilot(Pilot).Name + " collects a credit");
}

void tMatch::CheckFragLimit(int32_t Pilot) {
    if (FragLimit > 0 && GetPilot(Pilot).Score() >= FragLimit) EndMatch(Pilot);
}

// Everyone lands: the winner is announced, every aircraft leaves, the
// scores start again and all come back after one countdown.
void tMatch::EndMatch(int32_t Won) {
    Announce(GetPilot(Won).Name + " wins the match");
    ++Ended;
    LastWon = Won;
    for (TPilot& P : Pilots) {
        if (!P.InUse) continue;
        if (P.Aircraft) P.Aircraft->Withdraw();
        P.Kills = P.Deaths = P.Crashes = 0;
        P.LastShooter = 0;
        if (P.Computer) P.RespawnIn = RespawnSeconds;
    }
    if (Joined) AnnounceMatchEnd(Won);
}

void tMatch::AnnounceMatchEnd(int32_t Won) {
    Linker->InstantiateClassByName("tAnnouncer", Won == Own ? WinSample : LoseSample);
    Linker->InstantiateClassByName("tLostTheMatchAnnouncer", "");
}

int32_t tMatch::Contacts(int32_t Pilot, TBotContact* Out, int32_t Capacity) {
    int32_t N = 0;
    for (int32_t I = 1; I <= MaxPilots && N < Capacity; ++I) {
        if (I == Pilot || !Valid(I)) continue;
        const tAirplaneActor* A = GetPilot(I).Aircraft;
        if (!A || !A->Alive()) continue;
        Out[N++] = {A->_vecPosition, A->_vecHeading * A->_rSpeed, A->_vecHeading, I};
        if (I == PlayerPilot && SettingsFor(Level()).SharesThePlayer)
            Out[N - 1].MayAttack = PlayerAttention.MayAttack(Pilot, MatchTime);
    }
    return N;
}

TBotCommand tMatch::Think(int32_t Pilot, TBotSituation& S, float DeltaSeconds) {
    TBotContact Enemies[MaxPilots];
    S.Enemies = Enemies;
    S.EnemyCount = Contacts(Pilot, Enemies, MaxPilots);
    TBotBrain& Brain = GetPilot(Pilot).Brain;
    const TBotCommand Command = Brain.Think(S, DeltaSeconds);
    PlayerAttention.Chose(Pilot, Brain.TargetPilot == PlayerPilot);
    S.Enemies = nullptr;
    S.EnemyCount = 0;
    return Command;
}

// ---- Subsystem ------------------------------------------------------------------

void tMatch::Tick(float DeltaSeconds) {
    tRandom::MatchSeed = uint32_t(MatchSeed);
    if (Following) {
        MatchTime += std::max(0.0f, DeltaSeconds);
        return;
    }
    UpdatePlayerName();
    KeepBotCount();
    if (DeltaSeconds <= 0) return;
    MatchTime += DeltaSeconds;
    PlayerDanger.Update(*this, DeltaSeconds);
    const bool Island = Engine->World && Engine->World->HasTerrain();
    for (int32_t I = 1; I <= MaxPilots; ++I) {
        TPilot& P = GetPilot(I);
        if (!P.InUse || !P.Computer) continue;
        if (!P.Remote) {
            P.Brain.SetSkill(BotSkill);
            P.Brain.SetDifficulty(Level());
        }
        if (P.Aircraft || !Island) continue;
        P.RespawnIn -= DeltaSeconds;
        if (P.RespawnIn <= 0) SpawnBot(I);
    }
}

void tMatch::RenderFrame() {
    // Nothing to show until someone flies: scenes without a match stay
    // clean; and nothing under the menu or another window but the console.
    if (Engine->GUI && Engine->GUI->ShowsWindow()) return;
    if (ShowHUD && HUD && (Joined || Following || BotsInMatch() > 0)) HUD->Render(*this);
}
