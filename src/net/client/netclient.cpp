#include "net/client/netclient.h"

#include <algorithm>
#include <iterator>

#include "game/airplane.h"
#include "game/match.h"
#include "game/objectnames.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/core/commandline.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/camera.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"
#include "net/client/autopilot.h"
#include "net/client/netpuppet.h"

Z_IMPLEMENT_CLASS(tNetClient, .Operations = {{"Tick"}, {"RenderFrame"}},
                  .Published = {ZPublished<&tNetClient::PostInit>("PostInit")})

tNetClient* NetClient = nullptr;

namespace {
constexpr float ChaseBehind = 12.0f, ChaseAbove = 4.0f;  // the camera behind its own aircraft
constexpr TVector4 ConnectingColor = {1, 1, 0.6f, 1};
constexpr float ConnectingX = 20, ConnectingY = 60;
constexpr const char* StatusVariable = "JoinStatus";
// What the multiplayer page's address line holds ("Connect %JoinAddress").
constexpr const char* AddressVariable = "JoinAddress";

uint8_t ChassisNumber() {
    ShortString Class;
    if (EngineVars->IsVarDefined("PlaneChassis")) EngineVars->GetVar("PlaneChassis", Class);
    return UpCaseStr(Class) == "TPURSUITPLANE" ? 2 : 1;
}

uint8_t WeaponNumber() {
    ShortString Class;
    if (EngineVars->IsVarDefined("PrimaryWeapon")) EngineVars->GetVar("PrimaryWeapon", Class);
    const ShortString Up = UpCaseStr(Class);
    return Up == "TPLASMAGUN" ? 1 : Up == "TPULSEGUN" ? 2 : Up == "TRAILGUN" ? 3 : 0;
}
}  // namespace

tNetClient::tNetClient() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
    NetClient = this;
    Console->RegisterCommand("Connect", ConsoleProc<&tNetClient::ConnectC>(this), Commands);
    Console->RegisterCommand("Disconnect", ConsoleProc<&tNetClient::DisconnectC>(this), Commands);
    Console->RegisterCommand("Rcon", ConsoleProc<&tNetClient::RconC>(this), Commands);
    Console->RegisterCommand("JoinTyped", ConsoleProc<&tNetClient::JoinTypedC>(this), Commands);
    // Defined from the start, so that the page's "Join" with an empty line
    // is a usage message rather than an address "%JoinAddress".
    for (const char* Name : {StatusVariable, AddressVariable})
        if (EngineVars && !EngineVars->IsVarDefined(Name)) EngineVars->SetVar(Name, "");
    Recent.Load();
}

tNetClient::~tNetClient() {
    Session.Disconnect();
    if (NetClient == this) NetClient = nullptr;
}

void tNetClient::PostInit() {
    if (!Registered) Engine->RegisterSubsystem(this);
}

bool tNetClient::Connect(const std::string& HostPort) {
    Disconnect();
    tClientHello Hello;
    Hello.Name = Match && !Match->PlayerName.empty() ? Match->PlayerName.c_str() : "Player";
    Hello.Chassis = ChassisNumber();
    Hello.Weapon = WeaponNumber();
    std::string Error;
    if (!Session.Connect(HostPort, Hello, *this, Error)) {
        TellStatus("Connect: " + ShortString(Error), true);
        return false;
    }
    Recent.Remember(Session.Address());
    TellStatus("Connecting to " + ShortString(Session.Address()) + "...", false);
    return true;
}

void tNetClient::Disconnect() {
    if (!Connected()) return;
    Session.Disconnect();
    LeaveServersMatch();
    Console->Display("Disconnected");
}

void tNetClient::ConnectC(const ShortString& Args) {
    if (GetToken(Args, 1).empty()) {
        TellStatus("Usage: Connect host[:port]", true);
        return;
    }
    Connect(GetToken(Args, 1).c_str());
}

void tNetClient::DisconnectC(const ShortString&) { Disconnect(); }

// The multiplayer page's "Join": the address is read when the button is
// pressed (a "%JoinAddress" in the layout would be read once, at loading).
void tNetClient::JoinTypedC(const ShortString&) {
    ShortString Address;
    if (EngineVars && EngineVars->IsVarDefined(AddressVariable)) EngineVars->GetVar(AddressVariable, Address);
    ConnectC(Trim(Address));
}

void tNetClient::RconC(const ShortString& Args) {
    const ShortString Password = GetToken(Args, 1);
    const std::string Line = Trim(Args).c_str();
    if (Password.empty() || Line.size() <= Password.size()) {
        Console->DisplayError("Usage: Rcon password line");
        return;
    }
    Session.Rcon(Password.c_str(), Line.substr(Line.find(Password.c_str()) + Password.size() + 1));
}

void tNetClient::Tick(float DeltaSeconds) {
    if (!Connected()) return;
    Session.Service(0);
    if (Session.State() != tClientSession::Joined) return;
    if (DeltaSeconds > 0) {
        Session.SendInput(++InputTick, Autopilot ? Autopilot->Fly(Puppets, Pilot, DeltaSeconds) : tAirplaneActor::LocalInput());
        // The pointer steers by its offset from the centre, as in a local flight.
        if (!Engine->GUI || !Engine->GUI->ShowsWindow()) Engine->Viewport->CenterMouse();
    }
    FollowOwnAircraft();
}

void tNetClient::RenderFrame() {
    if (Session.State() == tClientSession::Connecting)
        Engine->Renderer->AddTextString(ConnectingX, ConnectingY, "Connecting to " + ShortString(Session.Address()) + "...",
                                        &ConnectingColor);
}

void tNetClient::FollowOwnAircraft() {
    const tNetPuppet* Own = PuppetOf(Pilot);
    tCamera* Camera = Engine->World ? Engine->World->GetCamera() : nullptr;
    if (!Own || !Camera) return;
    const TVector3 Behind = Own->Position() - Own->Heading() * ChaseBehind + TVector3{0, 0, ChaseAbove};
    Camera->SetCameraPosition(Behind);
    Camera->SetViewingDirection(Own->Position() - Behind);
}

const tNetPuppet* tNetClient::PuppetOf(int32_t PilotNumber) const {
    return PilotNumber > 0 && PilotNumber <= MaxNetPilots ? Puppets[PilotNumber] : nullptr;
}

void tNetClient::ClearPuppets() {
    for (tNetPuppet*& P : Puppets) {
        if (P) P->Leave();
        P = nullptr;
    }
    Names = {};
    Pilot = 0;
    ShotsInPlay.reset();
    ShotsEchoed.reset();
}

void tNetClient::LeaveServersMatch() {
    ClearPuppets();
    if (Match) Match->StopFollowingServer();
}

void tNetClient::Welcomed(const tServerWelcome& Welcome) {
    Pilot = Welcome.Pilot;
    InputTick = 0;
    if (CommandLine.Autopilot) Autopilot = std::make_unique<tNetAutopilot>(uint32_t(Welcome.MatchSeed) * 7919u + uint32_t(Pilot));
    TellStatus("Joined " + ShortString(Welcome.ServerName) + " as pilot " + Int2Str(Pilot), false);
    // This machine now only shows the server's match.
    if (Match) {
        Match->FollowServer(Pilot);
        Match->MatchSeed = Welcome.MatchSeed;
        Match->FragLimit = Welcome.FragLimit;
    }
    TakeWeather(Welcome.Weather, Welcome.WeatherHour, Welcome.SkyTime);
}

void tNetClient::TakeWeather(const std::string& Class, int32_t Hour, float SkyTime) {
    // Only a weather class is made: the name comes from another machine and
    // becomes a console line.
    tZClass Found;
    if (!Class.empty() && Linker->FindClass(ShortString(Class), Found) &&
        Found.StaticClass->IsA(&tWeatherConditions::ClassInfo) && !tZObject::IsAbstractClass(Found))
        Console->SendCommand("SpawnClass " + Found.ClassName + " " + Int2Str(Hour), true);
    tAtmosphere* Sky = Engine->World ? Engine->World->GetAtmosphere() : nullptr;
    if (Sky && Sky->DynamicCast(&tAtmosphereRenderer::ClassInfo)) static_cast<tAtmosphereRenderer*>(Sky)->SetSkyTime(SkyTime);
}

void tNetClient::TakePilot(const tServerMessage& M) {
    const int32_t P = M.Pilot.Pilot;
    if (!Match || P > tMatch::MaxPilots) return;
    TPilot& Shown = Match->GetPilot(P);
    if (M.Type == ServerPilotLeft) {
        Shown = TPilot{};
        return;
    }
    if (M.Type == ServerPilot) {
        if (!Shown.InUse) Shown = TPilot{};
        Shown.InUse = true;
        Shown.Computer = M.Pilot.Bot;
        Shown.Name = ShortString(M.Pilot.Name);
        Shown.PingMilliseconds = std::max(0, Shown.PingMilliseconds);
    }
    Shown.Kills = M.Pilot.Kills;
    Shown.Deaths = M.Pilot.Deaths;
    Shown.Credits = M.Pilot.Credits;
    // The score is kills less crashes: what is not a kill was a crash.
    Shown.Crashes = M.Pilot.Kills - M.Pilot.Frags;
}

void tNetClient::ServerEvent(const tServerMessage& M) {
    const int32_t P = M.Pilot.Pilot;
    switch (M.Type) {
    case ServerCrater: {
        tWorld* World = Engine->World;
        const TVector3 At = {M.Point.X, M.Point.Y, M.Point.Z};
        if (World && World->HasTerrain()) World->GetTerrainForPoint(At)->Impact(At, M.Point.Size);
        break;
    }
    case ServerFeed:
        if (Match) Match->ShowInFeed(ShortString(M.Text));
        break;
    case ServerPilot:
        if (Names[P] != M.Pilot.Name) Console->Display(ShortString(M.Pilot.Name) + " is in the match");
        Names[P] = M.Pilot.Name;
        TakePilot(M);
        break;
    case ServerScore:
        TakePilot(M);
        break;
    case ServerPilotLeft:
        if (!Names[P].empty()) Console->Display(ShortString(Names[P]) + " left the match");
        Names[P].clear();
        if (Puppets[P]) Puppets[P]->Leave();
        Puppets[P] = nullptr;
        TakePilot(M);
        break;
    case ServerWeather:
        TakeWeather(M.Text, M.WeatherHour, M.SkyTime);
        break;
    case ServerPings:
        for (int32_t I = 0; I < M.Pings.Count; ++I)
            if (Match && M.Pings.Pilot[I] <= tMatch::MaxPilots && Match->Valid(M.Pings.Pilot[I]))
                Match->GetPilot(M.Pings.Pilot[I]).PingMilliseconds = M.Pings.Milliseconds[I];
        break;
    case ServerMatchEnd:
        if (Match) Match->AnnounceMatchEnd(P);
        break;
    default: break;
    }
}

void tNetClient::SnapshotArrived(const tNetSnapshot& S) {
    std::array<bool, MaxNetPilots + 1> Present{};
    for (int32_t I = 0; I < S.AircraftCount; ++I) {
        const tNetAircraft& A = S.Aircraft[I];
        Present[A.Id] = true;
        if (!Puppets[A.Id]) {
            const ShortString Name = Flt2Str(NetFloat(A.F[tNetAircraft::X])) + " " + Flt2Str(NetFloat(A.F[tNetAircraft::Y])) +
                                     " " + Flt2Str(NetFloat(A.F[tNetAircraft::Z])) + " " + Int2Str(A.F[tNetAircraft::Chassis]);
            tZObject* Made = Linker->InstantiateClassByName("tNetPuppet", Name);
            Puppets[A.Id] = Made ? static_cast<tNetPuppet*>(Made) : nullptr;
        }
        if (Puppets[A.Id]) Puppets[A.Id]->Place(A);
    }
    for (int32_t Id = 1; Id <= MaxNetPilots; ++Id)
        if (!Present[Id] && Puppets[Id]) {
            Puppets[Id]->Leave();
            Puppets[Id] = nullptr;
        }
    EchoShots(S);
}

void tNetClient::EchoShots(const tNetSnapshot& S) {
    ShotsInPlay.reset();
    for (int32_t I = 0; I < S.ProjectileCount; ++I) ShotsInPlay.set(S.Projectiles[I].Id);
    // The echoes of shots the server has no more: it decided they hit.
    if (tWorld* World = Engine->World; World && World->Effects)
        for (int32_t I = 1; I <= World->Effects->GetTotalItems(); ++I) {
            tEffect* E = World->Effects->GetEffect(I);
            if (!E->DynamicCast(&tParticleProjectile::ClassInfo)) continue;
            auto* Shot = static_cast<tParticleProjectile*>(E);
            if (Shot->EchoOf && !ShotsInPlay.test(Shot->EchoOf)) Shot->EndEcho();
        }
    ShotsEchoed &= ShotsInPlay;
    for (int32_t I = 0; I < S.ProjectileCount; ++I) {
        const tNetProjectile& N = S.Projectiles[I];
        if (ShotsEchoed.test(N.Id)) continue;
        ShotsEchoed.set(N.Id);
        const int32_t Kind = N.F[tNetProjectile::Kind];
        const char* Class = ProjectileClasses[Kind >= 0 && Kind < int32_t(std::size(ProjectileClasses)) ? Kind : 0];
        const TVector3 At = {NetFloat(N.F[tNetProjectile::X]), NetFloat(N.F[tNetProjectile::Y]), NetFloat(N.F[tNetProjectile::Z])};
        const TVector3 Velocity = {NetFloat(N.F[tNetProjectile::VelocityX]), NetFloat(N.F[tNetProjectile::VelocityY]),
                                   NetFloat(N.F[tNetProjectile::VelocityZ])};
        tZObject* Made = Linker->InstantiateClassByName(Class, PositionText(At, Velocity));
        if (!Made || !Made->DynamicCast(&tParticleProjectile::ClassInfo)) continue;
        auto* Shot = static_cast<tParticleProjectile*>(Made);
        Shot->EchoOf = N.Id;
        Shot->Shooter = N.F[tNetProjectile::Owner];
        if (const char* Sound = tWeapon::FireSoundOf(Class)) Shot->SoundFired(Sound);
    }
}

void tNetClient::ConnectionEnded(const std::string& Reason) {
    LeaveServersMatch();
    TellStatus(ShortString(Reason), true);
    Warning->Log(ShortString(Reason));
    Logger->Log("Connection ended: " + ShortString(Reason));
    if (Engine->GUI && !Engine->GUI->ShowsWindow()) Console->SendCommand("ToggleMainMenu", true);
}

void tNetClient::TellStatus(const ShortString& Text, bool IsError) {
    if (IsError) Console->DisplayError(Text);
    else Console->Display(Text);
    Logger->Log("Join status: " + Text);
    if (EngineVars) EngineVars->SetVar(StatusVariable, Text);
}
