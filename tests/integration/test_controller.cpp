// A game controller made of software ("VirtualController", SDL's virtual
// joystick) flies, fights and drives the menu: its stick reaches the
// aircraft as the pointer's offset and its trigger as the fire button, so the
// recording holds them and replays without drift; pulled out mid-roll it lets
// go of both. Start opens the menu, the d-pad moves the focus frame, A presses
// Play. A button chosen on the controls page is saved and kept at the next start.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "gamerun.h"

namespace {

// The level with the player alone, screenshots as BMP.
void SoloPadLevel(tGameRun& Game) {
    Game.UseGameLevel();
    Game.AppendDataFile(tGameRun::LevelScript, "\nSet BotCount 0\n");
    Game.SetINIValue("ScreenshotsExtension", ".bmp");
}

// Script lines that press a button of the virtual controller and let it go.
std::string PressPad(const std::string& Button) {
    return "VirtualController button " + Button + " 1\nWAIT 0.25\nVirtualController button " + Button +
           " 0\nWAIT 0.25\n";
}

// The tick of the recording's first line of the kind ("k", "m") at or after
// tick From whose values after the tick are Values; -1 when there is none.
int RecordedTick(const std::string& Recording, const std::string& Kind, const std::string& Values, int From = 0) {
    std::istringstream Lines(Recording);
    std::string Line;
    while (std::getline(Lines, Line)) {
        if (!Line.starts_with(Kind + " ")) continue;
        const std::size_t TickEnd = Line.find(' ', Kind.size() + 1);
        if (TickEnd == std::string::npos || Line.substr(TickEnd + 1) != Values) continue;
        if (const int Tick = std::atoi(Line.c_str() + Kind.size() + 1); Tick >= From) return Tick;
    }
    return -1;
}

}  // namespace

TEST(Controller, StickAndTriggerFlyThroughThePointerAndKeysAndLetGoWhenPulledOut) {
    tGameRun Game;
    SoloPadLevel(Game);
    // Full roll right and the trigger pulled, then the controller pulled out.
    Game.WriteDataFile("fly.txt",
                       "RecordDemo pad\nWAIT 0\nVirtualController attach\nWAIT 0.3\n"
                       "VirtualController axis leftx 1\nVirtualController axis righttrigger 1\nWAIT 1\n"
                       "VirtualController detach\nWAIT 1\nStopRecording\nWAIT 0.2\nQuit\n");
    Game.AddArguments({"+PlayDemo fly.txt"});
    Game.WaitForLogLine("Flight pad begins");
    Game.AddDriverStep("xdotool mousemove --window $WINDOW 512 384");
    const tGameResult R = Game.Run(120);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "Controller connected: Virtual controller"));
    EXPECT_TRUE(Contains(R.EngineLog, "Controller disconnected: Virtual controller"));
    ASSERT_TRUE(R.DataFileExists("Demos/pad.dem"));
    const std::string Recording = R.ReadDataFile("Demos/pad.dem");

    // The stick leans the pointer its whole reach to the right, as a mouse
    // 60 pixels right of the centre would; the trigger holds the fire button.
    const int Rolling = RecordedTick(Recording, "m", "60 0");
    const int Firing = RecordedTick(Recording, "k", "1 1");
    ASSERT_GE(Rolling, 0) << Recording;
    ASSERT_GE(Firing, 0) << Recording;
    // Pulled out about a second later: centred and not firing from then on.
    const int Centred = RecordedTick(Recording, "m", "0 0", Rolling);
    const int Released = RecordedTick(Recording, "k", "1 0", Firing);
    EXPECT_GT(Centred, Rolling + 50) << Recording;
    EXPECT_GT(Released, Firing + 50) << Recording;
    EXPECT_LT(std::abs(Centred - Released), 5) << Recording;

    // Replayed without the controller's help, tick for tick.
    tGameRun Replay;
    SoloPadLevel(Replay);
    Replay.WriteDataFile("Demos/pad.dem", Recording);
    Replay.AddArguments({"+Set TimeDemoQuit True", "+TimeDemo pad"});
    const tGameResult T = Replay.Run(120);
    EXPECT_EQ(T.ExitCode, 0) << T.Stdout << T.Stderr;
    EXPECT_TRUE(Contains(T.Stdout, "TimeDemo pad:")) << T.Stdout;
    EXPECT_FALSE(Contains(T.Stdout, "drifted")) << T.Stdout;
}

TEST(Controller, StartOpensTheMenuTheDPadMovesTheFocusAndAPressesPlay) {
    tGameRun Game;
    SoloPadLevel(Game);
    // The menu opens with Play framed; down frames Multiplayer beside it,
    // down again the aircraft list, up twice (from its first row) Play again,
    // and A presses it.
    Game.WriteDataFile("menu.txt", "VirtualController attach\nWAIT 0.3\n" + PressPad("start") +
                                       "ScreenShot onplay.bmp\nWAIT 0.3\n" + PressPad("dpdown") +
                                       PressPad("dpdown") + "ScreenShot onlist.bmp\nWAIT 0.3\n" +
                                       PressPad("dpup") + PressPad("dpup") + PressPad("a") +
                                       "ScreenShot played.bmp\nWAIT 0.3\nQuit\n");
    Game.SignalReady("PlayDemo menu.txt");
    const tGameResult R = Game.Run(120);
    EXPECT_EQ(R.ExitCode, 0) << R.Stdout << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "SendCommand(ToggleMainMenu)"));
    // The frame's orange left of Play (y 122 ... 159) and of the list (y 207 ... 246).
    const auto FramedAt = [&R](const char* Shot, int Top, int Bottom) {
        const tScreenImage Image = R.Screenshot(std::string("ScreenShots/") + Shot + ".bmp");
        int Orange = 0;
        for (int Y = Top; Image.Width > 0 && Y < Bottom; ++Y)
            for (int X = 280; X < 290; ++X) {
                const uint32_t C = Image.At(X, Y);
                Orange += ((C >> 16) & 0xFF) > 180 && ((C >> 8) & 0xFF) > 100 && (C & 0xFF) < 90;
            }
        return Orange > 20;
    };
    EXPECT_TRUE(FramedAt("onplay", 122, 160));
    EXPECT_FALSE(FramedAt("onplay", 207, 247));
    EXPECT_TRUE(FramedAt("onlist", 207, 247));
    EXPECT_FALSE(FramedAt("onlist", 122, 160));
    // Played: the menu is gone, and its frame with it.
    EXPECT_FALSE(FramedAt("played", 122, 160));
    const tScreenImage Played = R.Screenshot("ScreenShots/played.bmp");
    const tScreenImage Menu = R.Screenshot("ScreenShots/onplay.bmp");
    ASSERT_TRUE(Played.Width > 0 && Menu.Width > 0);
    EXPECT_NE(Played.At(388, 140), Menu.At(388, 140));
}

TEST(Controller, AButtonChosenOnTheControlsPageIsSavedAndKeptAtTheNextStart) {
    tGameRun Game;
    SoloPadLevel(Game);
    // "Fire", the seventh row of the controller's list, then X on the controller.
    Game.SignalReady("VirtualController attach\nAddGUI UI\\Controls.gui\n"
                     "Bind VK_F5 \"VirtualController button x 1\"\nBind VK_F6 \"VirtualController button x 0\"");
    Game.AddDriverStep("xdotool mousemove 600 293 sleep 0.2 click 1 sleep 0.4 key F5 sleep 0.4 key F6 sleep 0.4");
    Game.AddDriverStep("xdotool key F10");
    const tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    const std::string SavedINI = R.ReadDataFile("StdConfig/engine.ini");
    EXPECT_TRUE(Contains(SavedINI, "PadFire=x button0")) << SavedINI;

    // The next start applies it and saves it again; a binding that names no
    // input is refused and the action keeps its default.
    tGameRun Next;
    SoloPadLevel(Next);
    std::string Edited = SavedINI;
    const std::size_t Options = Edited.find("[Options]");
    ASSERT_NE(Options, std::string::npos) << SavedINI;
    Edited.insert(Edited.find('\n', Options) + 1, "PadCamera=nosuchbutton\r\n");
    Next.WriteDataFile("StdConfig/engine.ini", Edited);
    Next.SignalReady();
    Next.AddDriverStep("xdotool key F10");
    const tGameResult N = Next.Run(90);
    EXPECT_EQ(N.ExitCode, 0) << N.Stderr;
    const std::string Again = N.ReadDataFile("StdConfig/engine.ini");
    EXPECT_TRUE(Contains(Again, "PadFire=x button0")) << Again;
    EXPECT_TRUE(Contains(Again, "PadCamera=y button1")) << Again;
}
