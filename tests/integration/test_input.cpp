// Real key presses, mouse buttons, wheel turns, focus changes and the close
// button, sent by xdotool to the game's window under Xvfb.

#include <gtest/gtest.h>

#include "gamerun.h"

namespace {

// Key bindings for the test, then a screenshot that tells the driver the
// bindings are in place.
void BindAndSignalReady(tGameRun& Game, const std::string& Bindings) {
    Game.SignalReady(Bindings);
    Game.AddDriverStep("xdotool mousemove 500 400");
}

}  // namespace

TEST(GameInput, KeyBindingsFireFromRealKeyPresses) {
    tGameRun Game;
    BindAndSignalReady(Game,
                       "Bind VK_F5 \"ScreenShot f5.bmp\"\n"
                       "Bind VK_K \"ScreenShot k.bmp\"\n"
                       "Bind VK_5 \"ScreenShot digit5.bmp\"\n"
                       "Bind VK_SPACE \"ScreenShot space.bmp\"");
    for (const char* Key : {"F5", "k", "5", "space"}) Game.AddDriverStep(std::string("xdotool key ") + Key);
    Game.WaitForDataFile("ScreenShots/space.bmp");
    Game.AddDriverStep("xdotool key F10");  // the data's own binding for "Quit"
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    for (const char* File : {"f5.bmp", "k.bmp", "digit5.bmp", "space.bmp"})
        EXPECT_TRUE(R.DataFileExists(std::string("ScreenShots/") + File)) << File;
}

TEST(GameInput, MouseButtonsDoubleClicksAndTheWheel) {
    tGameRun Game;
    // A wheel notch is a press followed at once by a release: the "+" variable
    // it sets is false again by the time F6 asks for it.
    Game.WriteDataFile("True", "ScreenShot wheel_held.bmp\n");
    Game.WriteDataFile("False", "ScreenShot wheel_released.bmp\n");
    BindAndSignalReady(Game,
                       "Bind VK_LBUTTON \"ScreenShot left.bmp\"\n"
                       "Bind VK_RBUTTON \"ScreenShot right.bmp\"\n"
                       "Bind VK_MBUTTON \"ScreenShot middle.bmp\"\n"
                       "Bind VK_LBUTTONDB \"ScreenShot leftdouble.bmp\"\n"
                       "Bind VK_WHEELUP \"ScreenShot wheelup.bmp; +WheelHeld\"\n"
                       "Bind VK_WHEELDOWN \"ScreenShot wheeldown.bmp\"\n"
                       "Bind VK_F6 \"Exec %WheelHeld\"");
    Game.AddDriverStep("xdotool click 3 click 2");
    Game.WaitForDataFile("ScreenShots/middle.bmp");
    Game.AddDriverStep("xdotool click --repeat 2 --delay 60 1");
    Game.WaitForDataFile("ScreenShots/leftdouble.bmp");
    Game.AddDriverStep("xdotool click 4 click 5");
    Game.WaitForDataFile("ScreenShots/wheeldown.bmp");
    Game.AddDriverStep("xdotool key F6");
    Game.WaitForAnyDataFile({"ScreenShots/wheel_held.bmp", "ScreenShots/wheel_released.bmp"});
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    for (const char* File : {"left.bmp", "right.bmp", "middle.bmp", "leftdouble.bmp", "wheelup.bmp", "wheeldown.bmp",
                             "wheel_released.bmp"})
        EXPECT_TRUE(R.DataFileExists(std::string("ScreenShots/") + File)) << File;
    EXPECT_FALSE(R.DataFileExists("ScreenShots/wheel_held.bmp"));
}

// The middle button has no double-click code: a fast double click is one
// press, as the left and right buttons' second clicks are no press either.
TEST(GameInput, AMiddleButtonDoubleClickPressesOnce) {
    tGameRun Game;
    Game.WriteDataFile("True", "ScreenShot once.bmp\n");
    Game.WriteDataFile("False", "ScreenShot twice.bmp\n");
    BindAndSignalReady(Game, "Set MiddleOdd False\nBind VK_MBUTTON \"Toggle MiddleOdd\"\nBind VK_F6 \"Exec %MiddleOdd\"");
    // The toggle's screenshot shows the two clicks were read before F6.
    Game.AddDriverStep("xdotool click --repeat 2 --delay 60 2 key F6");
    Game.WaitForAnyDataFile({"ScreenShots/once.bmp", "ScreenShots/twice.bmp"});
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/once.bmp"));
    EXPECT_FALSE(R.DataFileExists("ScreenShots/twice.bmp"));
}

// Another window taking the focus pauses the engine; getting it back resumes.
TEST(GameInput, FocusLossPausesTheEngine) {
    tGameRun Game;
    Game.WriteDataFile("True", "ScreenShot paused.bmp\n");
    Game.WriteDataFile("False", "ScreenShot running.bmp\n");
    BindAndSignalReady(Game, "Bind VK_F7 \"Exec %EnginePaused\"");
    Game.AddDriverStep("xmessage -geometry +600+600 other & OTHER=$!; sleep 1");
    Game.AddDriverStep("xdotool windowfocus --sync $(xdotool search --sync --name '^xmessage$' | head -n 1)");
    Game.AddDriverStep("sleep 0.3; xdotool key --window $WINDOW F7; sleep 0.3");
    Game.AddDriverStep("kill $OTHER; xdotool windowfocus --sync $WINDOW; sleep 0.3");
    Game.AddDriverStep("xdotool key F7; sleep 0.3; xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/paused.bmp"));
    EXPECT_TRUE(R.DataFileExists("ScreenShots/running.bmp"));
}

TEST(GameInput, ClosingTheWindowEndsTheGameCleanly) {
    tGameRun Game;
    Game.AppendDataFile("StdConfig/console.cfg", "\nScreenShot ready.bmp\n");
    Game.WaitForDataFile("ScreenShots/ready.bmp");
    Game.AddDriverStep(CloseWindowTool() + " $WINDOW");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    EXPECT_FALSE(R.ProfilerLog.empty());
}
