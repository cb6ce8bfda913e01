// The free camera in the real game: spawned and placed by a script, flown by
// real key presses through the bindings of console.cfg, and seen through: the
// package in camerascene/ draws three boxes in the camera's view. Positions
// are read from standard output: "VarList %CameraX" looks for a variable
// named by CameraX's value and reports "Variable not found: <value>".

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "gamerun.h"

namespace {

constexpr const char* Shaders[][2] = {{"red", "File Textures\\Tests\\red.bmp"},
                                      {"green", "File Textures\\Tests\\green.bmp"},
                                      {"white", ""}};
constexpr int ScreenCentreX = 512, ScreenCentreY = 384;
// The boxes stand 100 units ahead; at the default field of view of 70 degrees
// one unit across at that depth is this many pixels on a 768-pixel-high window.
constexpr double PixelsPerUnitAt100 = 384 / std::tan(35 * 3.14159265358979323846 / 180) / 100;

void AddCameraScene(tGameRun& Game) {
    Game.AddPackage(CAMERA_SCENE_PACKAGE);
    for (const auto& [Name, Texture] : Shaders)
        Game.WriteDataFile(std::string("Shaders/CameraTest/") + Name + ".shader",
                           std::string("!!ZSS1.1\nSurfaceShader\n{\n  Projection ZPR_PERSPECTIVE\n") +
                               (*Texture ? std::string("  Texture0\n  {\n    ") + Texture + "\n  }\n" : "") +
                               "  Enable\n  {\n    ColorWrites\n    DepthWrites\n    DepthTest\n  }\n}\n");
}

// The values reported by "VarList %name", in the order printed.
std::vector<double> ReportedValues(const std::string& Stdout) {
    std::vector<double> Values;
    const std::regex Line(R"(Variable not found: (-?[0-9]+\.[0-9]{3}))");
    for (std::sregex_iterator I(Stdout.begin(), Stdout.end(), Line), End; I != End; ++I)
        Values.push_back(std::stod((*I)[1]));
    return Values;
}

enum tColour { RED, GREEN, WHITE, OTHER };

tColour ColourAt(const tScreenImage& Shot, int X, int Y) {
    const uint32_t C = Shot.At(X, Y);
    const int R = (C >> 16) & 0xFF, G = (C >> 8) & 0xFF, B = C & 0xFF;
    if (R > 200 && G < 60 && B < 60) return RED;
    if (G > 200 && R < 60 && B < 60) return GREEN;
    if (R > 200 && G > 200 && B > 200) return WHITE;
    return OTHER;
}

}  // namespace

TEST(GameFreeCamera, PlacedByVariablesFlownByKeysAndSeenThrough) {
    tGameRun Game;
    AddCameraScene(Game);
    // Level, heading north (+y), 100 units in front of the red box.
    Game.PlayDemo(
        "SpawnClass tCameraTestScene\n"
        "SpawnClass tFreeCamera\n"
        "Set CameraX 100.0\nSet CameraY 200.0\nSet CameraZ 50.0\n"
        "Set HorizAngle 0\nSet VertAngle 16384\nSet CameraSpeed 20.0\n"
        "WAIT 0.5\n"
        "VarList %CameraX\nVarList %CameraY\nVarList %CameraZ\n"
        "ScreenShot placed.bmp\n");
    Game.AppendDataFile("StdConfig/console.cfg",
                        "\nBind VK_F5 \"VarList %CameraX; VarList %CameraY; VarList %CameraZ; ScreenShot flown.bmp\"\n");
    Game.WaitForDataFile("ScreenShots/placed.bmp");
    Game.AddDriverStep("xdotool mousemove 500 400");
    // Insert slides the camera west (left); the red box moves right on screen.
    Game.AddDriverStep("xdotool keydown Insert; sleep 0.4; xdotool keyup Insert; sleep 0.2");
    Game.AddDriverStep("xdotool key F5");
    Game.WaitForDataFile("ScreenShots/flown.bmp");
    Game.AddDriverStep("xdotool key F10");
    const tGameResult R = Game.Run(60);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr << R.Stdout;

    const std::vector<double> Values = ReportedValues(R.Stdout);
    ASSERT_EQ(Values.size(), 6u) << R.Stdout;
    EXPECT_EQ(Values[0], 100.0);
    EXPECT_EQ(Values[1], 200.0);
    EXPECT_EQ(Values[2], 50.0);
    // Only x changed, by the speed times the time the key was down (0.4 s,
    // give or take the scheduling of a loaded machine).
    const double Moved = 100.0 - Values[3];
    EXPECT_GT(Moved, 2.0);
    EXPECT_LT(Moved, 40.0);
    EXPECT_EQ(Values[4], 200.0);
    EXPECT_EQ(Values[5], 50.0);

    // Placed: the red box in the middle, the green one east (right) of it,
    // the white one above it.
    const tScreenImage Placed = R.Screenshot("ScreenShots/placed.bmp");
    ASSERT_EQ(Placed.Width, 1024);
    const int Offset = static_cast<int>(std::lround(40 * PixelsPerUnitAt100));
    EXPECT_EQ(ColourAt(Placed, ScreenCentreX, ScreenCentreY), RED);
    EXPECT_EQ(ColourAt(Placed, ScreenCentreX + Offset, ScreenCentreY), GREEN);
    EXPECT_EQ(ColourAt(Placed, ScreenCentreX, ScreenCentreY - Offset), WHITE);
    EXPECT_EQ(ColourAt(Placed, ScreenCentreX - Offset, ScreenCentreY), OTHER);

    // Flown: the red box has moved right by the distance flown, in perspective.
    const tScreenImage Flown = R.Screenshot("ScreenShots/flown.bmp");
    const int RedX = ScreenCentreX + static_cast<int>(std::lround(Moved * PixelsPerUnitAt100));
    EXPECT_EQ(ColourAt(Flown, RedX, ScreenCentreY), RED) << "red box expected at x " << RedX;
    if (RedX - ScreenCentreX > 30) {
        EXPECT_NE(ColourAt(Flown, ScreenCentreX - 30, ScreenCentreY), RED);
    }
}
