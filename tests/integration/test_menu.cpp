// The front door, as a player uses it with a real mouse and keyboard: the
// main menu over the island at start, the pursuit plane chosen and flown
// with "Play"; a volume dragged in the options and back at the next start;
// a window's button clicked ten times while the aircraft flies; a flight key
// moved on the controls page.

#include <gtest/gtest.h>

#include "common/testenv.h"
#include "gamerun.h"

namespace {

// The windows' dark blue-grey.
bool IsPanelColour(uint32_t C) {
    const int R = (C >> 16) & 0xFF, B = C & 0xFF;
    return B >= 25 && B > R + 8 && B < 110;
}

// A left click at (X, Y) of the 1024 x 768 screen, and time for the game to see it.
std::string ClickAt(int X, int Y) {
    return "xdotool mousemove " + std::to_string(X) + " " + std::to_string(Y) + " sleep 0.2 click 1 sleep 0.4";
}

}  // namespace

TEST(GameMenu, ShowsAtStartAndPlayFliesTheChosenAircraft) {
    tGameRun Game;
    Game.UseGameLevel();
    // The player's aircraft alone: no computer pilots, shots as BMP.
    std::string Level = ReadWholeFile(Game.WorkDir() / "Data" / tGameRun::LevelScript);
    const std::string Bots = "Set BotCount 3";
    Level.replace(Level.find(Bots), Bots.size(), "Set BotCount 0");
    Game.WriteDataFile(tGameRun::LevelScript, Level);
    Game.SetINIValue("ScreenshotsExtension", ".bmp");
    Game.ShowMainMenu();
    Game.SignalReady();
    // The list's second row, "Pursuit plane", then "Play" (MainMenu.gui's places).
    Game.AddDriverStep(ClickAt(340, 232));
    Game.AddDriverStep(ClickAt(388, 140));
    Game.WaitForLogLine("tPursuitPlane spawned at");
    Game.WaitForTick();
    Game.AddDriverStep("xdotool key F12");
    Game.WaitForDataFile("ScreenShots/shot0000.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    tScreenImage Menu = R.Screenshot("ScreenShots/ready.bmp");
    ASSERT_EQ(Menu.Width, 1024);
    EXPECT_TRUE(IsPanelColour(Menu.At(512, 560)));
    // No aircraft until "Play"; then the one chosen.
    EXPECT_TRUE(Contains(R.EngineLog, "Instantiate(TPURSUITPLANE")) << "no pursuit plane";
    EXPECT_FALSE(Contains(R.EngineLog, "Instantiate(TBIPLANE"));
    // The menu is gone from the flight.
    tScreenImage Flight = R.Screenshot("ScreenShots/shot0000.bmp");
    ASSERT_EQ(Flight.Width, 1024);
    EXPECT_FALSE(IsPanelColour(Flight.At(512, 560)) && IsPanelColour(Flight.At(300, 300)));
}

TEST(GameMenu, AVolumeDraggedInTheOptionsIsBackAtTheNextStart) {
    std::string SavedINI;
    {
        tGameRun Game;
        Game.SignalReady("AddGUI UI\\Options.gui");
        // The music gauge's bar runs from x 468 to 726 on row 363: dragged to a fifth.
        Game.AddDriverStep("xdotool mousemove 640 363 sleep 0.2 mousedown 1 sleep 0.2 mousemove 560 363 sleep 0.2 "
                           "mousemove 520 363 sleep 0.3 mouseup 1 sleep 0.4");
        Game.AddDriverStep("xdotool key F10");
        tGameResult R = Game.Run(60);
        EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
        SavedINI = R.ReadDataFile("StdConfig/engine.ini");
    }
    EXPECT_TRUE(Contains(SavedINI, "[Options]"));
    EXPECT_TRUE(Contains(SavedINI, "MusicVolume=20")) << SavedINI;
    tGameRun Next;
    Next.WriteDataFile("StdConfig/engine.ini", SavedINI);
    Next.WriteDataFile("20", "ScreenShot music20.bmp\n");
    Next.PlayDemo("Exec %MusicVolume\nWAIT 1\nQuit\n");
    tGameResult R = Next.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/music20.bmp"));
}

TEST(GameMenu, EveryClickOnAWindowReachesItsButtonWhileTheAircraftFlies) {
    tGameRun Game;
    Game.UseGameLevel();
    Game.WriteDataFile("UI/Clicks.gui",
                       "GUIObject \"tGUIPushButton\" { Param \"0.4 0.4 0.2 0.1 Click\" BindConsoleCommand \"ScreenShot\" }\n");
    Game.SetINIValue("ScreenshotsExtension", ".bmp");
    Game.SignalReady("AddGUI UI\\Clicks.gui");
    // The button's middle is (512, 345); ten clicks, as fast as a player's.
    Game.AddDriverStep("xdotool mousemove 512 345 sleep 0.3");
    for (int I = 0; I < 10; ++I) Game.AddDriverStep("xdotool click 1 sleep 0.35");
    Game.AddDriverStep("sleep 0.5; xdotool key F10");
    tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "Instantiate(TBIPLANE"));
    for (int I = 0; I < 10; ++I) {
        char Name[32];
        std::snprintf(Name, sizeof Name, "ScreenShots/shot%04d.bmp", I);
        EXPECT_TRUE(R.DataFileExists(Name)) << Name;
    }
    EXPECT_FALSE(R.DataFileExists("ScreenShots/shot0010.bmp"));
}

TEST(GameMenu, AFlightKeyMovedOnTheControlsPageStaysThere) {
    tGameRun Game;
    Game.UseGameLevel();
    Game.WriteDataFile("VK_J", "ScreenShot rebound.bmp\n");
    Game.SignalReady("Bind VK_F7 \"Exec %KeyRollLeft\"\nAddGUI UI\\Controls.gui");
    // "Roll left", the first row, then J; Escape closes the page.
    Game.AddDriverStep(ClickAt(400, 185));
    Game.AddDriverStep("xdotool key j sleep 0.4 key Escape sleep 0.4");
    // In flight J rolls now: held for a moment, then the variable is shown.
    Game.AddDriverStep("xdotool keydown j sleep 1 keyup j sleep 0.2 key F7 sleep 0.5 key F10");
    tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/rebound.bmp"));
    EXPECT_TRUE(Contains(R.ReadDataFile("StdConfig/engine.ini"), "KeyRollLeft=VK_J"));
}
