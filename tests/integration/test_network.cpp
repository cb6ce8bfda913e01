// The real game hosting its match ("Host port") and two clients of our own
// protocol joining it on 127.0.0.1, on a port of this test's own: each sees
// the other's aircraft, chat reaches everyone through the kill feed, a
// client that leaves is gone from the others' list at once, and an
// administrator's "Rcon" Quit ends the game while the other client hears
// "server closed the connection".

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/netpeer.h"
#include "gamerun.h"

TEST(Network, TwoClientsJoinAHostedMatchChatLeaveAndHearItClose) {
    // A port of this process's own, so tests side by side never meet.
    const int Port = TestPort(0);
    tGameRun Game;
    Game.UseGameLevel();
    Game.AddArguments({"+Set", "RconPassword", "secret", "+Host", std::to_string(Port)});
    tGameResult Result;
    std::thread Host([&] { Result = Game.Run(120); });

    tTestPeer A, B;
    std::vector<tTestPeer*> Peers = {&A, &B};
    auto Until = [&](const std::function<bool()>& Done) { return ServiceUntil(Peers, Done); };
    // The game takes a while to start: each tries again until it answers.
    ASSERT_TRUE(JoinLocalServer(A, Port, "Ace")) << A.Ended;
    ASSERT_TRUE(JoinLocalServer(B, Port, "Bee", {&A})) << B.Ended;
    const int32_t PilotA = A.Welcome->Pilot, PilotB = B.Welcome->Pilot;
    EXPECT_NE(PilotA, PilotB);
    EXPECT_EQ(A.Welcome->Level, "tLevel");
    // Each sees the other's aircraft, flown on the host.
    EXPECT_TRUE(Until([&] { return A.SeenAircraft.count(PilotB) && B.SeenAircraft.count(PilotA); }));

    A.Session.Say("hello Bee");
    const auto Heard = [](const tTestPeer& P) { return std::count(P.Feed.begin(), P.Feed.end(), "Ace: hello Bee") == 1; };
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
