#pragma once
// The server's side of the connections: ENet's host, one slot per client,
// every message checked before the game hears of it. A client first says
// hello (version and name) and is refused with its reason, or joins; from
// then on its inputs queue by tick, one taken per server update, and it gets
// snapshots written against the last one it acknowledged. A client that
// sends anything malformed, oversized, unknown or out of order, or more
// inputs than the updates allow, is disconnected with the reason in the log;
// no one else notices.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/protocol/messages.h"
#include "net/protocol/snapshot.h"
#include "net/session/enetlibrary.h"
#include "net/session/fakelink.h"

struct _ENetHost;
struct _ENetPeer;

// What the game hears from the server's connections.
class tServerListener {
public:
    virtual ~tServerListener() = default;
    virtual bool NameTaken(const std::string& Name) = 0;
    // Client (1...MaxClients) joined under Name (already unique). The game
    // sends it the welcome first: a client reads nothing before it.
    virtual void ClientJoined(int32_t Client, const std::string& Name, uint8_t Chassis, uint8_t Weapon) = 0;
    virtual void ClientLeft(int32_t Client) = 0;
    virtual void ClientSaid(int32_t Client, const std::string& Text) = 0;
    // A line the administrator sent with the right password.
    virtual void RconLine(int32_t Client, const std::string& Line) = 0;
    virtual void ServerLog(const std::string& Line) = 0;
};

class tServerSession {
public:
    struct tSettings {
        uint16_t Port = DefaultNetPort;
        bool LoopbackOnly = false;  // 127.0.0.1 only, as the tests want
        int32_t MaxClients = 8;
        std::string RconPassword;   // empty: no Rcon
    };
    // How many inputs a client may be ahead of the server's updates.
    static constexpr int32_t InputQueue = 64;
    // Inputs queued beyond the next to fly, at most: 100 ms at 100 updates a second.
    static constexpr uint32_t MaxInputBacklog = 10;
    // Over each window of this many milliseconds a client may send input
    // for at most half as many updates again as the clock allows (100 a
    // second), plus a queue's worth. Counted against the clock, not the
    // server's updates: a server that drops time after a stall must not
    // blame its clients.
    static constexpr uint32_t RateWindowMilliseconds = 2000;
    static constexpr int32_t UpdatesPerSecond = 100;
    // Seconds without an answer before a client counts as lost.
    static constexpr uint32_t TimeoutMilliseconds = 5000;

    tServerSession();
    ~tServerSession();

    // Binds the port; false with the reason when it cannot.
    bool Open(const tSettings& Settings, tServerListener& Listener, std::string& Error);
    // Every client is told the server closed and given a moment to hear it.
    void Close();
    bool IsOpen() const { return Host != nullptr; }
    uint16_t Port() const { return BoundPort; }

    // Takes in what arrived, waiting at most WaitMilliseconds for the first.
    void Service(uint32_t WaitMilliseconds = 0);
    // Once per server update: each joined client's next input (its last one
    // again when none is queued).
    void AdvanceUpdate();
    const tNetInput& Input(int32_t Client) const { return Clients[Client].Current; }
    uint32_t InputTick(int32_t Client) const { return Clients[Client].CurrentTick; }

    bool Joined(int32_t Client) const;
    std::vector<int32_t> JoinedClients() const;
    int32_t PingMilliseconds(int32_t Client) const;
    const std::string& Name(int32_t Client) const { return Clients[Client].Name; }

    void Send(int32_t Client, const uint8_t* Data, std::size_t Size);
    void SendToAll(const uint8_t* Data, std::size_t Size);
    // The snapshot as its change from the client's acknowledged one.
    void SendSnapshot(int32_t Client, const tNetSnapshot& Now);
    // Sends what was queued now rather than at the next Service.
    void Flush();
    void Kick(int32_t Client, tNetDisconnect Reason, const std::string& Why);

    // Bytes sent and received since the session opened.
    uint64_t BytesSent() const;
    uint64_t BytesReceived() const;

    // Lag in milliseconds and loss in percent added on purpose (0 0: none).
    void SetFakeLink(int32_t LagMilliseconds, int32_t LossPercent) { Link.Set(LagMilliseconds, LossPercent); }
    const tFakeLink& FakeLink() const { return Link; }

private:
    struct tClient {
        _ENetPeer* Peer = nullptr;
        bool Hello = false;  // joined: said hello and was accepted
        std::string Name;
        uint32_t AckedSnapshot = 0;
        // Inputs by tick, a ring; NewestTick is the last queued, NextTick the next to take.
        std::array<tNetInput, InputQueue> Queue{};
        std::array<uint32_t, InputQueue> QueuedTick{};
        uint32_t NewestTick = 0, NextTick = 0;
        int32_t TicksThisWindow = 0;  // new input ticks since the rate window began
        tNetInput Current;
        uint32_t CurrentTick = 0;
        std::unique_ptr<tSnapshotHistory> Sent;
    };

    void Received(int32_t Client, const uint8_t* Data, std::size_t Size);
    void SayHello(int32_t Client, const tClientHello& Hello);
    void QueueInputs(int32_t Client, const tClientInput& In);
    void Dropped(int32_t Client);
    // Sends now, or through the bad link while there is one.
    void Deliver(_ENetPeer* Peer, bool Reliable, const uint8_t* Data, std::size_t Size);
    // What the bad link held and is due now: sent, or read.
    void ReleaseHeld();
    // The joined or joining client of that peer; 0 for none.
    int32_t ClientOf(const _ENetPeer* Peer) const;
    std::string Describe(int32_t Client) const;

    tENetLibrary Library;
    _ENetHost* Host = nullptr;
    uint16_t BoundPort = 0;
    tSettings Settings;
    tServerListener* Listener = nullptr;
    std::vector<tClient> Clients;  // [0] unused: clients are numbered from 1
    uint32_t WindowStart = 0;  // ENet's clock, in milliseconds
    tClientMessage Message;        // kept, so reading inputs allocates nothing
    std::array<uint8_t, MaxServerMessageBytes> SendBuffer{};
    tNetSnapshot NoSnapshot;
    tFakeLink Link;
};
