// The dedicated server ("--dedicated --port N") with no display at all: it
// hosts the island from its own start-up files, its computer pilots fight,
// two clients of our own protocol join on 127.0.0.1 and see each other, lines
// written to its standard input run ("Pilots", "Say") with their messages on
// its standard output, and "Quit" there leaves the clients told "server
// closed the connection" while it shuts down cleanly.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "common/netpeer.h"
#include "netgames.h"

TEST(DedicatedServer, HostsWithoutADisplayAndObeysItsStandardInput) {
    // A port of this process's own, so tests side by side never meet.
    const int Port = TestPort(0);
    tDedicatedServer Server(Port);
    ASSERT_TRUE(Server.Started());

    tTestPeer A, B;
    std::vector<tTestPeer*> Peers = {&A, &B};
    auto Until = [&](const std::function<bool()>& Done) { return ServiceUntil(Peers, Done); };
    // The server takes a while to load the island: each tries again until it answers.
    ASSERT_TRUE(JoinLocalServer(A, Port, "Ace")) << A.Ended;
    ASSERT_TRUE(JoinLocalServer(B, Port, "Bee", {&A})) << B.Ended;
    EXPECT_EQ(A.Welcome->Level, "tLevel");
    EXPECT_TRUE(Until([&] { return A.SeenAircraft.count(B.Welcome->Pilot) && B.SeenAircraft.count(A.Welcome->Pilot); }));

    // A line typed on the server runs there and reaches every client.
    Server.Type("Pilots");
    Server.Type("Say hello pilots");
    const auto Heard = [](const tTestPeer& P) { return P.FeedLinesWith("hello pilots") == 1; };
    EXPECT_TRUE(Until([&] { return Heard(A) && Heard(B); }));

    const int ExitCode = Server.Quit();
    EXPECT_TRUE(Until([&] { return !A.Ended.empty() && !B.Ended.empty(); }));
    for (const tTestPeer* P : Peers) EXPECT_EQ(P->Ended, "server closed the connection");

    const std::string Stdout = Server.Stdout();
    EXPECT_EQ(ExitCode, 0) << Stdout;
    EXPECT_TRUE(Contains(Stdout, "Hosting the match on port " + std::to_string(Port))) << Stdout;
    EXPECT_TRUE(Contains(Stdout, "Ace score") && Contains(Stdout, "Bee score") && Contains(Stdout, "hello pilots")) << Stdout;
    EXPECT_FALSE(Contains(Stdout, "Error:")) << Stdout;
    EXPECT_TRUE(Contains(Stdout, "Objects left: 0")) << Stdout;
}

// A real game joins the dedicated server under Xvfb after a shot has dug a
// crater there: the ground in the crater is as deep on both machines.
TEST(DedicatedServer, AClientJoiningLaterHasTheServersCrater) {
    const int Port = TestPort(10000);
    tDedicatedServer Server(Port);
    ASSERT_TRUE(Server.Started());
    ASSERT_TRUE(Server.WaitFor("Hosting the match on port"));
    Server.Type("GroundHeight 100 150");
    Server.Type("SpawnClass tPlasmaProjectile \"100 150 60 0 0 -150\"");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    Server.Type("GroundHeight 100 150");
    ASSERT_TRUE(Server.WaitFor("Ground at 100.000 150.000", 2));

    tGameRun Client;
    Client.UseGameLevel();
    Client.PlayDemo("WAIT 6\nGroundHeight 100 150\nPilots\nWAIT 0.5\nQuit\n");
    Client.AddArguments({"+Set", "PlayerName", "Tester", "+Connect", "127.0.0.1:" + std::to_string(Port)});
    const tGameResult R = Client.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout;
    EXPECT_EQ(Server.Quit(), 0);

    const std::vector<double> OnServer = GroundHeights(Server.Stdout()), OnClient = GroundHeights(R.Stdout);
    ASSERT_EQ(OnServer.size(), 2u) << Server.Stdout();
    ASSERT_EQ(OnClient.size(), 1u) << R.Stdout;
    EXPECT_LT(OnServer[1], OnServer[0] - 1.0);
    EXPECT_NEAR(OnClient[0], OnServer[1], 0.01);
    EXPECT_TRUE(Contains(Server.Stdout(), "Tester joined")) << Server.Stdout();
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
}
