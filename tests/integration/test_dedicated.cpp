// The dedicated server ("--dedicated --port N") with no display at all: it
// hosts the island from its own start-up files, its computer pilots fight,
// two clients of our own protocol join on 127.0.0.1 and see each other, lines
// written to its standard input run ("Pilots", "Say") with their messages on
// its standard output, and "Quit" there leaves the clients told "server
// closed the connection" while it shuts down cleanly. A match it records
// replays on one machine exactly.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "gamerun.h"
#include "net/session/clientsession.h"

namespace {

struct tDedicatedPeer : tClientListener {
    std::optional<tServerWelcome> Welcome;
    std::set<int32_t> SeenAircraft;
    std::vector<std::string> Feed;
    std::string Ended;
    tClientSession Session;
    void Welcomed(const tServerWelcome& W) override { Welcome = W; }
    void ServerEvent(const tServerMessage& M) override { if (M.Type == ServerFeed) Feed.push_back(M.Text); }
    void SnapshotArrived(const tNetSnapshot& S) override {
        for (int32_t I = 0; I < S.AircraftCount; ++I) SeenAircraft.insert(S.Aircraft[I].Id);
    }
    void ConnectionEnded(const std::string& Reason) override { Ended = Reason; }
};

std::string ReadFile(const std::filesystem::path& File) {
    std::ostringstream Text;
    Text << std::ifstream(File).rdbuf();
    return Text.str();
}

// The dedicated server in a working directory of its own, with no X server
// and no sound device, its standard input a pipe the test writes lines to.
class tDedicatedServer {
public:
    explicit tDedicatedServer(int Port) {
        Game.UseGameLevel();
        const std::filesystem::path Work = Game.WorkDir();
        if (mkfifo((Work / "input").c_str(), 0600) != 0) return;
        const std::string Command = "cd '" + Work.string() + "' && env -u DISPLAY timeout -k 5 90 '" HALVARDINE_GAME
                                    "' --dedicated --port " + std::to_string(Port) +
                                    " < input > stdout.txt 2> stderr.txt; echo $? > exitcode.txt";
        Runner = std::thread([Command] { std::system(Command.c_str()); });
        // Opening the pipe waits for the server to open its end.
        Input = std::fopen((Work / "input").c_str(), "w");
    }
    ~tDedicatedServer() {
        if (Input) std::fclose(Input);
        if (Runner.joinable()) Runner.join();
    }
    bool Started() const { return Input != nullptr; }
    void Type(const std::string& Line) {
        std::fputs((Line + "\n").c_str(), Input);
        std::fflush(Input);
    }
    std::string Stdout() const { return ReadFile(Game.WorkDir() / "stdout.txt"); }
    const std::filesystem::path& WorkDir() const { return Game.WorkDir(); }
    // Waits (Seconds at most) for Text on its standard output.
    bool WaitFor(const std::string& Text, int Seconds = 20) const {
        for (int I = 0; I < Seconds * 10 && !Contains(Stdout(), Text); ++I) std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return Contains(Stdout(), Text);
    }
    // Types "Quit" and waits for the end; the exit code.
    int Quit() {
        Type("Quit");
        std::fclose(Input);
        Input = nullptr;
        Runner.join();
        return std::atoi(ReadFile(Game.WorkDir() / "exitcode.txt").c_str());
    }

private:
    tGameRun Game;  // for its working directory with the game's level
    std::thread Runner;
    FILE* Input = nullptr;
};

// The heights "GroundHeight" printed, in order.
std::vector<double> GroundHeights(const std::string& Stdout) {
    std::vector<double> Heights;
    std::istringstream In(Stdout);
    for (std::string Line; std::getline(In, Line);)
        if (Line.find("Ground at ") != std::string::npos) Heights.push_back(std::stod(Line.substr(Line.rfind(':') + 1)));
    return Heights;
}

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
    const int Port = 20000 + int(getpid() % 20000);
    tDedicatedServer Server(Port);
    ASSERT_TRUE(Server.Started());

    tDedicatedPeer A, B;
    std::vector<tDedicatedPeer*> Peers = {&A, &B};
    // Services both clients until Done holds, a minute at most.
    auto Until = [&](const std::function<bool()>& Done) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        uint32_t Tick = 0;
        while (std::chrono::steady_clock::now() < Deadline) {
            ++Tick;
            for (tDedicatedPeer* P : Peers) {
                P->Session.Service(5);
                P->Session.SendInput(Tick, {});
            }
            if (Done()) return true;
        }
        return false;
    };
    // The server takes a while to load the island: try again until it answers.
    std::string Error;
    for (tDedicatedPeer* P : Peers) {
        const std::string Name = P == &A ? "Ace" : "Bee";
        for (int Try = 0; Try < 12 && !P->Welcome; ++Try) {
            P->Ended.clear();
            ASSERT_TRUE(P->Session.Connect("127.0.0.1:" + std::to_string(Port), {NetProtocolVersion, Name, 0, 0}, *P, Error));
            Until([&] { return P->Welcome || !P->Ended.empty(); });
        }
        ASSERT_TRUE(P->Welcome) << P->Ended;
    }
    EXPECT_EQ(A.Welcome->Level, "tLevel");
    EXPECT_TRUE(Until([&] { return A.SeenAircraft.count(B.Welcome->Pilot) && B.SeenAircraft.count(A.Welcome->Pilot); }));

    // A line typed on the server runs there and reaches every client.
    Server.Type("Pilots");
    Server.Type("Say hello pilots");
    const auto Heard = [](const tDedicatedPeer& P) {
        return std::count_if(P.Feed.begin(), P.Feed.end(), [](const std::string& L) { return Contains(L, "hello pilots"); }) == 1;
    };
    EXPECT_TRUE(Until([&] { return Heard(A) && Heard(B); }));

    const int ExitCode = Server.Quit();
    EXPECT_TRUE(Until([&] { return !A.Ended.empty() && !B.Ended.empty(); }));
    for (const tDedicatedPeer* P : Peers) EXPECT_EQ(P->Ended, "server closed the connection");

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
    const int Port = 20000 + int((getpid() + 10000) % 20000);
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
    const int Port = 20000 + int((getpid() + 5000) % 20000);
    tDedicatedServer Server(Port);
    ASSERT_TRUE(Server.Started());
    ASSERT_TRUE(Server.WaitFor("Hosting the match on port"));
    Server.Type("RecordDemo netmatch");
    ASSERT_TRUE(Server.WaitFor("Recording netmatch"));

    tDedicatedPeer Client;
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
    Game.WriteDataFile("Demos/netmatch.dem", ReadFile(Server.WorkDir() / "Data/Demos/netmatch.dem"));
    Game.AddArguments({"+Set TimeDemoQuit True", "+Set TimeDemoUpdates 25", "+TimeDemo netmatch"});
    const tGameResult R = Game.Run(120);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "TimeDemo netmatch: ")) << R.Stdout;
    EXPECT_EQ(GroundHeights(R.Stdout), Ground);
    EXPECT_TRUE(Contains(R.EngineLog, "Tester crashed"));
}
