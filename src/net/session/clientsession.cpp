#include "net/session/clientsession.h"

#include <enet/enet.h>

#include <algorithm>
#include <charconv>

#include "net/session/sendmessage.h"

bool SplitHostPort(const std::string& Text, std::string& Host, uint16_t& Port) {
    const auto Colon = Text.rfind(':');
    Host = Text.substr(0, Colon);
    Port = DefaultNetPort;
    if (Colon != std::string::npos) {
        const char* First = Text.data() + Colon + 1;
        const char* Last = Text.data() + Text.size();
        unsigned Value = 0;
        const auto [End, Error] = std::from_chars(First, Last, Value);
        if (Error != std::errc() || End != Last || First == Last || Value == 0 || Value > 65535) return false;
        Port = static_cast<uint16_t>(Value);
    }
    return !Host.empty();
}

tClientSession::tClientSession() = default;

tClientSession::~tClientSession() { Disconnect(); }

bool tClientSession::Connect(const std::string& HostPort, const tClientHello& Hello, tClientListener& NewListener,
                             std::string& Error) {
    Disconnect();
    std::string HostName;
    uint16_t Port = 0;
    ENetAddress Address{};
    if (!SplitHostPort(HostPort, HostName, Port) || !Library.Ok() ||
        enet_address_set_host(&Address, HostName.c_str()) != 0) {
        Error = "no such address: " + HostPort;
        return false;
    }
    Address.port = Port;
    Host = enet_host_create(nullptr, 1, NetChannelCount, 0, 0);
    if (Host) Peer = enet_host_connect(Host, &Address, NetChannelCount, 0);
    if (!Peer) {
        Error = "cannot open a connection";
        Disconnect();
        return false;
    }
    enet_peer_timeout(Peer, 0, ConnectTimeoutMilliseconds, ConnectTimeoutMilliseconds);
    Listener = &NewListener;
    HelloMessage = Hello;
    AddressText = HostName + ":" + std::to_string(Port);
    CurrentState = Connecting;
    Snapshots.Clear();
    LatestTick = AckedInput = 0;
    Pending.Count = UnsentInputs = 0;
    return true;
}

void tClientSession::Disconnect() {
    if (Peer && CurrentState != Idle) {
        enet_peer_disconnect(Peer, DisconnectWord(DisconnectLeft));
        enet_host_flush(Host);
    }
    DropHost();
}

void tClientSession::DropHost() {
    if (Host) enet_host_destroy(Host);
    Host = nullptr;
    Peer = nullptr;
    CurrentState = Idle;
    Link.Outgoing.Clear();
    Link.Incoming.Clear();
}

void tClientSession::End(const std::string& Reason) {
    tClientListener* Told = Listener;
    DropHost();
    if (Told) Told->ConnectionEnded(Reason);
}

void tClientSession::Service(uint32_t WaitMilliseconds) {
    ReleaseHeld();
    ENetEvent Event;
    while (Host) {
        const int Result = enet_host_service(Host, &Event, WaitMilliseconds);
        WaitMilliseconds = 0;
        if (Result <= 0) return;
        switch (Event.type) {
        case ENET_EVENT_TYPE_CONNECT:
            SendReliable(WriteClientHello(SendBuffer.data(), SendBuffer.size(), HelloMessage));
            break;
        case ENET_EVENT_TYPE_RECEIVE:
            if (Link.PassesNow(Link.Incoming, enet_time_get(), 0, (Event.packet->flags & ENET_PACKET_FLAG_RELIABLE) != 0,
                               Event.packet->data, Event.packet->dataLength))
                Received(Event.packet->data, Event.packet->dataLength);
            enet_packet_destroy(Event.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            // No word at all while connecting: nobody answered.
            if (CurrentState == Connecting && Event.data == 0) End("no answer from " + AddressText);
            else End(DisconnectText(Event.data, HelloMessage.Version));
            return;
        default: break;
        }
    }
}

void tClientSession::Received(const uint8_t* Data, std::size_t Size) {
    const tServerMessageType Type = ReadServerMessageType(Data, Size);
    bool Ok = false;
    // Snapshots are unreliable and the welcome reliable: on a real link
    // one sent after the welcome may arrive before it. Nothing to read it
    // against yet, and the next one will do.
    if (Type == ServerSnapshot && CurrentState == Connecting) return;
    if (Type == ServerSnapshot && CurrentState == Joined) {
        const uint32_t BaseTick = ServerSnapshotBase(Data, Size);
        const tNetSnapshot* Base = BaseTick ? Snapshots.Find(BaseTick) : nullptr;
        static const tNetSnapshot Empty;
        // A snapshot against a base no longer kept is skipped: the next one
        // is written against what this client acknowledged.
        if (BaseTick && !Base) return;
        uint32_t Acked = 0;
        Ok = ReadServerSnapshot(Data, Size, Base ? *Base : Empty, Decoded, Acked);
        if (Ok && Decoded.Tick > LatestTick) {
            Snapshots.Slot(Decoded.Tick) = Decoded;
            LatestTick = Decoded.Tick;
            AckedInput = std::max(AckedInput, Acked);
            Listener->SnapshotArrived(Decoded);
        }
    } else if (ReadServerMessage(Data, Size, Message)) {
        Ok = (Message.Type == ServerWelcome) == (CurrentState == Connecting);
        if (Ok && Message.Type == ServerWelcome) {
            CurrentState = Joined;
            Listener->Welcomed(Message.Welcome);
        } else if (Ok) {
            Listener->ServerEvent(Message);
        }
    }
    if (!Ok && Host) {
        enet_peer_disconnect(Peer, DisconnectWord(DisconnectMalformed));
        enet_host_flush(Host);
        End("damaged message from the server (type " + std::to_string(Size ? Data[0] : 0) + ", " +
            std::to_string(Size) + " bytes)");
    }
}

void tClientSession::SendInput(uint32_t Tick, const tNetInput& Input) {
    if (CurrentState != Joined) return;
    // Drop what the server has; keep at most a message's worth, the newest.
    int32_t Drop = 0;
    while (Drop < Pending.Count && Pending.FirstTick + uint32_t(Drop) <= AckedInput) ++Drop;
    if (Pending.Count - Drop == MaxInputsPerMessage) ++Drop;
    std::copy(Pending.Inputs.begin() + Drop, Pending.Inputs.begin() + Pending.Count, Pending.Inputs.begin());
    Pending.Count -= Drop;
    Pending.FirstTick = Pending.Count ? Pending.FirstTick + uint32_t(Drop) : Tick;
    // Updates are numbered one after another; a gap starts the list afresh.
    if (Pending.Count && Pending.FirstTick + uint32_t(Pending.Count) != Tick) {
        Pending.Count = 0;
        Pending.FirstTick = Tick;
    }
    Pending.Inputs[Pending.Count++] = Input;
    Pending.AckedSnapshot = LatestTick;
    if (++UnsentInputs < UpdatesPerInputMessage) return;
    UnsentInputs = 0;
    if (const std::size_t Size = WriteClientInput(SendBuffer.data(), SendBuffer.size(), Pending)) Deliver(false, Size);
}

void tClientSession::SendReliable(std::size_t Size) {
    if (Peer && Size) Deliver(true, Size);
}

void tClientSession::Deliver(bool Reliable, std::size_t Size) {
    if (Link.PassesNow(Link.Outgoing, enet_time_get(), 0, Reliable, SendBuffer.data(), Size))
        SendMessage(Peer, Reliable, SendBuffer.data(), Size);
}

void tClientSession::ReleaseHeld() {
    const uint32_t Now = enet_time_get();
    while (const tHeldMessages::tMessage* M = Link.Outgoing.Front()) {
        if (!Link.IsDue(*M, Now)) break;
        SendMessage(Peer, M->Reliable, Link.Outgoing.DataOf(*M), M->Size);
        Link.Outgoing.Pop();
    }
    while (const tHeldMessages::tMessage* M = Link.Incoming.Front()) {
        if (!Link.IsDue(*M, Now)) break;
        // A damaged message ends the session, and the held ones with it.
        Received(Link.Incoming.DataOf(*M), M->Size);
        if (!Host) return;
        Link.Incoming.Pop();
    }
}

void tClientSession::Say(const std::string& Text) {
    if (CurrentState == Joined) SendReliable(WriteClientSay(SendBuffer.data(), SendBuffer.size(), Text));
}

void tClientSession::Rcon(const std::string& Password, const std::string& Line) {
    if (CurrentState == Joined) SendReliable(WriteClientRcon(SendBuffer.data(), SendBuffer.size(), Password, Line));
}

// The bad link made on purpose holds messages both ways, where ENet's round trip does not see it.
int32_t tClientSession::PingMilliseconds() const {
    return Peer ? static_cast<int32_t>(Peer->roundTripTime) + 2 * Link.LagMilliseconds() : 0;
}
uint64_t tClientSession::BytesSent() const { return Host ? Host->totalSentData : 0; }
uint64_t tClientSession::BytesReceived() const { return Host ? Host->totalReceivedData : 0; }
