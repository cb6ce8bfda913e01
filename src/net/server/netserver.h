#pragma once
// The networked match's server: "Host [port]" opens the match on this
// machine to others (its own player stays pilot 1). Each client that joins
// becomes a remote pilot of the match, flown on this machine from the
// inputs it sends; computer pilots make room for it. The server alone
// decides: every update it takes each client's next input, and at
// SnapshotRate it sends every client the aircraft and shots in play; what
// must arrive (pilots coming and going, scores, kill-feed lines, chat,
// craters) goes reliably, as it happens.
//
// Console: "Host [port]", "StopHosting", "Say text", "Pilots" (each pilot
// with its position), "PlacePilot pilot x y z [heading]"; the variables
// SnapshotRate, MaxClients, ServerName, ServerPort and RconPassword.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/match.h"
#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"
#include "net/session/serversession.h"

class tNetServer : public tSubSystem, public tServerListener {
    Z_DECLARE_CLASS(tNetServer, tSubSystem)
public:
    static constexpr int32_t UpdatesPerSecond = 100;
    // The craters a newcomer is sent, the oldest first; past this many the
    // oldest are forgotten (their ground stays as the newer ones left it).
    static constexpr std::size_t KeptCraters = 4096;

    tNetServer();
    ~tNetServer() override;
    void PostInit();

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override {}

    // Opens the match on Port (0: one the system picks); false with a
    // console error when it cannot.
    bool Host(uint16_t Port, bool LoopbackOnly = false);
    void StopHosting();
    bool Hosting() const { return Session.IsOpen(); }
    uint16_t Port() const { return Session.Port(); }
    tServerSession& Connections() { return Session; }
    // The snapshot sent last.
    const tNetSnapshot& LastSnapshot() const { return *Snapshot; }

    // Console variables.
    int32_t SnapshotRate = 20;
    int32_t MaxClients = 8;
    int32_t ServerPort = DefaultNetPort;
    ShortString ServerName = "Halvardine";
    ShortString RconPassword;

    // tServerListener
    bool NameTaken(const std::string& Name) override;
    void ClientJoined(int32_t Client, const std::string& Name, uint8_t Chassis, uint8_t Weapon) override;
    void ClientLeft(int32_t Client) override;
    void ClientSaid(int32_t Client, const std::string& Text) override;
    void RconLine(int32_t Client, const std::string& Line) override;
    void ServerLog(const std::string& Line) override;

private:
    struct tTold {  // what the clients were told of a pilot
        bool InUse = false;
        ShortString Name;
        int32_t Score = 0, Kills = 0, Deaths = 0, Credits = 0;
    };

    void HostC(const ShortString& Args);
    void StopHostingC(const ShortString& Args);
    void SayC(const ShortString& Args);
    // Whose name this machine's chat goes under.
    ShortString Speaker() const;
    void PilotsC(const ShortString& Args);
    void PlacePilotC(const ShortString& Args);
    // "GroundHeight x y": the terrain's height there, as one line on standard
    // output, to compare the ground of the server and of its clients.
    void GroundHeightC(const ShortString& Args);
    void TellChanges();
    void TellPilot(int32_t Client, int32_t Pilot);
    void BuildSnapshot();
    void SendPings();
    // The weather over the world now: its class, hour and the sky's time;
    // false with none.
    static bool CurrentWeather(ShortString& Class, int32_t& Hour, float& SkyTime);
    void TellWeather();
    void SendToAll(std::size_t Size) { Session.SendToAll(Buffer.data(), Size); }
    static void CraterDug(const TVector3& Position, float Radius);

    tServerSession Session;
    std::array<int32_t, MaxNetPilots + 1> PilotOfClient{};
    std::array<tTold, tMatch::MaxPilots + 1> Told{};
    uint32_t FeedTold = 0;
    ShortString WeatherTold;
    int32_t WeatherHourTold = -1;
    float SkyTimeTold = -1;
    uint32_t EndsTold = 0;  // matches ended
    uint32_t Updates = 0;
    std::unique_ptr<tNetSnapshot> Snapshot = std::make_unique<tNetSnapshot>();
    std::array<uint8_t, MaxServerMessageBytes> Buffer{};
    std::vector<tServerPoint> Craters;  // dug since hosting began, a ring of KeptCraters
    std::size_t OldestCrater = 0;
    float MatchTimeSeen = 0;
    tFieldBindings BoundFields;
    tCommandBindings Commands;  // declared last: its commands go first
};

// The server object, made at start-up.
extern tNetServer* NetServer;
