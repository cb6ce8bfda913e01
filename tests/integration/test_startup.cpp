// The game starts, draws, counts its runs and ends cleanly, under Xvfb.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "gamerun.h"

namespace {

struct tProfiledSection {
    int Calls = 0;
    double Seconds = 0;
};

// A section's row of the profiler report; zeros when it is not there.
tProfiledSection ProfiledSection(const std::string& Report, const std::string& Section) {
    std::istringstream In(Report);
    tProfiledSection Row;
    for (std::string Line; std::getline(In, Line);) {
        if (Line.rfind(Section + " ", 0) != 0) continue;
        std::istringstream(Line.substr(Section.size())) >> Row.Calls >> Row.Seconds;
        break;
    }
    return Row;
}

}  // namespace

TEST(GameStartUp, LogsStartUpDrawsFramesAndQuitsCleanly) {
    tGameRun Game;
    Game.PlayDemo(
        "WAIT 0.3\n"
        "Set ShowFPS True\n"
        "EnumSubSystems\n"
        "WAIT 0.5\n"
        "ScreenShot fps.bmp\n"
        "Quit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;

    for (const char* Line : {"Halvardine 3D Engine", "Version: 0.4.58.9996", "Compiled on: 2006/05/08 14:00:44",
                             "Running on: Linux", "Trying to create window...", "Window created successfully",
                             "OpenGL version   : ", "OpenGL vendor    : ", "OpenGL renderer  : ",
                             "OpenGL extensions: ", "WGL extensions   : ", "Found: GL_ARB_multitexture",
                             "Found: WGL_ARB_pbuffer", "Found: WGL_ARB_pixel_format", "Found: WGL_ARB_render_texture",
                             "GL_MAX_TEXTURE_UNITS_ARB = ", "TOGLRENDERDEVICE attached to a viewport", "Startup took ",
                             "Shuting down primary subsystems...", "Stopping engine timer...",
                             "tSubSystem.Init()->tWinGameEngine.RegisterSubsystem(TNULLAUDIOSUBSYSTEM)"})
        EXPECT_TRUE(Contains(R.EngineLog, Line)) << Line;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    EXPECT_TRUE(Contains(R.ProfilerLog, "MAINLOOP")) << R.ProfilerLog;
    // The timer is measured at start-up and again for the profiler's report.
    const std::size_t Measured = R.EngineLog.find("CPUCycles=");
    ASSERT_NE(Measured, std::string::npos);
    EXPECT_NE(R.EngineLog.find("CPUCycles=", Measured + 1), std::string::npos);

    // The newest console message ("3 subsystems active:" and the names) at the
    // top left, the three frame-rate lines at the right edge, nothing between.
    tScreenImage Shot = R.Screenshot("ScreenShots/fps.bmp");
    ASSERT_EQ(Shot.Width, 1024);
    ASSERT_EQ(Shot.Height, 768);
    EXPECT_GT(Shot.CountBright(0, 20, 300, 48), 20);
    EXPECT_GT(Shot.CountBright(1024 - 140, 20, 1024, 48), 20);  // FPS
    EXPECT_GT(Shot.CountBright(1024 - 140, 48, 1024, 64), 20);  // Sec/Frm
    EXPECT_GT(Shot.CountBright(1024 - 140, 64, 1024, 80), 20);  // Upd/Frm
    EXPECT_EQ(Shot.CountBright(300, 20, 1024 - 140, 768), 0);
    EXPECT_EQ(Shot.CountBright(0, 90, 1024, 768), 0);
}

TEST(GameStartUp, CountsRunsAndKeepsTheFirstRunVersion) {
    tGameRun Game;
    Game.SetINIValue("RunsCount", "41");
    Game.AppendDataFile("StdConfig/console.cfg", "\nQuit\n");
    ASSERT_EQ(Game.Run().ExitCode, 0);
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0);
    const std::string INI = R.ReadDataFile("StdConfig/engine.ini");
    EXPECT_TRUE(HasLine(INI, "RunsCount=43")) << INI;
    EXPECT_TRUE(HasLine(INI, "FirstRun=0.4.58.9996")) << INI;
    EXPECT_TRUE(HasLine(INI, "MathServer=tGenericMathServer")) << INI;
}

// While the start-up scripts run (here one stands still for two seconds, as
// a long load does) the window shows the frame drawn while the caches warm
// up: one line of text in the middle, nothing else. The window is captured
// from outside, as a player sees it.
TEST(GameStartUp, ShowsTheWarmUpMessageWhileStarting) {
    tGameRun Game;
    Game.AddRenderScenePackage();
    Game.AppendDataFile("StdConfig/console.cfg", "\nSpawnClass tStall\nQuit\n");
    Game.AddDriverStep("timeout 30 sh -c 'until grep -q Stalling engine.log; do sleep 0.05; done'");
    Game.AddDriverStep("mkdir -p Data/ScreenShots; import -window \"$WINDOW\" -type TrueColor BMP3:Data/ScreenShots/warmup.bmp");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    tScreenImage Shot = R.Screenshot("ScreenShots/warmup.bmp");
    ASSERT_EQ(Shot.Width, 1024);
    const int32_t TextLeft = (1024 - 192) / 2, Baseline = 768 / 2 - 16 + 40;
    const int32_t InMessage = Shot.CountBright(TextLeft, Baseline - 16, TextLeft + 200, Baseline + 5);
    EXPECT_GT(InMessage, 100);
    EXPECT_EQ(Shot.CountBright(0, 0, 1024, 768), InMessage);
    EXPECT_EQ(Shot.At(10, 700), 0x000000u);  // cleared to black
}

TEST(GameStartUp, LoadsThePackagesOfTheDataDirectory) {
    tGameRun Game;
    Game.AddPackage(HALVARDINE_TEST_PACKAGE);
    Game.AppendDataFile("StdConfig/console.cfg", "\nQuit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "...loading package: ")) << R.EngineLog;
    EXPECT_TRUE(Contains(R.EngineLog, "timerpackage.so")) << R.EngineLog;
}

// "MaxTickRate" paces the frames (a busy machine may draw fewer, never more).
TEST(GameStartUp, MaxTickRateLimitsTheFrameRate) {
    tGameRun Game;
    Game.AppendDataFile("StdConfig/engine.cfg", "\nSet MaxTickRate 50\n");
    Game.PlayDemo("WAIT 2\nQuit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    const tProfiledSection Frames = ProfiledSection(R.ProfilerLog, "TOGLRENDERDEVICE.ENDFRAME");
    const double Running = ProfiledSection(R.ProfilerLog, "MAINLOOP").Seconds -
                           ProfiledSection(R.ProfilerLog, "TWINGAMEENGINE.INITGAME").Seconds;
    ASSERT_GT(Running, 2.0) << R.ProfilerLog;
    EXPECT_LT(Frames.Calls / Running, 55.0) << R.ProfilerLog;
    EXPECT_GT(Frames.Calls, 10) << R.ProfilerLog;
}

// Xvfb offers its one 1024 x 768 mode: full screen there works; any other
// size falls back to a window of the requested size after one retry with
// twice the width.
TEST(GameStartUp, FullScreenUsesAnOfferedModeAndFallsBackToAWindow) {
    tGameRun Supported;
    Supported.AppendDataFile("StdConfig/engine.cfg", "\nSet FullScreen True\n");
    Supported.AppendDataFile("StdConfig/console.cfg", "\nScreenShot full.bmp\nQuit\n");
    tGameResult R = Supported.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "\"Display mode changed\"")) << R.EngineLog;
    EXPECT_FALSE(Contains(R.Stdout, "Not Supported")) << R.Stdout;
    EXPECT_EQ(R.Screenshot("ScreenShots/full.bmp").Width, 1024);

    tGameRun Unsupported;
    Unsupported.AppendDataFile("StdConfig/engine.cfg", "\nSet FullScreen True\nSet ScreenWidth 800\nSet ScreenHeight 600\n");
    Unsupported.AppendDataFile("StdConfig/console.cfg", "\nScreenShot windowed.bmp\nQuit\n");
    R = Unsupported.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(HasLine(R.Stdout, "800x600x32@0Hz")) << R.Stdout;
    EXPECT_TRUE(HasLine(R.Stdout, "1600x600x32@0Hz")) << R.Stdout;
    EXPECT_TRUE(HasLine(R.Stdout, "The Requested Fullscreen Mode Is Not Supported By Your Video Card.")) << R.Stdout;
    const tScreenImage Shot = R.Screenshot("ScreenShots/windowed.bmp");
    EXPECT_EQ(Shot.Width, 800);
    EXPECT_EQ(Shot.Height, 600);
}
