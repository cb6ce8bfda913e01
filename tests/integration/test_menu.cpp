// The front door, as a player uses it with a real mouse and keyboard: the
// main menu over the island at start, the pursuit plane chosen and flown
// with "Play"; a volume dragged in the options and back at the next start;
// a window's button clicked ten times while the aircraft flies; a flight key
// and a command key moved on the controls page; "Play" in the match; Escape
// on the start menu; a join that fails on the multiplayer page, told there
// and remembered.

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/testenv.h"
#include "gamerun.h"

namespace {

// The windows' dark blue-grey.
bool IsPanelColour(uint32_t C) {
    const int R = (C >> 16) & 0xFF, B = C & 0xFF;
    return B >= 25 && B > R + 8 && B < 110;
}

// The game's level with the player's aircraft alone (no computer pilots),
// shots as BMP.
void FlyAlone(tGameRun& Game) {
    Game.UseGameLevel();
    std::string Level = ReadWholeFile(Game.WorkDir() / "Data" / tGameRun::LevelScript);
    const std::string Bots = "Set BotCount 3";
    Level.replace(Level.find(Bots), Bots.size(), "Set BotCount 0");
    Game.WriteDataFile(tGameRun::LevelScript, Level);
    Game.SetINIValue("ScreenshotsExtension", ".bmp");
}

// A left click at (X, Y) of the 1024 x 768 screen, and time for the game to see it.
std::string ClickAt(int X, int Y) {
    return "xdotool mousemove " + std::to_string(X) + " " + std::to_string(Y) + " sleep 0.2 click 1 sleep 0.4";
}

}  // namespace

TEST(GameMenu, ShowsAtStartAndPlayFliesTheChosenAircraft) {
    tGameRun Game;
    FlyAlone(Game);
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
    // The menu's flat panel colour is gone (the sea can pass for a panel's blue).
    EXPECT_FALSE(Flight.At(512, 560) == Menu.At(512, 560) && Flight.At(300, 300) == Menu.At(300, 300));
}

// Leaving the start menu with Escape never leaves the player watching with
// no aircraft: it is "Play". In the flight Escape brings the menu back.
TEST(GameMenu, EscapeOnTheStartMenuPlays) {
    tGameRun Game;
    FlyAlone(Game);
    Game.ShowMainMenu();
    Game.SignalReady();
    Game.AddDriverStep("xdotool key Escape");
    Game.WaitForLogLine("tBiplane spawned at");
    Game.AddDriverStep("sleep 0.3; xdotool key Escape sleep 0.6 key F12");
    Game.WaitForDataFile("ScreenShots/shot0000.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "tBiplane spawned at 64.00 64.00 200.00 for Player"));
    EXPECT_TRUE(IsPanelColour(R.Screenshot("ScreenShots/shot0000.bmp").At(512, 560)));
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

TEST(GameMenu, PlayInTheMatchFliesTheAircraftAndGunNowChosenAndTheHUDHidesUnderTheMenu) {
    tGameRun Game;
    FlyAlone(Game);
    Game.SignalReady();
    // In the biplane, Escape: the menu, with no HUD under it. The pursuit
    // plane, the rail gun, "Play".
    // Each key waits for the shot before it, or a starved game could see two
    // keys in one frame and shoot the menu already open.
    Game.AddDriverStep("xdotool key F12");
    Game.WaitForDataFile("ScreenShots/shot0000.bmp");
    Game.AddDriverStep("xdotool key Escape sleep 0.6 key F12");
    Game.WaitForDataFile("ScreenShots/shot0001.bmp");
    for (const char* Click : {"340 232", "610 321", "388 140"})
        Game.AddDriverStep(std::string("xdotool mousemove ") + Click + " sleep 0.2 click 1 sleep 0.4");
    Game.WaitForLogLine("tPursuitPlane spawned");
    Game.AddDriverStep("xdotool key F12");
    Game.WaitForDataFile("ScreenShots/shot0002.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(90);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "tBiplane of Player leaves"));
    EXPECT_TRUE(Contains(R.EngineLog, "tPursuitPlane spawned at 64.00 64.00 200.00 for Player"));
    EXPECT_TRUE(Contains(R.EngineLog, "Instantiate(TRAILGUN"));
    // The HUD's white labels and speed bar (bottom left) over the sea.
    for (const char* Shot : {"shot0000", "shot0001", "shot0002"})
        EXPECT_EQ(R.Screenshot(std::string("ScreenShots/") + Shot + ".bmp").CountBright(12, 676, 232, 760) > 100,
                  Shot != std::string("shot0001")) << Shot;
}

TEST(GameMenu, ACommandKeyMovedOnTheControlsPageWorksInFlightAndAfterARestart) {
    // Only these keys: after the aircraft's seven rows, "Main menu", "Quit", "Screenshot".
    const std::string Keys = "UnBindAll\nBind VK_ESCAPE ToggleMainMenu\nBind VK_F10 Quit\nBind VK_F12 ScreenShot\n";
    // In flight K takes the shot and F12 nothing; the INI file the game saved.
    const auto FlyAndQuit = [](tGameRun& Game) {
        Game.AddDriverStep("xdotool key k sleep 0.5 key F12 sleep 0.5 key F10");
        tGameResult R = Game.Run(90);
        EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
        EXPECT_TRUE(R.DataFileExists("ScreenShots/shot0000.bmp") && !R.DataFileExists("ScreenShots/shot0001.bmp"));
        return R.ReadDataFile("StdConfig/engine.ini");
    };
    tGameRun Game;
    Game.UseGameLevel();
    Game.SetINIValue("ScreenshotsExtension", ".bmp");
    Game.SignalReady(Keys + "AddGUI UI\\Controls.gui");
    // "Screenshot", the tenth row, then K; Escape closes the page.
    Game.AddDriverStep(ClickAt(400, 347));
    Game.AddDriverStep("xdotool key k sleep 0.4 key Escape sleep 0.4");
    const std::string SavedINI = FlyAndQuit(Game);
    EXPECT_TRUE(Contains(SavedINI, "[Bindings]\r\nVK_K=ScreenShot\r\nVK_F12=\r\n")) << SavedINI;
    // The next start: the same scripts, and K still takes the shot.
    tGameRun Next;
    Next.UseGameLevel();
    Next.WriteDataFile("StdConfig/engine.ini", SavedINI + "VK_NOSUCHKEY=Quit\n");
    Next.SignalReady(Keys);
    EXPECT_TRUE(Contains(FlyAndQuit(Next), "VK_K=ScreenShot"));
}

// "Multiplayer", then "Join" with an address where nothing listens: the page
// says why, the address is kept in engine.ini and is in the page's list at
// the next start (a damaged line before it skipped), where a click on it and
// "Join" try it again.
TEST(MultiplayerPage, AFailedJoinIsToldAndItsAddressListedAfterARestart) {
    const std::string Address = "127.0.0.1:" + std::to_string(40000 + getpid() % 20000);
    // MainMenu.gui's "Multiplayer", then Multiplayer.gui's "Join" and its list's first row.
    const std::string MultiplayerButton = ClickAt(634, 140), JoinButton = ClickAt(389, 194), FirstRow = ClickAt(300, 269);
    std::string SavedINI;
    {
        tGameRun Game;
        FlyAlone(Game);
        Game.ShowMainMenu();
        Game.AddArguments({"+Set JoinAddress " + Address});
        Game.SignalReady();
        Game.AddDriverStep(MultiplayerButton);
        Game.AddDriverStep(JoinButton);
        Game.WaitForLogLine("Join status: no answer from " + Address, 20);
        Game.AddDriverStep("sleep 0.3; xdotool key F12");
        Game.WaitForDataFile("ScreenShots/shot0000.bmp");
        Game.AddDriverStep("xdotool key F10");
        tGameResult R = Game.Run(60);
        EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
        // The page stays open (the menu's panel) with the reason on it.
        tScreenImage Page = R.Screenshot("ScreenShots/shot0000.bmp");
        ASSERT_EQ(Page.Width, 1024);
        EXPECT_TRUE(IsPanelColour(Page.At(512, 560)));
        EXPECT_GT(Page.CountBright(287, 436, 560, 452, 140), 20) << "no status line";
        SavedINI = R.ReadDataFile("StdConfig/engine.ini");
    }
    const std::string Saved = "Server1=" + Address + "\r\n";
    ASSERT_TRUE(Contains(SavedINI, "[RecentServers]\r\n" + Saved)) << SavedINI;
    tGameRun Next;
    FlyAlone(Next);
    Next.ShowMainMenu();
    Next.WriteDataFile("StdConfig/engine.ini",
                       SavedINI.replace(SavedINI.find(Saved), Saved.size(), "Server1=not an address\r\nServer2=" + Address + "\r\n"));
    Next.SignalReady();
    Next.AddDriverStep(MultiplayerButton);
    // The new window's first press goes to the window itself: a bare spot of it.
    Next.AddDriverStep(ClickAt(600, 520));
    Next.AddDriverStep(FirstRow);
    Next.AddDriverStep(JoinButton);
    Next.WaitForLogLine("Join status: Connecting to " + Address);
    Next.AddDriverStep("xdotool key F10");
    tGameResult R = Next.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "Recent server skipped: Server1=not an address"));
    EXPECT_TRUE(Contains(R.ReadDataFile("StdConfig/engine.ini"), "[RecentServers]\r\n" + Saved)) << "not once, first";
}
