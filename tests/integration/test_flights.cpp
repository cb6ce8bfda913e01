// A flight recorded with the game, the fire button and a roll key held by
// xdotool, then replayed by "TimeDemo" twice: the same positions tick for
// tick (no drift), the frame rate's line, and the exit code "TimeDemoQuit"
// gives. A recording whose position was moved is reported as drifted and
// ends the game with 1.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "gamerun.h"

namespace {

// The script's next step comes after the level has been built again (a
// pause of 0 waits for the next update, which begins the flight), so the
// flight lasts its 4 seconds however long the level took.
const char* FlightScript = "RecordDemo short\nWAIT 0\nWAIT 4\nStopRecording\nWAIT 0.2\nQuit\n";

// Records Demos/short.dem: the player and one computer pilot, the player
// firing and rolling right from early on.
std::string RecordShortFlight() {
    tGameRun Game;
    Game.UseGameLevel();
    Game.AppendDataFile(tGameRun::LevelScript, "\nSet BotCount 1\n");
    Game.WriteDataFile("fly.txt", FlightScript);
    Game.AddArguments({"+PlayDemo fly.txt"});
    Game.WaitForLogLine("Flight short begins");
    Game.AddDriverStep("xdotool mousemove --window $WINDOW 512 384 mousedown 1 keydown h");
    Game.WaitForLogLine("Recorded short");
    Game.AddDriverStep("xdotool mouseup 1 keyup h");
    const tGameResult R = Game.Run(300);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("Demos/short.dem")) << R.Stdout;
    return R.DataFileExists("Demos/short.dem") ? R.ReadDataFile("Demos/short.dem") : "";
}

struct tTimed {
    tGameResult Game;
    std::string Frames;  // the frame times' file, empty when none was written
};

// The working directory goes with the run: the frame times are read before.
tTimed TimeDemo(const std::string& Recording) {
    tGameRun Game;
    Game.UseGameLevel();
    Game.WriteDataFile("Demos/short.dem", Recording);
    Game.AddArguments({"+Set TimeDemoQuit True", "+TimeDemoFrames frames.csv", "+TimeDemo short"});
    tTimed T{Game.Run(300), ""};
    if (T.Game.DataFileExists("frames.csv")) T.Frames = T.Game.ReadDataFile("frames.csv");
    return T;
}

}  // namespace

TEST(Flights, RecordedFlightReplaysExactlyAndIsTimed) {
    const std::string Recording = RecordShortFlight();
    ASSERT_FALSE(Recording.empty());
    // The fire button (the left mouse button's code 1) and H went down while
    // it was recorded, and every aircraft was placed once a second.
    EXPECT_TRUE(std::regex_search(Recording, std::regex("\nk [0-9]+ 1 1\n"))) << Recording;
    EXPECT_TRUE(std::regex_search(Recording, std::regex("\nk [0-9]+ 72 1\n"))) << Recording;
    EXPECT_TRUE(Contains(Recording, "\na 99 1 ")) << Recording;
    EXPECT_TRUE(Contains(Recording, "\na 99 2 ")) << Recording;

    const std::regex Line("TimeDemo short: ([0-9]+) frames in [0-9.]+ seconds, [0-9.]+ fps "
                          "\\(slowest frame [0-9.]+ ms, 1 % low [0-9.]+ fps\\)");
    for (int Round = 0; Round < 2; ++Round) {
        SCOPED_TRACE(Round);
        const tTimed T = TimeDemo(Recording);
        const tGameResult& R = T.Game;
        EXPECT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
        std::smatch M;
        ASSERT_TRUE(std::regex_search(R.Stdout, M, Line)) << R.Stdout;
        EXPECT_FALSE(Contains(R.Stdout, "drifted")) << R.Stdout;
        EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0"));
        // Two updates a frame: the frame count follows from the recording.
        const int Frames = std::stoi(M[1]);
        EXPECT_GT(Frames, 100);
        const std::string& Csv = T.Frames;
        EXPECT_TRUE(Csv.starts_with("frame,milliseconds\n"));
        EXPECT_TRUE(Contains(Csv, "\n" + std::to_string(Frames) + ","));
    }

    // One aircraft moved by a unit in the recording: the replay stops there.
    std::string Moved = Recording;
    const std::size_t At = Moved.find("\na 199 1 ");
    ASSERT_NE(At, std::string::npos);
    const std::size_t X = At + 9;
    const std::size_t XEnd = Moved.find(' ', X);
    Moved.replace(X, XEnd - X, std::to_string(std::stod(Moved.substr(X, XEnd - X)) + 1.0));
    const tGameResult Drifted = TimeDemo(Moved).Game;
    EXPECT_EQ(Drifted.ExitCode, 1) << Drifted.Stdout;
    EXPECT_TRUE(Contains(Drifted.Stdout, "Replay of short drifted at tick 199: pilot 1 (Player) is 1.0000 units"))
        << Drifted.Stdout;
}
