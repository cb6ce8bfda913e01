// The real game hosting its match ("Host port") and two clients of our own
// protocol joining it on 127.0.0.1, on a port of this test's own: each sees
// the other's aircraft, chat reaches everyone through the kill feed, a
// client that leaves is gone from the others' list at once, and an
// administrator's "Rcon" Quit ends the game while the other client hears
// "server closed the connection".

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <thread>

#include "gamerun.h"
#include "net/session/clientsession.h"

namespace {

struct tPeer : tClientListener {
    std::optional<tServerWelcome> Welcome;
    std::set<int32_t> SeenAircraft, Left;
    std::vector<std::string> Feed;
    std::string Ended;
    tClientSession Session;
    void Welcomed(const tServerWelcome& W) override { Welcome = W; }
    void ServerEvent(const tServerMessage& M) override {
        if (M.Type == ServerFeed) Feed.push_back(M.Text);
        if (M.Type == ServerPilotLeft) Left.insert(M.Pilot.Pilot);
    }
    void SnapshotArrived(const tNetSnapshot& S) override {
        for (int32_t I = 0; I < S.AircraftCount; ++I) SeenAircraft.insert(S.Aircraft[I].Id);
    }
    void ConnectionEnded(const std::string& Reason) override { Ended = Reason; }
};

}  // namespace

TEST(Network, TwoClientsJoinAHostedMatchChatLeaveAndHearItClose) {
    // A port of this process's own, so tests side by side never meet.
    const int Port = 20000 + int(getpid() % 20000);
    tGameRun Game;
    Game.UseGameLevel();
    Game.AddArguments({"+Set", "RconPassword", "secret", "+Host", std::to_string(Port)});
    tGameResult Result;
    std::thread Host([&] { Result = Game.Run(120); });

    tPeer A, B;
    std::vector<tPeer*> Peers = {&A, &B};
    // Services both clients until Done holds, a minute at most.
    auto Until = [&](const std::function<bool()>& Done) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        uint32_t Tick = 0;
        while (std::chrono::steady_clock::now() < Deadline) {
            ++Tick;
            for (tPeer* P : Peers) {
                P->Session.Service(5);
                P->Session.SendInput(Tick, {});
            }
            if (Done()) return true;
        }
        return false;
    };
    // The game takes a while to start: try again until it answers.
    std::string Error;
    for (tPeer* P : Peers) {
        const std::string Name = P == &A ? "Ace" : "Bee";
        for (int Try = 0; Try < 12 && !P->Welcome; ++Try) {
            P->Ended.clear();
            ASSERT_TRUE(P->Session.Connect("127.0.0.1:" + std::to_string(Port), {NetProtocolVersion, Name, 0, 0}, *P, Error));
            Until([&] { return P->Welcome || !P->Ended.empty(); });
        }
        ASSERT_TRUE(P->Welcome) << P->Ended;
    }
    const int32_t PilotA = A.Welcome->Pilot, PilotB = B.Welcome->Pilot;
    EXPECT_NE(PilotA, PilotB);
    EXPECT_EQ(A.Welcome->Level, "tLevel");
    // Each sees the other's aircraft, flown on the host.
    EXPECT_TRUE(Until([&] { return A.SeenAircraft.count(PilotB) && B.SeenAircraft.count(PilotA); }));

    A.Session.Say("hello Bee");
    const auto Heard = [](const tPeer& P) { return std::count(P.Feed.begin(), P.Feed.end(), "Ace: hello Bee") == 1; };
    EXPECT_TRUE(Until([&] { return Heard(A) && Heard(B); }));

    // B leaves: A hears it within two seconds.
    B.Session.Disconnect();
    Peers = {&A};
    const auto Left = std::chrono::steady_clock::now();
    EXPECT_TRUE(Until([&] { return A.Left.count(PilotB) > 0; }));
    EXPECT_LT(std::chrono::steady_clock::now() - Left, std::chrono::seconds(2));

    // A wrong password runs nothing; the right one ends the game, and A hears why.
    A.Session.Rcon("wrong", "Quit");
    A.Session.Rcon("secret", "Quit");
    EXPECT_TRUE(Until([&] { return !A.Ended.empty(); }));
    EXPECT_EQ(A.Ended, "server closed the connection");
    Host.join();
    EXPECT_EQ(Result.ExitCode, 0) << Result.Stdout;
    EXPECT_TRUE(Contains(Result.Stdout, "Objects left: 0")) << Result.Stdout;
    EXPECT_TRUE(Contains(Result.Stdout, "Rcon refused")) << Result.Stdout;
}
