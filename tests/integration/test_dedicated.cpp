// The dedicated server ("--dedicated --port N") with no display at all: it
// hosts the island from its own start-up files, its computer pilots fight,
// two clients of our own protocol join on 127.0.0.1 and see each other, lines
// written to its standard input run ("Pilots", "Say") with their messages on
// its standard output, and "Quit" there leaves the clients told "server
// closed the connection" while it shuts down cleanly.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
