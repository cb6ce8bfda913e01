#pragma once
// Joining another machine's match: "Connect host[:port]" and "Disconnect";
// "JoinTyped" connects to the address in the "JoinAddress" variable.
// While connected this machine flies nothing itself: its computer pilots go
// home and its own aircraft leaves; every update it sends the flight keys
// and the pointer to the server, draws each aircraft where the latest
// snapshot puts it (the camera behind its own), digs every crater the
// server reports through the terrain's own Impact, and shows the kill
// feed's lines. A refused or lost connection is told on the console with
// its reason and opens the main menu; the game goes on. Each address joined
// is remembered for the menu's multiplayer page, and how the latest join
// goes is told in the "JoinStatus" variable that page shows.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "net/client/recentservers.h"
#include "net/session/clientsession.h"

class tNetAutopilot;
class tNetPuppet;

class tNetClient : public tSubSystem, public tClientListener {
    Z_DECLARE_CLASS(tNetClient, tSubSystem)
public:
    tNetClient();
    ~tNetClient() override;
    void PostInit();

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override;

    // False with a console error when the address is no address.
    bool Connect(const std::string& HostPort);
    void Disconnect();
    bool Connected() const { return Session.State() != tClientSession::Idle; }
    void Say(const std::string& Text) { Session.Say(Text); }
    int32_t OwnPilot() const { return Pilot; }
    // The puppet drawn for a pilot, if any.
    const tNetPuppet* PuppetOf(int32_t PilotNumber) const;
    // A puppet leaving the world, for whatever reason.
    void PuppetGone(const tNetPuppet* Puppet) {
        for (tNetPuppet*& P : Puppets)
            if (P == Puppet) P = nullptr;
    }
    const tRecentServers& RecentServers() const { return Recent; }
    tClientSession& Connection() { return Session; }

    // tClientListener
    void Welcomed(const tServerWelcome& Welcome) override;
    void ServerEvent(const tServerMessage& Message) override;
    void SnapshotArrived(const tNetSnapshot& Snapshot) override;
    void ConnectionEnded(const std::string& Reason) override;

private:
    void ConnectC(const ShortString& Args);
    void DisconnectC(const ShortString& Args);
    void RconC(const ShortString& Args);
    void JoinTypedC(const ShortString& Args);
    void ClearPuppets();
    // The server's weather, when it names a weather class of this game, and
    // its sky's time.
    void TakeWeather(const std::string& Class, int32_t Hour, float SkyTime);
    // The scoreboard as the server tells it, in this machine's match.
    void TakePilot(const tServerMessage& Message);
    // The shots of the snapshot drawn here: new ones start, and those the
    // server no longer has end where they are.
    void EchoShots(const tNetSnapshot& Snapshot);
    // Back to this machine's own match once the connection is over.
    void LeaveServersMatch();
    void FollowOwnAircraft();
    // On the console and in the "JoinStatus" variable.
    void TellStatus(const ShortString& Text, bool IsError);

    tClientSession Session;
    tRecentServers Recent;
    int32_t Pilot = 0;
    uint32_t InputTick = 0;
    std::array<tNetPuppet*, MaxNetPilots + 1> Puppets{};
    std::array<std::string, MaxNetPilots + 1> Names{};
    // The server's shots by number: in the latest snapshot, and drawn here.
    std::bitset<65536> ShotsInPlay, ShotsEchoed;
    // Flies in place of the mouse and keys ("--autopilot").
    std::unique_ptr<tNetAutopilot> Autopilot;
    tCommandBindings Commands;  // declared last: its commands go first
};

extern tNetClient* NetClient;
