// The console and the command line as a player meets them: Tab completes with
// real keys, a line typed in one run comes back with Up in the next, "+"
// arguments run after the start-up scripts, PNG screenshots, and the options
// that answer without opening a window.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "gamerun.h"

namespace fs = std::filesystem;

namespace {

// Opens the console once the game stands (its ready shot is written).
void OpenConsole(tGameRun& Game) {
    Game.AppendDataFile("StdConfig/console.cfg", "\nScreenShot ready.bmp\n");
    Game.WaitForDataFile("ScreenShots/ready.bmp");
    Game.AddDriverStep("xdotool mousemove 500 700; xdotool key grave; sleep 0.6");
}

// The command's standard output and exit code, run in Dir.
std::pair<std::string, int> RunCommand(const std::string& Command, const fs::path& Dir) {
    const std::string Full = "cd '" + Dir.string() + "' && " + Command + " 2>&1";
    FILE* Pipe = popen(Full.c_str(), "r");
    std::string Out;
    char Buffer[512];
    while (Pipe && fgets(Buffer, sizeof Buffer, Pipe)) Out += Buffer;
    const int Status = Pipe ? pclose(Pipe) : -1;
    return {Out, WIFEXITED(Status) ? WEXITSTATUS(Status) : -1};
}

}  // namespace

TEST(GameConsole, TabCompletesAndTypedLinesComeBackInTheNextRun) {
    tGameRun First;
    OpenConsole(First);
    // "ScreenS" is the start of the command ScreenShot and the variable
    // ScreenShotDir: Tab completes as far as both agree, Enter takes the shot.
    First.AddDriverStep("xdotool type --delay 40 'ScreenS'; xdotool key Tab; sleep 0.2; xdotool key Return; sleep 0.5");
    First.AddDriverStep("xdotool type --delay 40 'screenshot again.bmp'; xdotool key Return; sleep 0.5");
    First.AddDriverStep("xdotool type --delay 40 'quit'; xdotool key Return");
    tGameResult R1 = First.Run(60);
    ASSERT_EQ(R1.ExitCode, 0) << R1.Stderr;
    EXPECT_TRUE(R1.DataFileExists("ScreenShots/shot0000.png"));
    EXPECT_TRUE(Contains(R1.Stdout, "Objects left: 0"));
    const std::string History = R1.ReadDataFile("StdConfig/history.txt");
    EXPECT_EQ(History, "HalvardineHistory 1\nScreenShot\nscreenshot again.bmp\nquit\n");

    // A new game with the history the first one left: Up twice passes "quit".
    tGameRun Second;
    Second.WriteDataFile("StdConfig/history.txt", History);
    OpenConsole(Second);
    Second.AddDriverStep("xdotool key Up Up Return; sleep 0.5");
    Second.AddDriverStep("xdotool type --delay 40 'quit'; xdotool key Return");
    tGameResult R2 = Second.Run(60);
    ASSERT_EQ(R2.ExitCode, 0) << R2.Stderr;
    EXPECT_TRUE(R2.DataFileExists("ScreenShots/again.bmp"));
    EXPECT_FALSE(R2.DataFileExists("ScreenShots/shot0000.png"));
}

TEST(GameConsole, PlusArgumentsRunAfterTheScriptsAndShotsArePNG) {
    tGameRun Game;
    Game.UseGameLevel();
    Game.AppendDataFile("StdConfig/console.cfg", "\nSet ScreenShotDir FromScript\n");
    // One frame written twice: the PNG holds the BMP's pixels, upright.
    Game.PlayDemo("WAIT 1.5\nScreenShot same.png; ScreenShot same.bmp; ScreenShot\nWAIT 0.3\nQuit\n");
    Game.WriteDataFile("From Plus/shot0000.png", "an earlier run's shot");
    Game.AddArguments({"--no-menu", "+Set", "ScreenShotDir", "From Plus", "+Exec", "nosuch.cfg", "+Echo", "after"});
    tGameResult R = Game.Run(60);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    // The "+" group ran after console.cfg; a failing one was a console error.
    ASSERT_TRUE(R.DataFileExists("From Plus/same.png")) << R.Stdout;
    // A numbered shot takes the first number no earlier shot has.
    EXPECT_EQ(R.ReadDataFile("From Plus/shot0000.png"), "an earlier run's shot");
    EXPECT_TRUE(R.DataFileExists("From Plus/shot0001.png"));
    const tScreenImage Bitmap = R.Screenshot("From Plus/same.bmp");
    ASSERT_EQ(Bitmap.Width, 1024);

    png_image Image{};
    Image.version = PNG_IMAGE_VERSION;
    const std::string File = (R.DataDir / "From Plus" / "same.png").string();
    ASSERT_TRUE(png_image_begin_read_from_file(&Image, File.c_str())) << Image.message;
    EXPECT_EQ(Image.width, 1024u);
    EXPECT_EQ(Image.height, 768u);
    Image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> Pixels(PNG_IMAGE_SIZE(Image));
    ASSERT_TRUE(png_image_finish_read(&Image, nullptr, Pixels.data(), 0, nullptr)) << Image.message;
    EXPECT_EQ(Pixels, Bitmap.Pixels);
    // Not one colour: the island, the sea and the sky are in it.
    EXPECT_NE(Bitmap.At(10, 10), Bitmap.At(1000, 700));
}

TEST(GameConsole, HelpAndVersionAnswerWithoutADisplay) {
    tGameRun Game;  // only for its scratch directory
    const std::string Bare = std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + HALVARDINE_GAME + "'";
    auto [Version, VersionCode] = RunCommand(Bare + " --version", Game.WorkDir());
    EXPECT_EQ(VersionCode, 0);
    EXPECT_EQ(Version.rfind("Halvardine 3D Engine 0.4.58.9996", 0), 0u) << Version;
    auto [Help, HelpCode] = RunCommand(Bare + " --help", Game.WorkDir());
    EXPECT_EQ(HelpCode, 0);
    EXPECT_TRUE(Contains(Help, "--no-menu")) << Help;
    auto [Refused, RefusedCode] = RunCommand(Bare + " --frobnicate", Game.WorkDir());
    EXPECT_EQ(RefusedCode, 2);
    EXPECT_TRUE(Contains(Refused, "unknown option --frobnicate")) << Refused;
    // Nothing started: no log written.
    EXPECT_FALSE(fs::exists(Game.WorkDir() / "engine.log"));
}
