// Shots that leave their mark, on the shipped island under a black sky (no
// weather), so that any hole in the ground shows as black: a free camera put
// below the ground is lifted onto it; a plasma shot fired straight down digs
// a crater, after which the same placement lifts the camera less; the crater
// is seen from two sides, lit and scorched and closed; an aircraft that
// crashes in front of the camera bursts into fire and smoke with a boom.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "common/testenv.h"
#include "gamerun.h"

namespace {

// The camera heights "VarList %CameraZ" printed, in order.
std::vector<double> ReportedHeights(const std::string& Stdout) {
    std::vector<double> Values;
    const std::regex Line(R"(Variable not found: (-?[0-9]+\.[0-9]{3}))");
    for (std::sregex_iterator I(Stdout.begin(), Stdout.end(), Line), End; I != End; ++I)
        Values.push_back(std::stod((*I)[1]));
    return Values;
}

struct tChange {
    int Darker = 0, Brighter = 0;
};
// Pixels whose brightness differs between two shots by more than Step.
tChange Compare(const tScreenImage& Before, const tScreenImage& After, int Step = 40) {
    tChange C;
    for (int32_t Y = 0; Y < Before.Height; ++Y)
        for (int32_t X = 0; X < Before.Width; ++X) {
            const auto Sum = [](uint32_t P) { return int((P >> 16) & 0xFF) + int((P >> 8) & 0xFF) + int(P & 0xFF); };
            const int D = Sum(After.At(X, Y)) - Sum(Before.At(X, Y));
            C.Darker += D < -Step;
            C.Brighter += D > Step;
        }
    return C;
}

template <class TTest>
int Count(const tScreenImage& Shot, TTest Test) {
    int N = 0;
    for (int32_t Y = 0; Y < Shot.Height; ++Y)
        for (int32_t X = 0; X < Shot.Width; ++X) {
            const uint32_t P = Shot.At(X, Y);
            N += Test(int((P >> 16) & 0xFF), int((P >> 8) & 0xFF), int(P & 0xFF));
        }
    return N;
}
int Black(const tScreenImage& Shot) {
    return Count(Shot, [](int R, int G, int B) { return R + G + B == 0; });
}
int Flames(const tScreenImage& Shot) {
    return Count(Shot, [](int R, int G, int B) { return R > 200 && G > 50 && G < 210 && B < 110 && R - G > 40; });
}
int Smoke(const tScreenImage& Shot) {
    return Count(Shot, [](int R, int G, int B) {
        return R > 60 && R < 200 && std::abs(R - G) < 10 && std::abs(G - B) < 10;
    });
}

// Looking down steeply at the shot's point from the south and from the east.
const char* const FromSouth = "Set CameraX 100.0\nSet CameraY 125.0\nSet CameraZ 32.0\nSet HorizAngle 0\nSet VertAngle 7000\n";
const char* const FromEast = "Set CameraX 125.0\nSet CameraY 150.0\nSet CameraZ 32.0\nSet HorizAngle 49152\nSet VertAngle 7000\n";
const char* const BelowGround = "Set CameraX 100.0\nSet CameraY 150.0\nSet CameraZ 0.0\nWAIT 0.3\nVarList %CameraZ\n";

}  // namespace

TEST(GameCraters, AShotDigsALitScorchedCraterAndACrashBurnsWithABoom) {
    tGameRun Game;
    Game.UseGameLevel();
    std::string Level = ReadWholeFile(Game.WorkDir() / "Data" / tGameRun::LevelScript);
    // No aircraft, no sky and nothing drawn over the ground.
    for (const std::string Line : {"EnterGame", "Set BotCount 3", "SpawnClass tAtmosphereRenderer",
                                   "SpawnClass tCloudyDay 14"})
        if (const std::size_t At = Level.find(Line); At != std::string::npos) Level.erase(At, Line.size());
    Level += "\nSet HUD False\n";
    Game.WriteDataFile(tGameRun::LevelScript, Level);
    Game.CaptureSound(22050);
    Game.PlayDemo(std::string("WAIT 1\n") + BelowGround + FromSouth + "WAIT 0.3\nScreenShot south1.bmp\n" + FromEast +
                  "WAIT 0.3\nScreenShot east1.bmp\n" +
                  "SpawnClass tPlasmaProjectile \"100 150 60 0 0 -150\"\nWAIT 5\n" + BelowGround + FromSouth +
                  "WAIT 0.3\nScreenShot south2.bmp\n" + FromEast + "WAIT 0.3\nScreenShot east2.bmp\n" + FromSouth +
                  // Into the hill at once; the camera stays where it is.
                  "WAIT 0.3\nSet CameraType Still\nSpawnClass tBiplane \"100 165 12.0\"\nWAIT 0.4\n"
                  "ScreenShot fire.bmp\nWAIT 1.2\n"
                  "ScreenShot smoke.bmp\nWAIT 2\nQuit\n");
    const tGameResult R = Game.Run(120);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // Lifted onto the ground, then less high over the crater's floor.
    const std::vector<double> Heights = ReportedHeights(R.Stdout);
    ASSERT_EQ(Heights.size(), 2u) << R.Stdout;
    EXPECT_GT(Heights[0], 14.0);
    EXPECT_LT(Heights[1], Heights[0] - 1.0);

    for (const char* Side : {"south", "east"}) {
        const tScreenImage Before = R.Screenshot(std::string("ScreenShots/") + Side + "1.bmp");
        const tScreenImage After = R.Screenshot(std::string("ScreenShots/") + Side + "2.bmp");
        ASSERT_EQ(After.Width, 1024) << Side;
        // Scorched inside, the wall facing the sun brighter than the slope it
        // replaced, and no sky through the ground.
        const tChange C = Compare(Before, After);
        EXPECT_GT(C.Darker, 1500) << Side;
        EXPECT_GT(C.Brighter, 30) << Side;
        EXPECT_EQ(Black(Before), 0) << Side;
        EXPECT_EQ(Black(After), 0) << Side;
    }

    // Before anything went off (the shot's own smoke may linger later).
    const tScreenImage Calm = R.Screenshot("ScreenShots/south1.bmp");
    const tScreenImage Fire = R.Screenshot("ScreenShots/fire.bmp");
    const tScreenImage Smoking = R.Screenshot("ScreenShots/smoke.bmp");
    EXPECT_LT(Flames(Calm), 50);
    EXPECT_GT(Flames(Fire), 500);
    EXPECT_GT(Smoke(Smoking), Smoke(Calm) + 1000);

    // The crash's boom, heard far better than anywhere in the first second.
    const std::string Boom = ReadWholeFile(std::string(HALVARDINE_SOURCE_DIR) + "/Data/Sounds/Explosions/boom_large.wav");
    const tCapture Large = ReadWaveCapture(Boom);
    const double End = double(R.Sound.Samples.size()) / R.Sound.Rate;
    const tSoundMatch Heard = R.Sound.Find(Large, 0, End);
    EXPECT_GT(Heard.Likeness, 2 * R.Sound.Find(Large, 0, 1).Likeness);
    EXPECT_TRUE(Contains(R.EngineLog, "tBiplane crashed at 100.00 165")) << R.EngineLog;
}
