#include "net/server/netserver.h"

#include <algorithm>
#include <cmath>

#include "game/airplane.h"
#include "game/objectnames.h"
#include "game/projectiles.h"
#include "game/terrain/mipterrain.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/math/quaternion.h"
#include "net/client/netclient.h"
#include "net/client/netpuppet.h"

Z_IMPLEMENT_CLASS(tNetServer, .Operations = {{"Tick"}, {"RenderFrame"}},
                  .Published = {ZPublished<&tNetServer::PostInit>("PostInit")})

tNetServer* NetServer = nullptr;

namespace {

// The aircraft and guns a hello may ask for, by their number; 0 (and an
// unknown number) is what the server's own PlaneChassis and PrimaryWeapon name.
constexpr const char* ChassisClasses[] = {"", "tBiplane", "tPursuitPlane"};
constexpr const char* WeaponClasses[] = {"", "tPlasmaGun", "tPulseGun", "tRailGun"};

ShortString ChosenClass(const char* const* Names, std::size_t Count, uint8_t Index, const char* Variable) {
    if (Index > 0 && Index < Count) return Names[Index];
    ShortString Class;
    if (EngineVars->IsVarDefined(Variable)) EngineVars->GetVar(Variable, Class);
    return Class;
}

template <std::size_t N>
int32_t IndexOf(const char* const (&Names)[N], const ShortString& Name) {
    for (std::size_t I = 0; I < N; ++I)
        if (UpCaseStr(Name) == UpCaseStr(Names[I])) return int32_t(I);
    return 0;
}

}  // namespace

tNetServer::tNetServer() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
    ProcTrace trace("tNetServer.Init()");
    NetServer = this;
    EngineVars->RegisterVar("SnapshotRate", SnapshotRate, BoundFields);
    EngineVars->RegisterVar("MaxClients", MaxClients, BoundFields);
    EngineVars->RegisterVar("ServerPort", ServerPort, BoundFields);
    EngineVars->RegisterVar("ServerName", ServerName, BoundFields);
    EngineVars->RegisterVar("RconPassword", RconPassword, BoundFields);
    Console->RegisterCommand("Host", ConsoleProc<&tNetServer::HostC>(this), Commands);
    Console->RegisterCommand("StopHosting", ConsoleProc<&tNetServer::StopHostingC>(this), Commands);
    Console->RegisterCommand("Say", ConsoleProc<&tNetServer::SayC>(this), Commands);
    Console->RegisterCommand("Pilots", ConsoleProc<&tNetServer::PilotsC>(this), Commands);
    Console->RegisterCommand("PlacePilot", ConsoleProc<&tNetServer::PlacePilotC>(this), Commands);
    Console->RegisterCommand("GroundHeight", ConsoleProc<&tNetServer::GroundHeightC>(this), Commands);
}

tNetServer::~tNetServer() {
    ProcTrace trace("tNetServer.Done()");
    StopHosting();
    if (NetServer == this) NetServer = nullptr;
}

void tNetServer::PostInit() {
    if (!Registered) Engine->RegisterSubsystem(this);
}

bool tNetServer::Host(uint16_t Port, bool LoopbackOnly) {
    StopHosting();
    std::string Error;
    tServerSession::tSettings Settings;
    Settings.Port = Port;
    Settings.LoopbackOnly = LoopbackOnly;
    Settings.MaxClients = std::clamp(MaxClients, 1, tMatch::MaxPilots - 1);
    Settings.RconPassword = RconPassword.c_str();
    if (!Session.Open(Settings, *this, Error)) {
        Console->DisplayError("Host: " + ShortString(Error));
        return false;
    }
    PilotOfClient = {};
    Told = {};
    Craters.clear();
    Craters.reserve(KeptCraters);
    OldestCrater = 0;
    FeedTold = Match ? Match->FeedLinesShown() : 0;
    EndsTold = Match ? Match->MatchesEnded() : 0;
    tMipTerrain::ImpactHeard = &tNetServer::CraterDug;
    Console->Display("Hosting the match on port " + Int2Str(Session.Port()));
    return true;
}

void tNetServer::StopHosting() {
    if (!Session.IsOpen()) return;
    for (int32_t Client : Session.JoinedClients())
        if (Match) Match->RemovePilot(PilotOfClient[Client]);
    Session.Close();
    if (tMipTerrain::ImpactHeard == &tNetServer::CraterDug) tMipTerrain::ImpactHeard = nullptr;
    if (Console) Console->Display("No longer hosting");
}

void tNetServer::HostC(const ShortString& Args) {
    const ShortString Word = GetToken(Args, 1);
    int32_t Port = ServerPort;
    if (!Word.empty()) {
        if (!IsCorrectInt(Word) || Str2Int(Word) < 0 || Str2Int(Word) > 65535) {
            Console->DisplayError("Usage: Host [port]");
            return;
        }
        Port = Str2Int(Word);
    }
    Host(static_cast<uint16_t>(Port));
}

void tNetServer::StopHostingC(const ShortString&) { StopHosting(); }

void tNetServer::SayC(const ShortString& Args) {
    const std::string Text = Trim(Args).c_str();
    if (Text.empty()) {
        Console->DisplayError("Usage: Say text");
        return;
    }
    // A client's chat goes to its server, which shows it everywhere.
    if (NetClient && NetClient->Connected()) NetClient->Say(Text.substr(0, MaxChatLength));
    else if (Match) Match->ShowInFeed(Speaker() + ": " + ShortString(Text.substr(0, MaxChatLength)));
}

ShortString tNetServer::Speaker() const {
    // A dedicated server has no pilot: it speaks under its own name.
    if (Match->Valid(Match->OwnPilot())) return Match->GetPilot(Match->OwnPilot()).Name;
    return ServerName.empty() ? ShortString("Server") : ServerName;
}

void tNetServer::PilotsC(const ShortString&) {
    if (!Match) return;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P) {
        if (!Match->Valid(P)) continue;
        const TPilot& Pilot = Match->GetPilot(P);
        ShortString Line = "Pilot " + Int2Str(P) + " " + Pilot.Name + " score " + Int2Str(Pilot.Score());
        // Flown here, or drawn where the server's snapshot put it.
        const tNetPuppet* Puppet = NetClient ? NetClient->PuppetOf(P) : nullptr;
        if (const tAirplaneActor* A = Pilot.Aircraft; A && A->Alive())
            Line += " at " + PositionText(A->_vecPosition);
        else if (Puppet)
            Line += " at " + PositionText(Puppet->Position());
        Console->Display(Line);
        // In the log too: a game with a window shows the console on its screen only.
        Logger->Log(Line);
    }
}

void tNetServer::PlacePilotC(const ShortString& Args) {
    const int32_t P = Str2Int(GetToken(Args, 1));
    if (!Match || !Match->Valid(P) || !Match->GetPilot(P).Aircraft || GetToken(Args, 4).empty()) {
        Console->DisplayError("Usage: PlacePilot pilot x y z [heading]");
        return;
    }
    tAirplaneActor* A = Match->GetPilot(P).Aircraft;
    A->SetPosition({Str2Flt(GetToken(Args, 2)), Str2Flt(GetToken(Args, 3)), Str2Flt(GetToken(Args, 4))});
    if (!GetToken(Args, 5).empty()) A->TurnTo(Str2Flt(GetToken(Args, 5)));
}

void tNetServer::GroundHeightC(const ShortString& Args) {
    if (GetToken(Args, 2).empty()) {
        Console->DisplayError("Usage: GroundHeight x y");
        return;
    }
    const float X = Str2Flt(GetToken(Args, 1)), Y = Str2Flt(GetToken(Args, 2));
    Warning->Log("Ground at " + Flt2Str(X) + " " + Flt2Str(Y) + ": " + Flt2Str(GroundUnder(X, Y)));
}

void tNetServer::Tick(float DeltaSeconds) {
    if (!Session.IsOpen()) return;
    // A match begun anew (a recorded flight's start) has its ground untouched:
    // newcomers are sent none of the old craters.
    if (Match && Match->Now() < MatchTimeSeen) {
        Craters.clear();
        OldestCrater = 0;
    }
    MatchTimeSeen = Match ? Match->Now() : 0;
    Session.Service(0);
    if (DeltaSeconds > 0) {
        Session.AdvanceUpdate();
        for (int32_t Client = 1; Client <= MaxNetPilots; ++Client)
            if (Session.Joined(Client) && Match && Match->Valid(PilotOfClient[Client]))
                Match->GetPilot(PilotOfClient[Client]).RemoteInput = Session.Input(Client);
    }
    ++Updates;
    TellChanges();
    if (Updates % uint32_t(std::max(1, UpdatesPerSecond / std::clamp(SnapshotRate, 1, UpdatesPerSecond))) == 0) {
        BuildSnapshot();
        for (int32_t Client = 1; Client <= MaxNetPilots; ++Client)
            if (Session.Joined(Client)) Session.SendSnapshot(Client, *Snapshot);
    }
    if (Updates % UpdatesPerSecond == 0) {
        SendPings();
        TellWeather();
    }
}

namespace {
int16_t Clamped16(int32_t V) { return static_cast<int16_t>(std::clamp(V, -32768, 32767)); }

// A pilot's line of the scoreboard, as the clients are told it.
tServerPilot ScoreLine(int32_t Pilot) {
    const TPilot& P = Match->GetPilot(Pilot);
    tServerPilot M;
    M.Pilot = static_cast<uint8_t>(Pilot);
    M.Bot = P.Computer && !P.Remote;
    M.Frags = Clamped16(P.Score());
    M.Kills = Clamped16(P.Kills);
    M.Deaths = Clamped16(P.Deaths);
    M.Credits = Clamped16(P.Credits);
    return M;
}
}  // namespace

void tNetServer::TellPilot(int32_t Client, int32_t Pilot) {
    tServerPilot M = ScoreLine(Pilot);
    M.Name = Match->GetPilot(Pilot).Name.c_str();
    const std::size_t Size = WriteServerPilot(Buffer.data(), Buffer.size(), M);
    if (Client > 0) Session.Send(Client, Buffer.data(), Size);
    else SendToAll(Size);
}

void tNetServer::TellChanges() {
    if (!Match) return;
    for (int32_t Pilot = 1; Pilot <= tMatch::MaxPilots; ++Pilot) {
        tTold& T = Told[Pilot];
        const bool InUse = Match->Valid(Pilot);
        if (InUse && (!T.InUse || T.Name != Match->GetPilot(Pilot).Name)) {
            TellPilot(0, Pilot);
        } else if (!InUse && T.InUse) {
            SendToAll(WriteServerPilotLeft(Buffer.data(), Buffer.size(), static_cast<uint8_t>(Pilot)));
        } else if (InUse) {
            const TPilot& P = Match->GetPilot(Pilot);
            if (T.Score != P.Score() || T.Kills != P.Kills || T.Deaths != P.Deaths || T.Credits != P.Credits)
                SendToAll(WriteServerScore(Buffer.data(), Buffer.size(), ScoreLine(Pilot)));
        }
        if (InUse) {
            const TPilot& P = Match->GetPilot(Pilot);
            T = {true, P.Name, P.Score(), P.Kills, P.Deaths, P.Credits};
        } else if (T.InUse) {
            T = {};
        }
    }
    const uint32_t Shown = Match->FeedLinesShown();
    for (uint32_t Line = std::max(FeedTold, Shown - std::min<uint32_t>(Shown, tMatch::KillFeedLines)); Line < Shown; ++Line)
        SendToAll(WriteServerFeed(Buffer.data(), Buffer.size(), Match->KillFeed(int32_t(Shown - 1 - Line)).Text.view()));
    FeedTold = Shown;
    // After the line that names the winner: the clients' own end of the match.
    if (Match->MatchesEnded() != EndsTold) {
        EndsTold = Match->MatchesEnded();
        SendToAll(WriteServerMatchEnd(Buffer.data(), Buffer.size(), static_cast<uint8_t>(Match->LastWinner())));
    }
}

void tNetServer::BuildSnapshot() {
    tNetSnapshot& S = *Snapshot;
    S.Tick = Updates;
    S.AircraftCount = S.ProjectileCount = 0;
    if (!Match) return;
    for (int32_t Pilot = 1; Pilot <= tMatch::MaxPilots && Pilot <= MaxNetPilots; ++Pilot) {
        const tAirplaneActor* A = Match->Valid(Pilot) ? Match->GetPilot(Pilot).Aircraft : nullptr;
        if (!A || !A->Alive()) continue;
        tNetAircraft& N = S.Aircraft[S.AircraftCount++];
        N.Id = static_cast<uint8_t>(Pilot);
        const ShortString Gun = A->PrimaryWeapon ? ShortString(A->PrimaryWeapon->GetClass()->DeclaredName()) : "";
        const TVector4& Q = A->_quatAttitude;
        N.F = {IndexOf(ChassisClasses, A->GetClass()->DeclaredName()),
               IndexOf(WeaponClasses, Gun),
               A->HitFlash > 0 ? int32_t(tNetAircraft::HitFlash) : 0,
               std::clamp(A->Health, 0, 1000),
               NetFixed(A->_vecPosition.x), NetFixed(A->_vecPosition.y), NetFixed(A->_vecPosition.z),
               NetDirection(Q.x), NetDirection(Q.y), NetDirection(Q.z), NetDirection(Q.w),
               NetFixed(A->_rSpeed), 0};
    }
    tWorld* World = Engine->World;
    if (!World || !World->Effects) return;
    for (int32_t I = 1; I <= World->Effects->GetTotalItems() && S.ProjectileCount < MaxNetProjectiles; ++I) {
        tEffect* E = World->Effects->GetEffect(I);
        if (!E->DynamicCast(&tParticleProjectile::ClassInfo)) continue;
        const auto* Shot = static_cast<tParticleProjectile*>(E);
        if (Shot->Hit) continue;
        tNetProjectile& N = S.Projectiles[S.ProjectileCount++];
        N.Id = Shot->NetId;
        N.F = {IndexOf(ProjectileClasses, Shot->GetClass()->DeclaredName()), std::clamp(Shot->Shooter, 0, MaxNetPilots),
               NetFixed(Shot->Position.x), NetFixed(Shot->Position.y), NetFixed(Shot->Position.z),
               NetFixed(Shot->Velocity.x), NetFixed(Shot->Velocity.y), NetFixed(Shot->Velocity.z)};
    }
    std::sort(S.Projectiles.begin(), S.Projectiles.begin() + S.ProjectileCount,
              [](const tNetProjectile& A, const tNetProjectile& B) { return A.Id < B.Id; });
    // Two shots alive with one number (65535 shots apart): the later waits.
    auto Last = std::unique(S.Projectiles.begin(), S.Projectiles.begin() + S.ProjectileCount,
                            [](const tNetProjectile& A, const tNetProjectile& B) { return A.Id == B.Id; });
    S.ProjectileCount = int32_t(Last - S.Projectiles.begin());
}

bool tNetServer::CurrentWeather(ShortString& Class, int32_t& Hour, float& SkyTime) {
    tAtmosphere* Sky = Engine->World ? Engine->World->GetAtmosphere() : nullptr;
    if (!Sky || !Sky->DynamicCast(&tAtmosphereRenderer::ClassInfo)) return false;
    const auto* Renderer = static_cast<tAtmosphereRenderer*>(Sky);
    const tWeatherConditions* W = Renderer->Conditions;
    if (!W) return false;
    Class = W->ClassName();
    Hour = std::clamp(W->DayTime_Hour, 0, 23);
    SkyTime = float(std::clamp(Renderer->SkyTime(), 0.0, double(MaxSkyTime)));
    return true;
}

void tNetServer::TellWeather() {
    ShortString Class;
    int32_t Hour = 0;
    float SkyTime = 0;
    if (!CurrentWeather(Class, Hour, SkyTime) || (Class == WeatherTold && Hour == WeatherHourTold && SkyTime == SkyTimeTold))
        return;
    WeatherTold = Class;
    WeatherHourTold = Hour;
    SkyTimeTold = SkyTime;
    SendToAll(WriteServerWeather(Buffer.data(), Buffer.size(), Class.view(), static_cast<uint8_t>(Hour), SkyTime));
}

void tNetServer::SendPings() {
    if (!Match) return;
    for (int32_t Client = 1; Client <= MaxNetPilots; ++Client)
        if (Session.Joined(Client) && Match->Valid(PilotOfClient[Client]))
            Match->GetPilot(PilotOfClient[Client]).PingMilliseconds = std::min(Session.PingMilliseconds(Client), 65535);
    // Every pilot: the host's own and the computer pilots fly here, at no delay.
    tServerPings Pings;
    for (int32_t Pilot = 1; Pilot <= tMatch::MaxPilots && Pings.Count < MaxNetPilots; ++Pilot) {
        if (!Match->Valid(Pilot)) continue;
        const TPilot& P = Match->GetPilot(Pilot);
        Pings.Pilot[Pings.Count] = static_cast<uint8_t>(Pilot);
        Pings.Milliseconds[Pings.Count++] = static_cast<uint16_t>(P.Remote ? std::max(0, P.PingMilliseconds) : 0);
    }
    if (Pings.Count) SendToAll(WriteServerPings(Buffer.data(), Buffer.size(), Pings));
}

void tNetServer::CraterDug(const TVector3& Position, float Radius) {
    if (!NetServer || !NetServer->Session.IsOpen()) return;
    const tServerPoint Crater = {Position.x, Position.y, Position.z, Radius};
    std::vector<tServerPoint>& Kept = NetServer->Craters;
    if (Kept.size() < KeptCraters) {
        Kept.push_back(Crater);
    } else {
        Kept[NetServer->OldestCrater] = Crater;
        NetServer->OldestCrater = (NetServer->OldestCrater + 1) % KeptCraters;
    }
    NetServer->SendToAll(WriteServerPoint(NetServer->Buffer.data(), NetServer->Buffer.size(), ServerCrater, Crater));
}

bool tNetServer::NameTaken(const std::string& Name) {
    if (!Match) return false;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P)
        if (Match->Valid(P) && Match->GetPilot(P).Name == ShortString(Name)) return true;
    return false;
}

void tNetServer::ClientJoined(int32_t Client, const std::string& Name, uint8_t Chassis, uint8_t Weapon) {
    const ShortString C = ChosenClass(ChassisClasses, std::size(ChassisClasses), Chassis, "PlaneChassis");
    const ShortString W = ChosenClass(WeaponClasses, std::size(WeaponClasses), Weapon, "PrimaryWeapon");
    const int32_t Pilot = Match ? Match->AddRemotePilot(ShortString(Name), C, W) : 0;
    if (Pilot == 0) {
        Session.Kick(Client, DisconnectServerFull, "no room in the match");
        return;
    }
    PilotOfClient[Client] = Pilot;
    tServerWelcome Welcome;
    Welcome.Pilot = static_cast<uint8_t>(Pilot);
    Welcome.Tick = Updates;
    Welcome.SnapshotRate = static_cast<uint8_t>(std::clamp(SnapshotRate, 1, UpdatesPerSecond));
    Welcome.MatchSeed = Match->MatchSeed;
    Welcome.FragLimit = Match->FragLimit;
    Welcome.Level = Engine->World ? Engine->World->GetClass()->DeclaredName() : "";
    Welcome.ServerName = ServerName.c_str();
    ShortString Weather;
    int32_t Hour = 0;
    if (CurrentWeather(Weather, Hour, Welcome.SkyTime)) {
        Welcome.Weather = Weather.c_str();
        Welcome.WeatherHour = static_cast<uint8_t>(Hour);
    }
    Session.Send(Client, Buffer.data(), WriteServerWelcome(Buffer.data(), Buffer.size(), Welcome));
    // Everyone already there, with their scores; the newcomer itself comes with the others' news.
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P)
        if (Match->Valid(P) && Told[P].InUse) TellPilot(Client, P);
    // The ground as the match has dug it, in the order it was dug.
    for (std::size_t I = 0; I < Craters.size(); ++I) {
        const tServerPoint& Crater = Craters[(OldestCrater + I) % Craters.size()];
        Session.Send(Client, Buffer.data(), WriteServerPoint(Buffer.data(), Buffer.size(), ServerCrater, Crater));
    }
}

void tNetServer::ClientLeft(int32_t Client) {
    if (Match) Match->RemovePilot(PilotOfClient[Client]);
    PilotOfClient[Client] = 0;
}

void tNetServer::ClientSaid(int32_t Client, const std::string& Text) {
    if (Match && Match->Valid(PilotOfClient[Client]))
        Match->ShowInFeed(Match->GetPilot(PilotOfClient[Client]).Name + ": " + ShortString(Text));
}

void tNetServer::RconLine(int32_t Client, const std::string& Line) {
    Logger->Log("Rcon from client " + Int2Str(Client) + ": " + ShortString(Line));
    // An administrator's line comes from outside the game, as a typed one: a
    // recorded flight keeps it.
    if (Console->Tap) Console->Tap->ScriptsStepping();
    Console->SendCommand(ShortString(Line), true);
    if (Console->Tap) Console->Tap->ScriptsStepped();
}

void tNetServer::ServerLog(const std::string& Line) {
    Logger->Log(ShortString(Line));
    Warning->Log(ShortString(Line));
}
