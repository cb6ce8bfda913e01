// Server and client sessions over ENet on 127.0.0.1 (a port the system
// picks, so tests running side by side never meet): joining, inputs by
// tick, snapshots against acknowledged bases, chat and Rcon, refusals with
// their reasons, and a raw peer's malformed packet.

#include <enet/enet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

#include "net/session/clientsession.h"
#include "net/session/serversession.h"

namespace {

struct tServerSide : tServerListener {
    std::vector<std::string> Log, Said, Rcon;
    std::vector<int32_t> Left;
    tServerSession Session;  // last: closed first
    bool SnapshotBeforeWelcome = false;  // as a link that reorders delivers them
    bool NameTaken(const std::string& Name) override { return Name == "Bot 1"; }
    void ClientJoined(int32_t Client, const std::string&, uint8_t, uint8_t) override {
        if (SnapshotBeforeWelcome) {
            tNetSnapshot S;
            S.Tick = 1;
            Session.SendSnapshot(Client, S);
            Session.Flush();
        }
        tServerWelcome W;
        W.Pilot = static_cast<uint8_t>(Client);
        W.Level = "tLevel";
        uint8_t B[256];
        Session.Send(Client, B, WriteServerWelcome(B, sizeof B, W));
    }
    void ClientLeft(int32_t Client) override { Left.push_back(Client); }
    void ClientSaid(int32_t, const std::string& Text) override { Said.push_back(Text); }
    void RconLine(int32_t, const std::string& Line) override { Rcon.push_back(Line); }
    void ServerLog(const std::string& Line) override { Log.push_back(Line); }
};

struct tClientSide : tClientListener {
    std::optional<tServerWelcome> Welcome;
    std::vector<tServerMessage> Events;
    int32_t Snapshots = 0;
    tNetSnapshot Last;
    std::string Ended;
    tClientSession Session;
    void Welcomed(const tServerWelcome& W) override { Welcome = W; }
    void ServerEvent(const tServerMessage& M) override { Events.push_back(M); }
    void SnapshotArrived(const tNetSnapshot& S) override { ++Snapshots, Last = S; }
    void ConnectionEnded(const std::string& Reason) override { Ended = Reason; }
    void Join(uint16_t Port, const std::string& Name, uint16_t Version = NetProtocolVersion) {
        std::string Error;
        ASSERT_TRUE(Session.Connect("127.0.0.1:" + std::to_string(Port), {Version, Name, 0, 0}, *this, Error)) << Error;
    }
};

class NetSession : public ::testing::Test {
protected:
    void SetUp() override {
        std::string Error;
        ASSERT_TRUE(Server.Session.Open({0, true, 2, "secret"}, Server, Error)) << Error;
    }
    // Services everyone until Done holds; at most two seconds.
    bool PumpUntil(const std::function<bool()>& Done) {
        for (int I = 0; I < 400; ++I) {
            Server.Session.Service(1);
            for (tClientSide* C : Clients) C->Session.Service(0);
            if (Done()) return true;
        }
        return false;
    }
    // A few rounds, for what is on its way.
    void Pump() {
        for (int I = 0; I < 10; ++I) {
            Server.Session.Service(1);
            for (tClientSide* C : Clients) C->Session.Service(0);
        }
    }
    uint16_t Port() const { return Server.Session.Port(); }

    tServerSide Server;
    tClientSide A, B, C;
    std::vector<tClientSide*> Clients = {&A, &B, &C};
};

}  // namespace

TEST_F(NetSession, JoinInputsSnapshotsChatAndRcon) {
    A.Join(Port(), "Ace");
    B.Join(Port(), "  Ace ");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome && B.Welcome; }));
    EXPECT_EQ(Server.Session.Name(A.Welcome->Pilot), "Ace");
    EXPECT_EQ(Server.Session.Name(B.Welcome->Pilot), "Ace (2)");
    const int32_t Pilot = A.Welcome->Pilot;

    // Inputs numbered from 500 reach the server in order, one per update.
    for (uint32_t Tick = 500; Tick < 506; ++Tick) A.Session.SendInput(Tick, {uint16_t(Tick - 499), 0, int16_t(Tick)});
    Pump();
    for (uint32_t Tick = 500; Tick < 506; ++Tick) {
        Server.Session.AdvanceUpdate();
        EXPECT_EQ(Server.Session.InputTick(Pilot), Tick);
        EXPECT_EQ(Server.Session.Input(Pilot).Controls, Tick - 499);
    }
    // No input for an update: the last one holds.
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.Input(Pilot).Controls, 6);
    // A client fallen behind the server's updates (after a stall) is not
    // ignored from then on: its next inputs are taken in turn.
    for (int I = 0; I < 20; ++I) Server.Session.AdvanceUpdate();
    A.Session.SendInput(506, {7, 0, 0});
    A.Session.SendInput(507, {8, 0, 0});
    Pump();
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.InputTick(Pilot), 506u);
    EXPECT_EQ(Server.Session.Input(Pilot).Controls, 7);
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.InputTick(Pilot), 507u);
    EXPECT_EQ(Server.Session.Input(Pilot).Controls, 8);
    // One that runs ahead (a burst after a stall) is flown at most the
    // backlog late: the oldest of the burst are skipped.
    for (uint32_t T = 508; T < 540; ++T) A.Session.SendInput(T, {uint16_t(T & 0xFF), 0, 0});
    Pump();
    Server.Session.AdvanceUpdate();
    EXPECT_GE(Server.Session.InputTick(Pilot) + tServerSession::MaxInputBacklog, 539u);

    // Snapshots: the first whole, later ones against what the client acknowledged.
    tNetSnapshot S;
    S.AircraftCount = 1;
    S.Aircraft[0].Id = 1;
    for (uint32_t Tick = 10; Tick <= 40; Tick += 5) {
        S.Tick = Tick;
        S.Aircraft[0].F[tNetAircraft::X] = int32_t(Tick * 100);
        Server.Session.SendSnapshot(Pilot, S);
        ASSERT_TRUE(PumpUntil([&] { return A.Last.Tick == Tick; }));
        A.Session.SendInput(505 + Tick, {});
        Pump();
    }
    EXPECT_TRUE(A.Last.SameStateAs(S));

    A.Session.Say("good fight");
    A.Session.Rcon("wrong", "Quit");
    A.Session.Rcon("secret", "Set BotCount 2");
    ASSERT_TRUE(PumpUntil([&] { return Server.Rcon.size() == 1; }));
    EXPECT_EQ(Server.Said, std::vector<std::string>{"good fight"});
    EXPECT_EQ(Server.Rcon, std::vector<std::string>{"Set BotCount 2"});

    // The server closes: every client hears why.
    Server.Session.Close();
    ASSERT_TRUE(PumpUntil([&] { return !A.Ended.empty() && !B.Ended.empty(); }));
    EXPECT_EQ(A.Ended, "server closed the connection");
}

TEST_F(NetSession, RefusalsSayWhy) {
    A.Join(Port(), "\"quoted\"");
    B.Join(Port(), "Ace", NetProtocolVersion + 1);
    ASSERT_TRUE(PumpUntil([&] { return !A.Ended.empty() && !B.Ended.empty(); }));
    EXPECT_EQ(A.Ended, "name refused");
    EXPECT_EQ(B.Ended, "wrong version: server " + std::to_string(NetProtocolVersion) + ", yours " +
                           std::to_string(NetProtocolVersion + 1));
    A.Ended.clear();
    A.Join(Port(), "One");
    B.Join(Port(), "Two");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome && B.Welcome; }));
    C.Join(Port(), "Three");
    ASSERT_TRUE(PumpUntil([&] { return !C.Ended.empty(); }));
    EXPECT_EQ(C.Ended, "server full");
    // A client that leaves frees its place at once.
    A.Session.Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return Server.Left.size() == 1; }));
    EXPECT_EQ(Server.Session.JoinedClients().size(), 1u);
}

TEST_F(NetSession, MalformedPacketsDisconnectOnlyTheirSender) {
    A.Join(Port(), "Ace");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome.has_value(); }));
    // A raw ENet peer: a hello, then an input with a count of 200.
    ENetHost* Raw = enet_host_create(nullptr, 1, NetChannelCount, 0, 0);
    ASSERT_NE(Raw, nullptr);
    ENetAddress Address{};
    enet_address_set_host_ip(&Address, "127.0.0.1");
    Address.port = Port();
    ENetPeer* Peer = enet_host_connect(Raw, &Address, NetChannelCount, 0);
    bool Disconnected = false, Connected = false;
    const bool Done = PumpUntil([&] {
        ENetEvent E;
        while (enet_host_service(Raw, &E, 0) > 0) {
            if (E.type == ENET_EVENT_TYPE_CONNECT) {
                Connected = true;
                uint8_t Hello[64];
                enet_peer_send(Peer, 0, enet_packet_create(Hello, WriteClientHello(Hello, sizeof Hello, {NetProtocolVersion, "Raw", 0, 0}), ENET_PACKET_FLAG_RELIABLE));
                const uint8_t Bad[] = {ClientInput, 0, 0, 0, 0, 1, 0, 0, 0, 200};
                enet_peer_send(Peer, 0, enet_packet_create(Bad, sizeof Bad, ENET_PACKET_FLAG_RELIABLE));
            }
            if (E.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(E.packet);
            if (E.type == ENET_EVENT_TYPE_DISCONNECT) Disconnected = E.data == DisconnectWord(DisconnectMalformed);
        }
        return Disconnected;
    });
    enet_host_destroy(Raw);
    ASSERT_TRUE(Connected && Done);
    bool Logged = false;
    for (const std::string& Line : Server.Log) Logged |= Line.find("Raw disconnected: malformed message") != std::string::npos;
    EXPECT_TRUE(Logged);
    // The match goes on for the others.
    tNetSnapshot S;
    S.Tick = 3;
    Server.Session.SendSnapshot(A.Welcome->Pilot, S);
    EXPECT_TRUE(PumpUntil([&] { return A.Snapshots == 1; }));
    EXPECT_TRUE(A.Ended.empty());
}

// A snapshot that overtakes the welcome is no damaged message.
TEST_F(NetSession, ASnapshotBeforeTheWelcomeIsSkipped) {
    Server.SnapshotBeforeWelcome = true;
    A.Join(Port(), "Ace");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome.has_value() || !A.Ended.empty(); }));
    EXPECT_EQ(A.Ended, "");
    EXPECT_EQ(A.Snapshots, 0);
}

// A client that stalls (loading as it joins, say) falls behind the
// server's updates; its inputs must still be flown, not all come too late.
TEST_F(NetSession, AClientBehindTheServerIsWaitedFor) {
    A.Join(Port(), "Ace");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome.has_value(); }));
    const int32_t Pilot = A.Welcome->Pilot;
    A.Session.SendInput(1, {1, 0, 0});
    A.Session.SendInput(2, {2, 0, 0});
    Pump();
    for (int I = 0; I < 20; ++I) Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.InputTick(Pilot), 2u);
    for (uint32_t Tick = 3; Tick <= 10; ++Tick) A.Session.SendInput(Tick, {uint16_t(Tick), 0, 0});
    Pump();
    for (uint32_t Tick = 3; Tick <= 10; ++Tick) {
        Server.Session.AdvanceUpdate();
        EXPECT_EQ(Server.Session.InputTick(Pilot), Tick);
    }
    // One lost for good (tick 11): the last input holds for it, then on.
    A.Session.SendInput(12, {12, 0, 0});
    A.Session.SendInput(13, {13, 0, 0});
    Pump();
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.Input(Pilot).Controls, 10);
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.InputTick(Pilot), 12u);
}

TEST_F(NetSession, InputsFasterThanTheClockDisconnect) {
    A.Join(Port(), "Ace");
    B.Join(Port(), "Bee");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome && B.Welcome; }));
    // A sends ten updates' input for each of the server's; B one.
    uint32_t TickA = 0, TickB = 0;
    const bool Kicked = PumpUntil([&] {
        for (int I = 0; I < 10; ++I) A.Session.SendInput(++TickA, {});
        B.Session.SendInput(++TickB, {});
        Server.Session.AdvanceUpdate();
        std::this_thread::sleep_for(std::chrono::milliseconds(6));
        return !A.Ended.empty();
    });
    ASSERT_TRUE(Kicked);
    EXPECT_EQ(A.Ended, "inputs faster than the server's updates");
    EXPECT_TRUE(B.Ended.empty());
}

// The bad link's ring: messages come out oldest first and whole, round the
// end of the ring, and one that finds no room is refused, not squeezed in.
TEST(FakeLink, HeldMessagesKeepOrderAcrossTheRing) {
    tHeldMessages Held;
    std::vector<uint8_t> Data(300 * 1024);
    uint32_t Pushed = 0, Popped = 0;
    const auto Push = [&](std::size_t Size) {
        std::fill_n(Data.begin(), Size, uint8_t(Pushed));
        if (!Held.Push(Pushed, 0, false, Data.data(), Size)) return false;
        ++Pushed;
        return true;
    };
    const auto PopChecked = [&](std::size_t Size) {
        const tHeldMessages::tMessage* M = Held.Front();
        ASSERT_NE(M, nullptr);
        EXPECT_EQ(M->Due, Popped);
        ASSERT_EQ(M->Size, Size);
        const uint8_t* Bytes = Held.DataOf(*M);
        EXPECT_TRUE(std::all_of(Bytes, Bytes + Size, [&](uint8_t B) { return B == uint8_t(Popped); }));
        Held.Pop();
        ++Popped;
    };
    const std::size_t Big = Data.size(), Small = Big / 3;
    for (int I = 0; I < 3; ++I) EXPECT_TRUE(Push(Big));
    EXPECT_FALSE(Push(Big));     // 1 MB holds three, not four
    EXPECT_TRUE(Push(Small));    // in what is left at the end
    EXPECT_FALSE(Push(Small));   // the end is full, the start taken
    PopChecked(Big);
    EXPECT_FALSE(Push(Big));     // the freed start is just too short
    EXPECT_TRUE(Push(Small));    // from the start of the ring
    EXPECT_FALSE(Push(Big));
    EXPECT_TRUE(Push(Small));
    for (std::size_t Size : {Big, Big, Small, Small, Small}) PopChecked(Size);
    EXPECT_EQ(Held.Front(), nullptr);
    EXPECT_FALSE(Held.Push(0, 0, false, Data.data(), 0));
}

TEST(FakeLink, LosesOnlyUnreliableMessagesAtItsRate) {
    tFakeLink Link;
    Link.Set(5000, 25);
    EXPECT_EQ(Link.LagMilliseconds(), tFakeLink::MaxLagMilliseconds);
    int Lost = 0;
    for (int I = 0; I < 4000; ++I) Lost += Link.Lose(false);
    EXPECT_NEAR(Lost, 1000, 100);
    for (int I = 0; I < 100; ++I) EXPECT_FALSE(Link.Lose(true));
    Link.Set(0, 0);
    EXPECT_FALSE(Link.Active());
}

// NetFakeLag on both sides of a connection: what either sends arrives no
// sooner than the lag; at total loss inputs vanish and chat still arrives.
TEST_F(NetSession, FakeLinkDelaysBothWays) {
    A.Join(Port(), "Ace");
    ASSERT_TRUE(PumpUntil([&] { return A.Welcome.has_value(); }));
    const int32_t Pilot = A.Welcome->Pilot;
    constexpr int32_t Lag = 100;
    const int32_t Ping = A.Session.PingMilliseconds();
    A.Session.SetFakeLink(Lag, 0);
    Server.Session.SetFakeLink(Lag, 0);
    EXPECT_EQ(A.Session.PingMilliseconds(), Ping + 2 * Lag);
    using tClock = std::chrono::steady_clock;
    const auto Elapsed = [](tClock::time_point Since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(tClock::now() - Since).count();
    };

    auto Sent = tClock::now();
    A.Session.Say("late");
    // Held on leaving the client and again on reaching the server.
    ASSERT_TRUE(PumpUntil([&] { return Server.Said.size() == 1; }));
    EXPECT_GE(Elapsed(Sent), 2 * Lag);

    tNetSnapshot S;
    S.Tick = 7;
    Sent = tClock::now();
    Server.Session.SendSnapshot(Pilot, S);
    ASSERT_TRUE(PumpUntil([&] { return A.Last.Tick == 7; }));
    EXPECT_GE(Elapsed(Sent), 2 * Lag);

    A.Session.SetFakeLink(0, 100);
    for (uint32_t Tick = 1; Tick <= 8; ++Tick) A.Session.SendInput(Tick, {uint16_t(Tick), 0, 0});
    A.Session.Say("still here");
    ASSERT_TRUE(PumpUntil([&] { return Server.Said.size() == 2; }));
    Server.Session.AdvanceUpdate();
    EXPECT_EQ(Server.Session.InputTick(Pilot), 0u);
    EXPECT_GE(A.Session.FakeLink().Lost, 4u);
}
