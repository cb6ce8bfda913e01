// The GUI in the running game, driven by real key presses and mouse moves:
// the drop-down console opened with its key, typed into, recalled and
// closed; a window's push button clicked, the window dragged by its caption,
// resized by its corner and docked against another window; the model viewer's
// biplane turning inside its window wherever the window goes.

#include <gtest/gtest.h>

#include "gamerun.h"

namespace {

// The screen is 1024 x 768; the game draws black where nothing is.
bool IsBlack(const tScreenImage& Shot, int X, int Y) { return Shot.At(X, Y) == 0; }

// The windows' and the console's dark blue-grey.
bool IsPanelColour(const tScreenImage& Shot, int X, int Y) {
    const uint32_t C = Shot.At(X, Y);
    const int R = (C >> 16) & 0xFF, B = C & 0xFF;
    return B >= 25 && B > R + 8;
}

// The biplane's red fuselage and yellow wings, lit or in shade.
bool IsFuselageRed(uint32_t C) {
    const int R = (C >> 16) & 0xFF, G = (C >> 8) & 0xFF, B = C & 0xFF;
    return R >= 90 && G * 2 < R && B * 2 < R;
}
bool IsWingYellow(uint32_t C) {
    const int R = (C >> 16) & 0xFF, G = (C >> 8) & 0xFF, B = C & 0xFF;
    return R >= 90 && G * 10 >= R * 6 && B * 2 < G;
}

struct tRect {
    int X0, Y0, X1, Y1;
    bool Contains(int X, int Y) const { return X >= X0 && X < X1 && Y >= Y0 && Y < Y1; }
};

// Pixels of the shot, inside Area or outside it, that pass Test.
int32_t CountPixels(const tScreenImage& Shot, const tRect& Area, bool Inside, bool (*Test)(uint32_t)) {
    int32_t Count = 0;
    for (int Y = 0; Y < Shot.Height; ++Y)
        for (int X = 0; X < Shot.Width; ++X)
            if (Area.Contains(X, Y) == Inside && Test(Shot.At(X, Y))) ++Count;
    return Count;
}

// The pointer is polled once a tick: each move is seen before the next step.
void MoveTo(tGameRun& Game, int X, int Y) {
    Game.AddDriverStep("xdotool mousemove " + std::to_string(X) + " " + std::to_string(Y));
    Game.WaitForTick();
}

// Drags with the left button from (X0, Y0) to (X1, Y1) by way of the middle.
void DragStep(tGameRun& Game, int X0, int Y0, int X1, int Y1) {
    MoveTo(Game, X0, Y0);
    Game.AddDriverStep("xdotool mousedown 1");
    Game.WaitForTick();
    MoveTo(Game, (X0 + X1) / 2, (Y0 + Y1) / 2);
    MoveTo(Game, X1, Y1);
    Game.AddDriverStep("xdotool mouseup 1");
    Game.WaitForTick();
}

}  // namespace

TEST(GameGUI, ConsoleOpensWithItsKeyRunsTypedLinesAndRecallsThem) {
    tGameRun Game;
    Game.SignalReady();
    Game.AddDriverStep("xdotool mousemove 500 700 key grave");
    Game.WaitForLogLine("LoadGUIFile(UI\\Console.gui)");
    Game.AddDriverStep("xdotool type --delay 40 'screenshot'; xdotool key Return");
    Game.WaitForDataFile("ScreenShots/shot0000.png");
    Game.AddDriverStep("xdotool key Up Return");
    Game.WaitForDataFile("ScreenShots/shot0001.png");
    Game.AddDriverStep("xdotool type --delay 40 'echo Typed'; xdotool key Return");
    Game.AddDriverStep("xdotool type --delay 40 'screenshot console.bmp'; xdotool key Return");
    Game.WaitForDataFile("ScreenShots/console.bmp");
    // The open console takes Escape: it empties the line, then closes the
    // console. F10 then quits.
    Game.AddDriverStep("xdotool type 'junk'; xdotool key Escape Escape");
    Game.WaitForTick();
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    // Typed once, recalled with the up arrow and run again.
    EXPECT_TRUE(R.DataFileExists("ScreenShots/shot0000.png"));
    EXPECT_TRUE(R.DataFileExists("ScreenShots/shot0001.png"));
    tScreenImage Shot = R.Screenshot("ScreenShots/console.bmp");
    ASSERT_EQ(Shot.Width, 1024);
    // The console covers the top of the screen down to its input bar.
    EXPECT_TRUE(IsPanelColour(Shot, 900, 100));
    EXPECT_TRUE(IsPanelColour(Shot, 300, 300));
    EXPECT_TRUE(IsBlack(Shot, 500, 600));
    // Messages in light text on it: "Typed" and the information tips.
    EXPECT_GT(Shot.CountBright(0, 300, 400, 400, 180), 50);
}

TEST(GameGUI, PushButtonClicksWindowsDragResizeAndDock) {
    tGameRun Game;
    Game.WriteDataFile("UI/test.gui", R"(
GUIObject "tGUIWindow"
{
   Param "0.1 0.1 0.3 0.3 Dragged"
   GUIObject "tGUIPushButton"
   {
      Param "0.05 0.15 0.1 0.05 Shoot"
      BindConsoleCommand "ScreenShot clicked.bmp"
   }
}
GUIObject "tGUIWindow" { Param "0.6 0.1 0.3 0.3 Other" }
)");
    Game.SignalReady("AddGUI UI\\test.gui\n"
                      "Bind VK_F5 \"ScreenShot dragged.bmp\"\n"
                      "Bind VK_F6 \"ScreenShot resized.bmp\"\n"
                      "Bind VK_F7 \"ScreenShot docked.bmp\"");
    // The first window is at (102, 77), 307 x 230; its button's centre at (204, 211).
    Game.AddDriverStep("xdotool mousemove 204 211");
    Game.WaitForTick();
    Game.AddDriverStep("xdotool click 1");
    Game.WaitForDataFile("ScreenShots/clicked.bmp");
    DragStep(Game, 150, 85, 250, 185);  // by the caption: to (202, 177)
    Game.AddDriverStep("xdotool key F5");
    Game.WaitForDataFile("ScreenShots/dragged.bmp");
    DragStep(Game, 506, 404, 556, 454);  // by the corner: to 357 x 280
    Game.AddDriverStep("xdotool key F6");
    Game.WaitForDataFile("ScreenShots/resized.bmp");
    DragStep(Game, 300, 185, 351, 185);  // the right edge 4 pixels short of the other window: docks
    Game.AddDriverStep("xdotool key F7");
    Game.WaitForDataFile("ScreenShots/docked.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;

    tScreenImage Dragged = R.Screenshot("ScreenShots/dragged.bmp");
    ASSERT_EQ(Dragged.Width, 1024);
    EXPECT_TRUE(IsBlack(Dragged, 150, 150));
    EXPECT_TRUE(IsPanelColour(Dragged, 210, 300));
    EXPECT_TRUE(IsPanelColour(Dragged, 490, 380));
    EXPECT_TRUE(IsBlack(Dragged, 515, 400));

    tScreenImage Resized = R.Screenshot("ScreenShots/resized.bmp");
    EXPECT_TRUE(IsPanelColour(Resized, 540, 440));
    EXPECT_TRUE(IsBlack(Resized, 565, 440));
    EXPECT_TRUE(IsBlack(Resized, 400, 462));

    // Docked: the window moved 55 pixels instead of 51, its right edge on the other's left.
    tScreenImage Docked = R.Screenshot("ScreenShots/docked.bmp");
    EXPECT_TRUE(IsBlack(Docked, 254, 300));
    EXPECT_TRUE(IsPanelColour(Docked, 260, 300));
    EXPECT_TRUE(IsPanelColour(Docked, 612, 300));
}

TEST(GameGUI, ModelViewerTurnsTheBiplaneInsideItsWindowWhereverItGoes) {
    tGameRun Game;
    // A window opened after the viewer is drawn after it, in its own place.
    Game.WriteDataFile("UI/later.gui", "GUIObject \"tGUIWindow\" { Param \"0.05 0.05 0.3 0.2 Later\" }\n");
    Game.SignalReady("AddGUI UI\\Model.gui\n"
                      "AddGUI UI\\later.gui\n"
                      "Bind VK_F5 \"ScreenShot first.bmp\"\n"
                      "Bind VK_F6 \"PlayDemo turned.dem\"\n"
                      "Bind VK_F7 \"ScreenShot moved.bmp\"");
    // The second shot 0.6 s of game time after the first, by a demo.
    Game.WriteDataFile("turned.dem", "WAIT 0.6\nScreenShot turned.bmp\n");
    MoveTo(Game, 10, 750);
    Game.AddDriverStep("xdotool key F5 key F6");
    Game.WaitForDataFile("ScreenShots/turned.bmp");
    // By the caption from (563, 61) to (363, 361), then by the corner to 610 x 386.
    DragStep(Game, 700, 70, 500, 370);
    DragStep(Game, 766, 700, 966, 740);
    MoveTo(Game, 10, 750);
    Game.AddDriverStep("xdotool key F7");
    Game.WaitForDataFile("ScreenShots/moved.bmp");
    Game.AddDriverStep("xdotool key F10");
    tGameResult R = Game.Run(60);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.Stdout + R.EngineLog, "Objects left: 0"));

    const tRect Window{563, 61, 973, 407};
    tScreenImage First = R.Screenshot("ScreenShots/first.bmp");
    tScreenImage Turned = R.Screenshot("ScreenShots/turned.bmp");
    ASSERT_EQ(First.Width, 1024);
    ASSERT_EQ(Turned.Width, 1024);
    for (const tScreenImage* Shot : {&First, &Turned}) {
        // Seen from behind the fuselage shows least: some 1450 pixels.
        EXPECT_GT(CountPixels(*Shot, Window, true, IsFuselageRed), 800);
        EXPECT_GT(CountPixels(*Shot, Window, true, IsWingYellow), 3000);
        EXPECT_EQ(CountPixels(*Shot, Window, false, IsFuselageRed), 0);
        EXPECT_EQ(CountPixels(*Shot, Window, false, IsWingYellow), 0);
        // The window's caption and body round the model, the later window in its place.
        EXPECT_TRUE(IsPanelColour(*Shot, 620, 70));
        EXPECT_TRUE(IsPanelColour(*Shot, 575, 395));
        EXPECT_GT(Shot->CountBright(563, 61, 700, 84, 180), 30);
        EXPECT_TRUE(IsPanelColour(*Shot, 200, 120));
        EXPECT_TRUE(IsBlack(*Shot, 362, 120));
        EXPECT_TRUE(IsBlack(*Shot, 200, 197));
    }
    // It turns: the two shots differ inside the window.
    int32_t Changed = 0;
    for (int Y = Window.Y0; Y < Window.Y1; ++Y)
        for (int X = Window.X0; X < Window.X1; ++X) Changed += First.At(X, Y) != Turned.At(X, Y);
    EXPECT_GT(Changed, 1000);

    tScreenImage Moved = R.Screenshot("ScreenShots/moved.bmp");
    ASSERT_EQ(Moved.Width, 1024);
    const tRect MovedWindow{363, 361, 973, 747};
    EXPECT_TRUE(IsBlack(Moved, 620, 70));
    EXPECT_GT(CountPixels(Moved, MovedWindow, true, IsFuselageRed), 1000);
    EXPECT_GT(CountPixels(Moved, MovedWindow, true, IsWingYellow), 4000);
    EXPECT_EQ(CountPixels(Moved, MovedWindow, false, IsFuselageRed), 0);
    EXPECT_EQ(CountPixels(Moved, MovedWindow, false, IsWingYellow), 0);
}
