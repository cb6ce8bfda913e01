// One match on three machines and more: the dedicated server on 127.0.0.1
// and real games joining it under Xvfb (each in its smallest window). Each
// client sees the other's aircraft; a rail shot one client fires kills the
// other, counted once on the server and shown once in both kill feeds; a
// crater the server digs is as deep everywhere; a third client that joins
// later has the crater and the scores and, when it quits, leaves every
// scoreboard within two seconds; and the server's "Quit" leaves the
// clients running, told "server closed the connection".

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "common/netpeer.h"
#include "netgames.h"

namespace {

using tClock = std::chrono::steady_clock;

// The pilot the server gave a client, from its "Joined ... as pilot N".
int JoinedAs(const tClientGame& Client) {
    std::smatch Match;
    const std::string Log = Client.Log();
    return std::regex_search(Log, Match, std::regex("Joined .* as pilot ([0-9]+)")) ? std::stoi(Match[1]) : 0;
}

std::string PilotLine(int Pilot, const std::string& Name) { return "Pilot " + std::to_string(Pilot) + " " + Name + " score "; }

// Runs "Pilots" on the client until its list holds Part, Seconds at most.
bool ClientListsSoon(tClientGame& Client, const std::string& Part, int Seconds = 20) {
    const auto Deadline = tClock::now() + std::chrono::seconds(Seconds);
    while (tClock::now() < Deadline) {
        const int Before = CountLinesWith(Client.Log(), Part);
        if (!Client.Run("Pilots")) return false;
        if (CountLinesWith(Client.Log(), Part) > Before) return true;
    }
    return false;
}

// "Pilots" once more on the client: whether the new list holds Name.
bool ClientStillLists(tClientGame& Client, const std::string& Name) {
    const int Before = CountLinesWith(Client.Log(), " " + Name + " score ");
    Client.Run("Pilots");
    return CountLinesWith(Client.Log(), " " + Name + " score ") > Before;
}

// "Pilots" once more on the server: whether the new list holds Name.
bool ServerStillLists(tDedicatedServer& Server, const std::string& Name) {
    const int Before = CountLinesWith(Server.Stdout(), " " + Name + " score ");
    const int Lines = CountLinesWith(Server.Stdout(), "Pilot ");
    Server.Type("Pilots");
    for (int I = 0; I < 20 && CountLinesWith(Server.Stdout(), "Pilot ") == Lines; ++I)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    // The whole list is printed in one update.
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    return CountLinesWith(Server.Stdout(), " " + Name + " score ") > Before;
}

}  // namespace

TEST(Multiplayer, ADedicatedServerAndRealClientsPlayOneMatch) {
    const auto Began = tClock::now();
    const int Port = TestPort(5000);
    tDedicatedServer Server(Port, 150);
    ASSERT_TRUE(Server.Started());
    ASSERT_TRUE(Server.WaitFor("Hosting the match on port", 30)) << Server.Stdout();
    // People only: no computer pilot gets in the way of the shot.
    Server.Type("Set BotCount 0");

    tClientGame Ace(Port, "Ace", {"+Set", "PrimaryWeapon", "tRailGun"});
    tClientGame Bee(Port, "Bee");
    ASSERT_TRUE(Ace.WaitForLog("Join status: Joined", 60)) << Ace.Log();
    ASSERT_TRUE(Bee.WaitForLog("Join status: Joined", 60)) << Bee.Log();
    const int A = JoinedAs(Ace), B = JoinedAs(Bee);
    ASSERT_TRUE(A > 1 && B > 1 && A != B) << A << " " << B;

    // Each sees the other's aircraft where the server flies it.
    EXPECT_TRUE(ClientListsSoon(Ace, PilotLine(B, "Bee") + "0 at ")) << Ace.Log();
    EXPECT_TRUE(ClientListsSoon(Bee, PilotLine(A, "Ace") + "0 at ")) << Bee.Log();

    // Ace's fire button held, Bee placed ahead of its nose on the same
    // heading (again and again: both fly on) until the server counts the kill.
    ASSERT_TRUE(Ace.Drive("xdotool mousedown 1"));
    const std::string Kill = "Ace shot down Bee";
    const auto KillDeadline = tClock::now() + std::chrono::seconds(20);
    while (tClock::now() < KillDeadline && !Contains(Server.Stdout(), Kill)) {
        Server.Type("PlacePilot " + std::to_string(A) + " 500 300 300 0");
        Server.Type("PlacePilot " + std::to_string(B) + " 500 370 300 0");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    Ace.Drive("xdotool mouseup 1");
    ASSERT_TRUE(Server.WaitFor(Kill, 1)) << Server.Stdout();
    EXPECT_TRUE(Ace.WaitForLog(Kill, 5) && Bee.WaitForLog(Kill, 5));

    // A shot of the server's own digs a crater at (100, 150).
    Server.Type("GroundHeight 100 150");
    Server.Type("SpawnClass tPlasmaProjectile \"100 150 60 0 0 -150\"");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Server.Type("GroundHeight 100 150");
    ASSERT_TRUE(Server.WaitFor("Ground at 100.000 150.000", 5));
    const auto GroundsSettled = [&] { return GroundHeights(Server.Stdout()).size() == 2; };
    for (int I = 0; I < 20 && !GroundsSettled(); ++I) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::vector<double> OnServer = GroundHeights(Server.Stdout());
    ASSERT_EQ(OnServer.size(), 2u) << Server.Stdout();
    EXPECT_LT(OnServer[1], OnServer[0] - 1.0);

    // A third client joins afterwards: the crater and the scores come with it.
    tClientGame Cee(Port, "Cee");
    ASSERT_TRUE(Cee.WaitForLog("Join status: Joined", 60)) << Cee.Log();
    const int C = JoinedAs(Cee);
    EXPECT_TRUE(ClientListsSoon(Cee, PilotLine(A, "Ace") + "1"));
    for (tClientGame* Client : {&Ace, &Bee, &Cee}) {
        ASSERT_TRUE(Client->Run("GroundHeight 100 150"));
        const std::vector<double> Heights = GroundHeights(Client->Stdout());
        ASSERT_FALSE(Heights.empty()) << Client->Stdout();
        EXPECT_NEAR(Heights.back(), OnServer[1], 0.01);
    }
    EXPECT_EQ(CountLinesWith(Server.Stdout(), Kill), 1);
    EXPECT_EQ(CountLinesWith(Ace.Log(), Kill), 1);
    EXPECT_EQ(CountLinesWith(Bee.Log(), Kill), 1);

    // Cee quits: within two seconds no scoreboard lists it.
    ASSERT_TRUE(ClientListsSoon(Ace, PilotLine(C, "Cee")));
    Cee.Run("Quit");
    const tGameResult CeeResult = Cee.Finish();
    const auto Quit = tClock::now();
    EXPECT_EQ(CeeResult.ExitCode, 0) << CeeResult.Stdout;
    bool Gone = false;
    while (!Gone && tClock::now() - Quit < std::chrono::seconds(2))
        Gone = !ServerStillLists(Server, "Cee") && !ClientStillLists(Ace, "Cee") && !ClientStillLists(Bee, "Cee");
    EXPECT_TRUE(Gone) << "still listed 2 s after it quit";

    // The server quits: both clients stay, told why.
    EXPECT_EQ(Server.Quit(), 0);
    for (tClientGame* Client : {&Ace, &Bee}) {
        EXPECT_TRUE(Client->WaitForLog("server closed the connection", 10)) << Client->Log();
        EXPECT_FALSE(Client->Finished());
        Client->Run("Quit");
        const tGameResult R = Client->Finish();
        EXPECT_EQ(R.ExitCode, 0) << R.Stdout;
        EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    }
    const std::string Stdout = Server.Stdout();
    EXPECT_TRUE(Contains(Stdout, "Objects left: 0")) << Stdout;
    std::cout << "One match on four machines took "
              << std::chrono::duration_cast<std::chrono::seconds>(tClock::now() - Began).count() << " s\n";
}
