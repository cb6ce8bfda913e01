// Lines a player might type or a script might hold never end the game: a
// wrong argument shows a red console error and the game goes on to a clean
// "Quit". Only what the program itself needs stays fatal.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gamerun.h"

namespace fs = std::filesystem;

namespace {

// Pixels of the console's error colour (pure red) in the message line at the
// top left.
int32_t ErrorTextPixels(const tScreenImage& Shot) {
    int32_t Count = 0;
    for (int32_t Y = 0; Y < 48 && Y < Shot.Height; ++Y)
        for (int32_t X = 0; X < 600 && X < Shot.Width; ++X) {
            const uint32_t C = Shot.At(X, Y);
            if ((C >> 16) >= 200 && ((C >> 8) & 0xFF) < 60 && (C & 0xFF) < 60) ++Count;
        }
    return Count;
}

// Every bitmap below Dir, as paths relative to it.
std::vector<std::string> BitmapsBelow(const fs::path& Dir) {
    std::vector<std::string> Found;
    for (const auto& Entry : fs::recursive_directory_iterator(Dir))
        if (Entry.path().extension() == ".bmp") Found.push_back(fs::relative(Entry.path(), Dir).string());
    return Found;
}

}  // namespace

TEST(GameConsoleLines, WrongArgumentsAreConsoleErrorsAndTheGameGoesOn) {
    const std::vector<std::string> Lines = {
        "Exec nosuch.cfg",     "PlayDemo nosuch.dem",   "ScreenShot shot",          "ScreenShot C:\\x.bmp",
        "SpawnClass tNoSuchClass", "SpawnClass tSubSystem", "ScreenShot ../../x.bmp", "ScreenShot ..\\..\\x.bmp",
        "ScreenShot \\x.bmp",  "Alias Echo Quit",
    };
    std::string Demo = "WAIT 0.3\n";
    for (std::size_t I = 0; I < Lines.size(); ++I)
        Demo += Lines[I] + "\nWAIT 0.2\nScreenShot error" + std::to_string(I) + ".bmp\nWAIT 0.1\n";
    // A shot shows the frame drawn after its tick's commands, so each error
    // shot's frame ends before the next line runs.
    Demo += "Set ScreenShotDir Shots\\Today\nScreenShot my shot.bmp\nQuit\n";

    tGameRun Game;
    const std::vector<std::string> Before = BitmapsBelow(Game.WorkDir());
    Game.PlayDemo(Demo);
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // Each line's error is on screen, in red, a moment later.
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        tScreenImage Shot = R.Screenshot("ScreenShots/error" + std::to_string(I) + ".bmp");
        ASSERT_EQ(Shot.Width, 1024) << Lines[I];
        EXPECT_GT(ErrorTextPixels(Shot), 100) << Lines[I];
    }

    // The screenshots are in their directory and nowhere else; a name with
    // blanks is one file name.
    std::vector<std::string> Written;
    for (const std::string& File : BitmapsBelow(Game.WorkDir()))
        if (std::find(Before.begin(), Before.end(), File) == Before.end()) Written.push_back(File);
    EXPECT_EQ(Written.size(), Lines.size() + 1);
    for (const std::string& File : Written)
        EXPECT_TRUE(File.starts_with("Data/ScreenShots/error") || File == "Data/Shots/Today/my shot.bmp") << File;
}

TEST(GameConsoleLines, APauseSetByTheStartUpScriptOutlastsTheFirstFocus) {
    tGameRun Game;
    Game.AppendDataFile("StdConfig/engine.cfg", "\nSet EnginePaused True\n");
    Game.WriteDataFile("True", "ScreenShot paused.bmp\n");
    Game.WriteDataFile("False", "ScreenShot running.bmp\n");
    Game.PlayDemo("WAIT 0.5\nExec %EnginePaused\nQuit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(R.DataFileExists("ScreenShots/paused.bmp"));
    EXPECT_FALSE(R.DataFileExists("ScreenShots/running.bmp"));
}
