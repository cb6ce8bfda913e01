#include "net/session/serversession.h"

#include <enet/enet.h>

#include <algorithm>
#include <utility>

#include "net/protocol/pilotnames.h"
#include "net/session/sendmessage.h"

namespace {

constexpr uint32_t CloseGraceMilliseconds = 300;

int32_t SlotOf(const ENetPeer* Peer) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(Peer->data)); }

std::string AddressText(const ENetAddress& A) {
    char Host[64] = "?";
    enet_address_get_host_ip(&A, Host, sizeof Host);
    return std::string(Host) + ":" + std::to_string(A.port);
}

}  // namespace

tServerSession::tServerSession() = default;

tServerSession::~tServerSession() { Close(); }

bool tServerSession::Open(const tSettings& NewSettings, tServerListener& NewListener, std::string& Error) {
    Close();
    if (!Library.Ok()) {
        Error = "the network library did not start";
        return false;
    }
    Settings = NewSettings;
    Listener = &NewListener;
    ENetAddress Address{};
    Address.host = ENET_HOST_ANY;
    if (Settings.LoopbackOnly) enet_address_set_host_ip(&Address, "127.0.0.1");
    Address.port = Settings.Port;
    // One peer more than clients, so a client too many hears "server full".
    Host = enet_host_create(&Address, static_cast<size_t>(Settings.MaxClients) + 1, NetChannelCount, 0, 0);
    if (!Host) {
        Error = "cannot listen on port " + std::to_string(Settings.Port);
        return false;
    }
    ENetAddress Bound{};
    BoundPort = enet_socket_get_address(Host->socket, &Bound) == 0 ? Bound.port : Settings.Port;
    Clients.clear();
    Clients.resize(static_cast<std::size_t>(Settings.MaxClients) + 1);
    WindowStart = enet_time_get();
    for (tClient& C : Clients) C.Sent = std::make_unique<tSnapshotHistory>();
    return true;
}

void tServerSession::Close() {
    if (!Host) return;
    // The game is told nothing: it is closing the match itself.
    for (tClient& C : Clients)
        if (C.Peer) {
            C.Peer->data = nullptr;
            enet_peer_disconnect(C.Peer, DisconnectWord(DisconnectServerClosed));
        }
    // A moment for the farewells to leave.
    ENetEvent Event;
    const enet_uint32 Start = enet_time_get();
    while (enet_time_get() - Start < CloseGraceMilliseconds && enet_host_service(Host, &Event, 10) >= 0)
        if (Event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(Event.packet);
    enet_host_destroy(Host);
    Host = nullptr;
    Clients.clear();
    Link.Outgoing.Clear();
    Link.Incoming.Clear();
}

void tServerSession::Service(uint32_t WaitMilliseconds) {
    if (!Host) return;
    ReleaseHeld();
    ENetEvent Event;
    for (int Result = enet_host_service(Host, &Event, WaitMilliseconds); Result > 0;
         Result = enet_host_service(Host, &Event, 0)) {
        switch (Event.type) {
        case ENET_EVENT_TYPE_CONNECT: {
            int32_t Free = 1;
            while (Free < int32_t(Clients.size()) && Clients[Free].Peer) ++Free;
            if (Free == int32_t(Clients.size())) {
                Listener->ServerLog("Refused " + AddressText(Event.peer->address) + ": server full");
                Event.peer->data = nullptr;
                enet_peer_disconnect(Event.peer, DisconnectWord(DisconnectServerFull));
                break;
            }
            tClient& C = Clients[Free];
            C.Peer = Event.peer;
            C.Hello = false;
            C.AckedSnapshot = C.NewestTick = C.NextTick = C.CurrentTick = 0;
            C.TicksThisWindow = 0;
            C.QueuedTick = {};
            C.Current = {};
            C.Sent->Clear();
            Event.peer->data = reinterpret_cast<void*>(intptr_t(Free));
            enet_peer_timeout(Event.peer, 0, TimeoutMilliseconds, TimeoutMilliseconds);
            break;
        }
        case ENET_EVENT_TYPE_RECEIVE:
            if (const int32_t Slot = ClientOf(Event.peer);
                Slot > 0 && Link.PassesNow(Link.Incoming, enet_time_get(), uintptr_t(Event.peer),
                                           (Event.packet->flags & ENET_PACKET_FLAG_RELIABLE) != 0, Event.packet->data,
                                           Event.packet->dataLength))
                Received(Slot, Event.packet->data, Event.packet->dataLength);
            enet_packet_destroy(Event.packet);
            break;
        case ENET_EVENT_TYPE_DISCONNECT:
            if (const int32_t Slot = ClientOf(Event.peer); Slot > 0) {
                Listener->ServerLog(Describe(Slot) + " left");
                Dropped(Slot);
            }
            Event.peer->data = nullptr;
            break;
        default: break;
        }
        if (!Host) return;
    }
}

void tServerSession::Received(int32_t Client, const uint8_t* Data, std::size_t Size) {
    if (!ReadClientMessage(Data, Size, Message)) {
        Kick(Client, DisconnectMalformed,
             "malformed message (" + std::to_string(Size) + " bytes, type " + std::to_string(Size ? Data[0] : 0) + ")");
        return;
    }
    tClient& C = Clients[Client];
    if ((Message.Type == ClientHello) == C.Hello) {
        Kick(Client, DisconnectMalformed, C.Hello ? "said hello twice" : "sent a message before hello");
        return;
    }
    switch (Message.Type) {
    case ClientHello: SayHello(Client, Message.Hello); break;
    case ClientInput: QueueInputs(Client, Message.Input); break;
    case ClientSay: Listener->ClientSaid(Client, Message.Text); break;
    case ClientRcon:
        if (Settings.RconPassword.empty() || Message.Password != Settings.RconPassword)
            Listener->ServerLog(Describe(Client) + ": Rcon refused");
        else
            Listener->RconLine(Client, Message.Text);
        break;
    default: break;
    }
}

void tServerSession::SayHello(int32_t Client, const tClientHello& Hello) {
    if (Hello.Version != NetProtocolVersion) {
        Kick(Client, DisconnectWrongVersion, "wrong version " + std::to_string(Hello.Version));
        return;
    }
    const std::string Accepted = AcceptedPilotName(Hello.Name);
    if (Accepted.empty()) {
        Kick(Client, DisconnectNameRefused, "name refused");
        return;
    }
    tClient& C = Clients[Client];
    C.Name = UniquePilotName(Accepted, [this](const std::string& N) {
        for (const tClient& O : Clients)
            if (O.Hello && O.Name == N) return true;
        return Listener->NameTaken(N);
    });
    C.Hello = true;
    Listener->ServerLog(Describe(Client) + " joined");
    Listener->ClientJoined(Client, C.Name, Hello.Chassis, Hello.Weapon);
}

void tServerSession::QueueInputs(int32_t Client, const tClientInput& In) {
    tClient& C = Clients[Client];
    C.AckedSnapshot = std::max(C.AckedSnapshot, In.AckedSnapshot);
    if (C.NextTick == 0) C.NextTick = In.FirstTick;
    for (int32_t I = 0; I < In.Count; ++I) {
        const uint32_t Tick = In.FirstTick + uint32_t(I);
        const std::size_t Slot = Tick % InputQueue;
        // Inputs for updates already flown, and repeats, are dropped.
        if (Tick < C.NextTick || C.QueuedTick[Slot] == Tick) continue;
        // Far ahead (the server lost time): the oldest inputs give way.
        if (Tick >= C.NextTick + InputQueue) C.NextTick = Tick - InputQueue / 2;
        C.Queue[Slot] = In.Inputs[I];
        C.QueuedTick[Slot] = Tick;
        C.NewestTick = std::max(C.NewestTick, Tick);
        ++C.TicksThisWindow;
    }
}

void tServerSession::AdvanceUpdate() {
    const uint32_t Now = enet_time_get(), Elapsed = Now - WindowStart;
    const bool WindowEnds = Elapsed >= RateWindowMilliseconds;
    if (WindowEnds) WindowStart = Now;
    const int32_t Allowed = int32_t(Elapsed * UpdatesPerSecond / 1000) * 3 / 2 + InputQueue;
    for (int32_t I = 1; I < int32_t(Clients.size()); ++I) {
        tClient& C = Clients[I];
        if (!C.Hello) continue;
        if (WindowEnds) {
            const int32_t Ticks = std::exchange(C.TicksThisWindow, 0);
            if (Ticks > Allowed) {
                Kick(I, DisconnectTooFast, "inputs faster than the server's updates (" + std::to_string(Ticks) +
                                               " in " + std::to_string(Elapsed) + " ms)");
                continue;
            }
        }
        if (C.NextTick == 0) continue;
        // A client that ran ahead (a burst after a stall) would be flown that
        // much late for good: what lies beyond the backlog is skipped.
        if (C.NewestTick > C.NextTick + MaxInputBacklog) C.NextTick = C.NewestTick - MaxInputBacklog;
        if (const std::size_t Slot = C.NextTick % InputQueue; C.QueuedTick[Slot] == C.NextTick) {
            C.Current = C.Queue[Slot];
            C.CurrentTick = C.NextTick++;
        } else if (C.NewestTick > C.NextTick) {
            // Lost on the way (a later one came): the last one holds for it.
            ++C.NextTick;
        }
        // Otherwise it has not come yet: the last one holds and the server
        // waits for it. Counting on past it would leave a client that fell
        // behind (stalled while joining, say) behind for good, every input
        // of its too late and never acknowledged.
    }
}

bool tServerSession::Joined(int32_t Client) const {
    return Client > 0 && Client < int32_t(Clients.size()) && Clients[Client].Hello;
}

std::vector<int32_t> tServerSession::JoinedClients() const {
    std::vector<int32_t> List;
    for (int32_t I = 1; I < int32_t(Clients.size()); ++I)
        if (Clients[I].Hello) List.push_back(I);
    return List;
}

int32_t tServerSession::PingMilliseconds(int32_t Client) const {
    // The bad link made on purpose holds messages both ways, where ENet's round trip does not see it.
    return Joined(Client) ? static_cast<int32_t>(Clients[Client].Peer->roundTripTime) + 2 * Link.LagMilliseconds() : 0;
}

void tServerSession::Send(int32_t Client, const uint8_t* Data, std::size_t Size) {
    if (!Joined(Client) || Size == 0) return;
    Deliver(Clients[Client].Peer, true, Data, Size);
}

void tServerSession::SendToAll(const uint8_t* Data, std::size_t Size) {
    for (int32_t I = 1; I < int32_t(Clients.size()); ++I) Send(I, Data, Size);
}

void tServerSession::SendSnapshot(int32_t Client, const tNetSnapshot& Now) {
    if (!Joined(Client)) return;
    tClient& C = Clients[Client];
    const tNetSnapshot* Base = C.Sent->Find(C.AckedSnapshot);
    const std::size_t Size =
        WriteServerSnapshot(SendBuffer.data(), SendBuffer.size(), Now, Base ? *Base : NoSnapshot, C.NewestTick);
    if (Size == 0) return;
    C.Sent->Slot(Now.Tick) = Now;
    Deliver(C.Peer, false, SendBuffer.data(), Size);
}

void tServerSession::Deliver(ENetPeer* Peer, bool Reliable, const uint8_t* Data, std::size_t Size) {
    if (Link.PassesNow(Link.Outgoing, enet_time_get(), uintptr_t(Peer), Reliable, Data, Size))
        SendMessage(Peer, Reliable, Data, Size);
}

void tServerSession::ReleaseHeld() {
    const uint32_t Now = enet_time_get();
    while (const tHeldMessages::tMessage* M = Link.Outgoing.Front()) {
        if (!Link.IsDue(*M, Now)) break;
        auto* Peer = reinterpret_cast<ENetPeer*>(M->Peer);
        // The client may have gone meanwhile.
        if (ClientOf(Peer) > 0) SendMessage(Peer, M->Reliable, Link.Outgoing.DataOf(*M), M->Size);
        Link.Outgoing.Pop();
    }
    while (const tHeldMessages::tMessage* M = Link.Incoming.Front()) {
        if (!Link.IsDue(*M, Now)) break;
        if (const int32_t Slot = ClientOf(reinterpret_cast<ENetPeer*>(M->Peer)); Slot > 0)
            Received(Slot, Link.Incoming.DataOf(*M), M->Size);
        Link.Incoming.Pop();
        if (!Host) return;
    }
}

int32_t tServerSession::ClientOf(const ENetPeer* Peer) const {
    const int32_t Slot = SlotOf(Peer);
    return Slot > 0 && Slot < int32_t(Clients.size()) && Clients[Slot].Peer == Peer ? Slot : 0;
}

void tServerSession::Flush() {
    if (!Host) return;
    ReleaseHeld();
    enet_host_flush(Host);
}

void tServerSession::Kick(int32_t Client, tNetDisconnect Reason, const std::string& Why) {
    tClient& C = Clients[Client];
    if (!C.Peer) return;
    if (!Why.empty()) Listener->ServerLog(Describe(Client) + " disconnected: " + Why);
    C.Peer->data = nullptr;
    enet_peer_disconnect(C.Peer, DisconnectWord(Reason));
    Dropped(Client);
}

void tServerSession::Dropped(int32_t Client) {
    tClient& C = Clients[Client];
    const bool WasJoined = C.Hello;
    C.Peer = nullptr;
    C.Hello = false;
    if (WasJoined) Listener->ClientLeft(Client);
    C.Name.clear();
}

std::string tServerSession::Describe(int32_t Client) const {
    const tClient& C = Clients[Client];
    std::string Text = "client " + std::to_string(Client);
    if (C.Peer) Text += " (" + AddressText(C.Peer->address) + ")";
    if (!C.Name.empty()) Text += " " + C.Name;
    return Text;
}

uint64_t tServerSession::BytesSent() const { return Host ? Host->totalSentData : 0; }
uint64_t tServerSession::BytesReceived() const { return Host ? Host->totalReceivedData : 0; }
