#pragma once
// The client's side of a connection to a server: it says hello, sends its
// input each update (numbered by its own update count; every packet repeats
// what the server has not acknowledged), reads the reliable events in order
// and keeps the snapshots it received, each read against the base the server
// named. A refused or lost connection, or a damaged message from the server,
// ends the session with the reason a player reads.

#include <cstdint>
#include <string>

#include "net/protocol/messages.h"
#include "net/protocol/snapshot.h"
#include "net/session/enetlibrary.h"
#include "net/session/fakelink.h"

struct _ENetHost;
struct _ENetPeer;

// What the game hears from the server.
class tClientListener {
public:
    virtual ~tClientListener() = default;
    virtual void Welcomed(const tServerWelcome& Welcome) = 0;
    // Any reliable event but the welcome.
    virtual void ServerEvent(const tServerMessage& Message) = 0;
    virtual void SnapshotArrived(const tNetSnapshot& Snapshot) = 0;
    // The session ended: why, as quoted to the player.
    virtual void ConnectionEnded(const std::string& Reason) = 0;
};

class tClientSession {
public:
    enum tState { Idle, Connecting, Joined };
    static constexpr uint32_t ConnectTimeoutMilliseconds = 5000;
    // Inputs leave every second update, two at least in each message: half
    // the packets' headers for 10 ms of delay.
    static constexpr int32_t UpdatesPerInputMessage = 2;

    tClientSession();
    ~tClientSession();

    // "host" or "host:port"; false with the reason when the address is no address.
    bool Connect(const std::string& HostPort, const tClientHello& Hello, tClientListener& Listener,
                 std::string& Error);
    // Leaves politely; the listener hears nothing more.
    void Disconnect();
    tState State() const { return CurrentState; }
    const std::string& Address() const { return AddressText; }

    void Service(uint32_t WaitMilliseconds = 0);
    // This update's input; sent with the ones not yet acknowledged.
    void SendInput(uint32_t Tick, const tNetInput& Input);
    void Say(const std::string& Text);
    void Rcon(const std::string& Password, const std::string& Line);
    int32_t PingMilliseconds() const;
    const tNetSnapshot* LatestSnapshot() const { return Snapshots.Find(LatestTick); }

    uint64_t BytesSent() const;
    uint64_t BytesReceived() const;

    // Lag in milliseconds and loss in percent added on purpose (0 0: none).
    void SetFakeLink(int32_t LagMilliseconds, int32_t LossPercent) { Link.Set(LagMilliseconds, LossPercent); }
    const tFakeLink& FakeLink() const { return Link; }

private:
    void Received(const uint8_t* Data, std::size_t Size);
    void End(const std::string& Reason);
    void SendReliable(std::size_t Size);
    // Sends now, or through the bad link while there is one.
    void Deliver(bool Reliable, std::size_t Size);
    // What the bad link held and is due now: sent, or read.
    void ReleaseHeld();
    void DropHost();

    tENetLibrary Library;
    _ENetHost* Host = nullptr;
    _ENetPeer* Peer = nullptr;
    tClientListener* Listener = nullptr;
    tState CurrentState = Idle;
    std::string AddressText;
    tClientHello HelloMessage;
    tSnapshotHistory Snapshots;
    uint32_t LatestTick = 0;
    uint32_t AckedInput = 0;
    tClientInput Pending;  // the inputs not yet acknowledged, oldest first
    int32_t UnsentInputs = 0;
    tServerMessage Message;
    tNetSnapshot Decoded;
    std::array<uint8_t, MaxClientMessageBytes> SendBuffer{};
    tFakeLink Link;
};

// Splits "host[:port]"; the port is the default when none is given. False
// for an empty host or a port that is no number in 1...65535.
bool SplitHostPort(const std::string& Text, std::string& Host, uint16_t& Port);
