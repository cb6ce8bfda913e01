// The match hosted for other machines: a client joins as a remote pilot in
// the place of a computer pilot, flies from its inputs, sees its aircraft
// in the snapshots, chats through the kill feed, and
// leaves without a crash counted. On 127.0.0.1, a port the system picks.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "common/enginehost.h"
#include "common/recordingaudio.h"
#include "common/testworld.h"
#include "game/airplane.h"
#include "game/match.h"
#include "game/terrain/mipterrain.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "net/server/netserver.h"
#include "net/session/clientsession.h"

namespace {

// An aircraft without a mesh.
class tMeshlessAircraft : public tAirplaneActor {
    Z_DECLARE_CLASS(tMeshlessAircraft, tAirplaneActor)
public:
    explicit tMeshlessAircraft(const ShortString& Name) : tAirplaneActor(Name) { MeshSize = 3; }
    void Spawned() override {
        SetPosition(StartPosition);
        tActor::Spawned();
    }

protected:
    void ShowExplosion() override {}
    void ShowCrashSite() override {}
};

Z_IMPLEMENT_CLASS(tMeshlessAircraft, .Operations = {{"Spawned"}, {"ShowExplosion"}, {"ShowCrashSite"}})

struct tListeningClient : tClientListener {
    std::optional<tServerWelcome> Welcome;
    std::vector<std::string> Feed, Joined;
    std::vector<tServerPoint> Craters;
    std::map<int32_t, tServerPilot> Scores;  // by pilot, as last told
    std::map<int32_t, int32_t> Pings;
    int32_t Winner = -1;
    tNetSnapshot Last;
    std::string Ended;
    tClientSession Session;
    void Welcomed(const tServerWelcome& W) override { Welcome = W; }
    void ServerEvent(const tServerMessage& M) override {
        if (M.Type == ServerFeed) Feed.push_back(M.Text);
        if (M.Type == ServerPilot) Joined.push_back(M.Pilot.Name);
        if (M.Type == ServerCrater) Craters.push_back(M.Point);
        if (M.Type == ServerPilot || M.Type == ServerScore) Scores[M.Pilot.Pilot] = M.Pilot;
        if (M.Type == ServerMatchEnd) Winner = M.Pilot.Pilot;
        for (int32_t I = 0; M.Type == ServerPings && I < M.Pings.Count; ++I) Pings[M.Pings.Pilot[I]] = M.Pings.Milliseconds[I];
    }
    void SnapshotArrived(const tNetSnapshot& S) override { Last = S; }
    void ConnectionEnded(const std::string& Reason) override { Ended = Reason; }
};

class NetServerTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        RegisterTestWorldClasses();
        Linker->AddClass(tMeshlessAircraft::StaticClass(CT_SpawnableConstructor));
        tWinGameEngine& E = StartActiveEngine();
        E.Audio = NewObject<tRecordingAudio>();
        TheMatch = NewObject<tMatch>();
        Server = NewObject<tNetServer>();
        Linker->InstantiateClassByName("tTickingWorld", "");
        Linker->InstantiateClassByName("tFlatTerrain", "0");
        Console->SendCommand("Set PlaneChassis tMeshlessAircraft", true);
        Console->SendCommand("Set PrimaryWeapon tWeapon", true);
        Console->SendCommand("AddBot tMeshlessAircraft tWeapon", true);
        Console->SendCommand("AddBot tMeshlessAircraft tWeapon", true);
        ASSERT_TRUE(Server->Host(0, true));
    }
    void TearDown() override {
        tZObject::DisposeObject(Server);
        EngineHostTest::TearDown();
    }
    // Updates of the server's game while the client listens; at most Steps.
    bool Run(const std::function<bool()>& Done, int Steps = 300) {
        for (int I = 0; I < Steps; ++I) {
            if (Client.Session.State() == tClientSession::Joined)
                Client.Session.SendInput(++ClientTick, Input);
            Server->Tick(0.01f);
            TheMatch->Tick(0.01f);
            Engine->World->Tick(0.01f);
            Client.Session.Service(1);
            if (Done()) return true;
        }
        return false;
    }

    tMatch* TheMatch = nullptr;
    tNetServer* Server = nullptr;
    tListeningClient Client;
    tNetInput Input;
    uint32_t ClientTick = 0;
};

}  // namespace

TEST_F(NetServerTest, AClientFliesAsARemotePilotInTheMatch) {
    ASSERT_TRUE(Run([&] { return TheMatch->BotsInMatch() == 2; }));
    // A crater dug before the client comes: it gets it, bit for bit.
    ASSERT_NE(tMipTerrain::ImpactHeard, nullptr);
    tMipTerrain::ImpactHeard({100.125f, 200.5f, 33.3f}, 5);
    std::string Error;
    ASSERT_TRUE(Client.Session.Connect("127.0.0.1:" + std::to_string(Server->Port()), {NetProtocolVersion, "Baron", 0, 0},
                                       Client, Error)) << Error;
    ASSERT_TRUE(Run([&] { return Client.Welcome.has_value(); }));
    // A computer pilot has the name already: the newcomer is numbered, and one bot leaves.
    const int32_t Pilot = Client.Welcome->Pilot;
    EXPECT_EQ(TheMatch->GetPilot(Pilot).Name, "Baron (2)");
    EXPECT_TRUE(TheMatch->GetPilot(Pilot).Remote);
    EXPECT_EQ(TheMatch->BotsInMatch(), 1);
    EXPECT_EQ(Client.Welcome->MatchSeed, TheMatch->MatchSeed);
    ASSERT_TRUE(Run([&] { return !Client.Craters.empty(); }));
    EXPECT_EQ(Client.Craters[0].X, 100.125f);
    EXPECT_EQ(Client.Craters[0].Z, 33.3f);
    EXPECT_EQ(Client.Craters[0].Size, 5.0f);

    // Its aircraft is in the snapshots, where the server has it.
    auto InSnapshot = [&]() -> const tNetAircraft* {
        for (int32_t I = 0; I < Client.Last.AircraftCount; ++I)
            if (Client.Last.Aircraft[I].Id == Pilot) return &Client.Last.Aircraft[I];
        return nullptr;
    };
    ASSERT_TRUE(Run([&] { return InSnapshot() != nullptr; }));
    const tAirplaneActor* Aircraft = TheMatch->GetPilot(Pilot).Aircraft;
    ASSERT_NE(Aircraft, nullptr);
    ASSERT_TRUE(Run([&] { return Client.Last.Tick % 5 == 0 && InSnapshot(); }, 1));
    EXPECT_NEAR(NetFloat(InSnapshot()->F[tNetAircraft::X]), Aircraft->_vecPosition.x, 20);

    // Its input steers it on the server.
    EXPECT_FALSE(Aircraft->_ControlState.bRollingLeft);
    Input = {ControlRollLeft | ControlThrottleUp, 0, 0};
    ASSERT_TRUE(Run([&] { return TheMatch->GetPilot(Pilot).RemoteInput == Input; }));
    ASSERT_TRUE(Run([] { return true; }));
    EXPECT_TRUE(Aircraft->_ControlState.bRollingLeft);
    EXPECT_TRUE(Aircraft->_ControlState.bThrottlingUp);
    Input = {};

    // Chat goes through the kill feed, to everyone.
    Client.Session.Say("good fight");
    ASSERT_TRUE(Run([&] { return !Client.Feed.empty(); }));
    EXPECT_EQ(Client.Feed.back(), "Baron (2): good fight");
    EXPECT_EQ(TheMatch->KillFeed(0).Text, "Baron (2): good fight");

    // Leaving takes the aircraft away without a crash. (No bot comes back
    // here: one would choose an aircraft with a mesh.)
    Console->SendCommand("Set BotCount 0", true);
    Client.Session.Disconnect();
    ASSERT_TRUE(Run([&] { return !TheMatch->Valid(Pilot); }));
    ASSERT_TRUE(Run([&] { return Engine->World->Actors->GetTotalItems() == 1; }));  // the terrain
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P)
        if (TheMatch->Valid(P)) {
            EXPECT_EQ(TheMatch->GetPilot(P).Crashes, 0);
        }
}

// A dedicated server flies no one itself: no pilot 1, chat under the
// server's name; the clients hear every pilot's ping and score line, and
// the end of the match with its winner.
TEST_F(NetServerTest, AServerWithoutAPlayerTellsScoresPingsAndTheEndOfTheMatch) {
    TheMatch->LeavePlayerOut();
    ASSERT_TRUE(Run([&] { return TheMatch->BotsInMatch() == 2; }));
    EXPECT_FALSE(TheMatch->Valid(tMatch::PlayerPilot));
    std::string Error;
    ASSERT_TRUE(Client.Session.Connect("127.0.0.1:" + std::to_string(Server->Port()), {NetProtocolVersion, "Ace", 0, 0},
                                       Client, Error)) << Error;
    ASSERT_TRUE(Run([&] { return Client.Welcome.has_value() && Client.Scores.size() == 2; }));
    const int32_t Pilot = Client.Welcome->Pilot;
    EXPECT_EQ(Client.Scores.count(tMatch::PlayerPilot), 0u);
    ASSERT_TRUE(Run([&] { return Client.Pings.size() == 2; }, 200));
    EXPECT_EQ(Client.Pings.count(Pilot), 1u);

    Console->SendCommand("Say welcome", true);
    ASSERT_TRUE(Run([&] { return !Client.Feed.empty(); }));
    EXPECT_EQ(Client.Feed.back(), "Halvardine: welcome");

    // The client's pilot downs the computer pilot and wins at the frag limit.
    int32_t Bot = 0;
    for (int32_t P = 2; P <= tMatch::MaxPilots; ++P)
        if (TheMatch->IsComputer(P) && !TheMatch->GetPilot(P).Remote) Bot = P;
    ASSERT_NE(Bot, 0);
    Console->SendCommand("Set FragLimit 1", true);
    TheMatch->AircraftShotDown(Bot, Pilot, "rail gun");
    ASSERT_TRUE(Run([&] { return Client.Winner >= 0; }));
    EXPECT_EQ(Client.Winner, Pilot);
    ASSERT_FALSE(Client.Feed.empty());
    EXPECT_EQ(Client.Feed.back(), "Ace wins the match");
    // The winner's line came first; the scores start again.
    EXPECT_EQ(Client.Feed[Client.Feed.size() - 2], "Ace shot down " + std::string(TheMatch->GetPilot(Bot).Name.c_str()) + " with rail gun");
    EXPECT_EQ(TheMatch->GetPilot(Pilot).Kills, 0);
}
