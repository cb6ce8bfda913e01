// The dedicated server ("--dedicated --port N") with no display at all: it
// hosts the island from its own start-up files, its computer pilots fight,
// two clients of our own protocol join on 127.0.0.1 and see each other, lines
// written to its standard input run ("Pilots", "Say") with their messages on
// its standard output, and "Quit" there leaves the clients told "server
// closed the connection" while it shuts down cleanly. A match it records
// replays on one machine exactly.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "common/netpeer.h"
#include "netgames.h"

namespace {

// What a match shows of itself from Start on: its kill feed, the pilots with
// their scores and positions ("Pilots"), and the ground ("GroundHeight").
std::vector<std::string> MatchLines(const std::string& Stdout, const std::string& Start) {
    std::vector<std::string> Lines;
    std::istringstream In(Stdout.substr(std::min(Stdout.size(), Stdout.find(Start))));
    for (std::string Line; std::getline(In, Line);)
        if (Line.starts_with("Pilot ") || Line.starts_with("Ground at ") || Contains(Line, " crashed") ||
            Contains(Line, " shot down") || Contains(Line, " wins the match"))
            Lines.push_back(Line);
    return Lines;
}

}  // namespace

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

// "RecordDemo" on the dedicated server while a client of our own protocol
// joins, steers, crashes and leaves, a typed shot digs a crater; "PlayDemo"
// of that file on another server with no network replays the match exactly:
// the same kill feed, scores, positions and ground, at the same updates.
TEST(RecordedMatch, AServersRecordingReplaysTheWholeMatchOnOneMachine) {
    const int Port = TestPort(15000);
    tDedicatedServer Server(Port);
    ASSERT_TRUE(Server.Started());
    ASSERT_TRUE(Server.WaitFor("Hosting the match on port"));
    Server.Type("RecordDemo netmatch");
    ASSERT_TRUE(Server.WaitFor("Recording netmatch"));

    tTestPeer Client;
    std::string Error;
    tNetInput Input;
    uint32_t Tick = 0;
    auto NextInput = std::chrono::steady_clock::now();
    // Services the client, one input per update of the server's (no faster:
    // that would be refused), until Done holds.
    auto Until = [&](const std::function<bool()>& Done, int Seconds = 30) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
        while (std::chrono::steady_clock::now() < Deadline) {
            Client.Session.Service(5);
            if (Client.Welcome && std::chrono::steady_clock::now() >= NextInput) {
                Client.Session.SendInput(++Tick, Input);
                NextInput = std::max(NextInput + std::chrono::milliseconds(10), std::chrono::steady_clock::now());
            }
            if (Done()) return true;
        }
        return false;
    };
    // The server loads the island anew as the recording begins.
    for (int Try = 0; Try < 12 && !Client.Welcome; ++Try) {
        Client.Ended.clear();
        ASSERT_TRUE(Client.Session.Connect("127.0.0.1:" + std::to_string(Port), {NetProtocolVersion, "Tester", 0, 0}, Client, Error));
        Until([&] { return Client.Welcome || !Client.Ended.empty(); });
    }
    ASSERT_TRUE(Client.Welcome) << Client.Ended;
    const std::string Pilot = std::to_string(Client.Welcome->Pilot);
    ASSERT_TRUE(Until([&] { return Client.SeenAircraft.count(Client.Welcome->Pilot) > 0; }));
    // It fires and rolls for a second, is put into the ground, and a shot digs a crater.
    Input = {uint16_t(ControlFire | ControlRollLeft | ControlThrottleUp), 40, -25};
    Until([] { return false; }, 1);
    Server.Type("PlacePilot " + Pilot + " 100 150 -30");
    Server.Type("SpawnClass tPlasmaProjectile \"100 150 60 0 0 -150\"");
    Input = {uint16_t(ControlPitchUp), -10, 5};
    ASSERT_TRUE(Until([&] { return Contains(Server.Stdout(), "Tester crashed"); }, 10)) << Server.Stdout();
    Until([] { return false; }, 1);
    Server.Type("GroundHeight 100 150");
    Server.Type("Pilots");
    ASSERT_TRUE(Server.WaitFor("Ground at 100.000 150.000"));
    Client.Session.Disconnect();
    Until([] { return false; }, 1);
    Server.Type("Pilots");
    ASSERT_TRUE(Server.WaitFor("Tester left", 5)) << Server.Stdout();
    Until([] { return false; }, 1);
    Server.Type("StopRecording");
    ASSERT_TRUE(Server.WaitFor("Recorded netmatch"));
    EXPECT_EQ(Server.Quit(), 0);

    tDedicatedServer Replay(Port + 1);
    ASSERT_TRUE(Replay.Started());
    ASSERT_TRUE(Replay.WaitFor("Hosting the match on port"));
    Replay.Type("StopHosting");
    std::filesystem::create_directories(Replay.WorkDir() / "Data/Demos");
    std::filesystem::copy_file(Server.WorkDir() / "Data/Demos/netmatch.dem", Replay.WorkDir() / "Data/Demos/netmatch.dem");
    Replay.Type("PlayDemo netmatch");
    EXPECT_TRUE(Replay.WaitFor("Replay of netmatch ended", 60)) << Replay.Stdout();
    EXPECT_EQ(Replay.Quit(), 0);

    const std::string Recorded = Server.Stdout(), Replayed = Replay.Stdout();
    const std::vector<std::string> Match = MatchLines(Recorded, "Recording netmatch");
    EXPECT_TRUE(Contains(Replayed, "Replay of netmatch ended without drift")) << Replayed;
    EXPECT_EQ(MatchLines(Replayed, "Replaying netmatch"), Match) << Recorded << Replayed;
    // The client's crash, its pilot listed while it flew, the crater dug.
    EXPECT_EQ(std::count(Match.begin(), Match.end(), "Tester crashed"), 1);
    EXPECT_EQ(std::count_if(Match.begin(), Match.end(), [](const std::string& L) { return Contains(L, " Tester score -1"); }), 1);
    const std::vector<double> Ground = GroundHeights(Recorded);
    ASSERT_EQ(Ground.size(), 1u);
    EXPECT_EQ(GroundHeights(Replayed), Ground);
    EXPECT_TRUE(Contains(Replayed, "Objects left: 0")) << Replayed;

    // And in the game itself, as fast as it draws (25 updates a frame): the
    // server flew no aircraft of its own, so neither does the replay.
    tGameRun Game;
    Game.UseGameLevel();
    Game.WriteDataFile("Demos/netmatch.dem", ReadWholeFile(Server.WorkDir() / "Data/Demos/netmatch.dem"));
    Game.AddArguments({"+Set TimeDemoQuit True", "+Set TimeDemoUpdates 25", "+TimeDemo netmatch"});
    const tGameResult R = Game.Run(120);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "TimeDemo netmatch: ")) << R.Stdout;
    EXPECT_EQ(GroundHeights(R.Stdout), Ground);
    EXPECT_TRUE(Contains(R.EngineLog, "Tester crashed"));
}
