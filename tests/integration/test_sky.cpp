// The sky in the running game: the numbers the atmosphere feeds reach the
// sky programs, each weather paints its sky and fog (in a rebuilt context too),
// the storm rains, and the lens flare shows only while its point is in front.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "integration/gamerun.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "libraries/math/matrix.h"

namespace {

// A shot is taken when its frame is finished: the lines after it wait.
// The free camera's tilt: 0 looks straight down, 16384 at the horizon.
constexpr int LookUp = 24384, LookLevel = 16384, LookDown = 8384;

struct TMean {
    double R = 0, G = 0, B = 0;
};

TMean MeanColor(const tScreenImage& Shot, int X0, int Y0, int X1, int Y1) {
    TMean M;
    int Count = 0;
    for (int Y = Y0; Y < Y1; ++Y)
        for (int X = X0; X < X1; ++X, ++Count) {
            const uint32_t C = Shot.At(X, Y);
            M.R += C >> 16;
            M.G += (C >> 8) & 0xFF;
            M.B += C & 0xFF;
        }
    M.R /= Count;
    M.G /= Count;
    M.B /= Count;
    return M;
}

// A level with the free camera and the sky, then the test's lines.
std::string SkyLevel(const std::string& Weather) {
    return "Set ShowStats False\nSpawnClass tLevel\nSpawnClass tFreeCamera\nSpawnClass tAtmosphereRenderer\n" + Weather +
           "\n";
}

// The pixels near the bottom edge while looking down: below the water line
// nothing of the sky is drawn, so they keep the frame's clear colour, the fog.
void ExpectFog(const tScreenImage& Shot, int R, int G, int B, const char* Weather) {
    const TMean Fog = MeanColor(Shot, 0, Shot.Height - 40, Shot.Width, Shot.Height);
    EXPECT_NEAR(Fog.R, R, 2) << Weather;
    EXPECT_NEAR(Fog.G, G, 2) << Weather;
    EXPECT_NEAR(Fog.B, B, 2) << Weather;
}

TEST(GameSky, ProgramsReceiveTheSunDirectionAndTheScatteringCoefficients) {
    tGameRun Run;
    // A probe in place of the cloudy sky: three columns show the sun
    // direction (mapped to 0..1) and the two coefficient vectors, scaled.
    Run.WriteDataFile("Shaders/Tests/skyprobe.frag",
                      "uniform vec4 local1, local2, local3;\n"
                      "void main() {\n"
                      "  vec3 C = gl_FragCoord.x < 300.0 ? local1.xyz * 0.5 + 0.5\n"
                      "         : gl_FragCoord.x < 600.0 ? local2.rgb * 300.0 : local3.rgb * 600.0;\n"
                      "  gl_FragColor = vec4(C, 1.0);\n"
                      "}\n");
    Run.WriteDataFile("Shaders/Atmosphere/clouds.shader",
                      "!!ZSS1.1\nSurfaceShader\n{\n  Projection ZPR_PERSPECTIVE\n  ShaderProgram\n  {\n"
                      "    VertexProgram Shaders\\Atmosphere\\sky.vert\n"
                      "    FragmentProgram Shaders\\Tests\\skyprobe.frag\n  }\n"
                      "  Enable\n  {\n    ColorWrites\n  }\n}\n");
    // At night: no lens flare over the probe.
    Run.WriteDataFile("StdConfig/console.cfg", SkyLevel("SpawnClass tCloudyDay 23"));
    Run.PlayDemo("Set VertAngle " + std::to_string(LookUp) + "\nWAIT 1\nScreenShot probe.bmp\nWAIT 0.2\nQuit\n");
    const tGameResult R = Run.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.EngineLog;
    const tScreenImage Shot = R.Screenshot("ScreenShots/probe.bmp");
    ASSERT_EQ(Shot.Width, 1024);

    const TMean Sun = MeanColor(Shot, 100, 300, 200, 400);
    const double X = Sun.R / 255 * 2 - 1, Y = Sun.G / 255 * 2 - 1, Z = Sun.B / 255 * 2 - 1;
    EXPECT_NEAR(std::sqrt(X * X + Y * Y + Z * Z), 1.0, 0.02);
    EXPECT_GT(Z, 0.08);

    const TScatteringCoefficients C = ComputeScattering();
    const TMean Ray = MeanColor(Shot, 400, 300, 500, 400), Mie = MeanColor(Shot, 700, 300, 800, 400);
    EXPECT_NEAR(Ray.R, C.BetaRay.x * 300 * 255, 1.5);
    EXPECT_NEAR(Ray.G, C.BetaRay.y * 300 * 255, 1.5);
    EXPECT_NEAR(Ray.B, C.BetaRay.z * 300 * 255, 1.5);
    EXPECT_NEAR(Mie.R, C.BetaMie.x * 600 * 255, 1.5);
    EXPECT_NEAR(Mie.G, C.BetaMie.y * 600 * 255, 1.5);
    EXPECT_NEAR(Mie.B, C.BetaMie.z * 600 * 255, 1.5);
}

TEST(GameSky, EachWeatherPaintsItsSkyAndFog) {
    tGameRun Run;
    Run.WriteDataFile("StdConfig/console.cfg", SkyLevel("SpawnClass tClearDay 12"));
    const std::string Up = "Set VertAngle " + std::to_string(LookUp) + "\nWAIT 0.5\n";
    const std::string Level = "Set VertAngle " + std::to_string(LookLevel) + "\nWAIT 0.5\n";
    const std::string Down = "Set VertAngle " + std::to_string(LookDown) + "\nWAIT 0.5\n";
    // Away from the sun, which rises in the north.
    Run.PlayDemo("Set HorizAngle 32768\n" + Up + "ScreenShot day_up.bmp\nWAIT 0.2\n" + Level + "ScreenShot day_level.bmp\nWAIT 0.2\n" +
                 Down + "ScreenShot day_down.bmp\nWAIT 0.2\n" +
                 // Full screen and back build the rendering context anew.
                 "Set FullScreen True\nApplyDisplay\n" + Up + "ScreenShot rebuilt_up.bmp\nWAIT 0.2\n" +
                 "Set FullScreen False\nApplyDisplay\n" +
                 "SpawnClass tCloudyDay 23\n" + Up + "ScreenShot night_up.bmp\nWAIT 0.2\n" + Down + "ScreenShot night_down.bmp\nWAIT 0.2\n" +
                 "SpawnClass tStormyDay 15\n" + Level + "ScreenShot storm_a.bmp\nWAIT 0.1\nScreenShot storm_b.bmp\nWAIT 0.2\n" +
                 "SpawnClass tHellfire 12\n" + Up + "ScreenShot hell_up.bmp\nWAIT 0.2\n" + Down + "ScreenShot hell_down.bmp\nWAIT 0.2\n" +
                 "Quit\n");
    const tGameResult R = Run.Run(120);
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.EngineLog;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // Day: a blue sky, brighter towards the horizon.
    const tScreenImage DayUp = R.Screenshot("ScreenShots/day_up.bmp");
    const TMean Sky = MeanColor(DayUp, 0, 80, 1024, 400);
    EXPECT_GT(Sky.B, 120);
    EXPECT_GT(Sky.B, Sky.R + 40);
    const tScreenImage DayLevel = R.Screenshot("ScreenShots/day_level.bmp");
    const TMean High = MeanColor(DayLevel, 0, 80, 1024, 120), Low = MeanColor(DayLevel, 0, 330, 1024, 370);
    EXPECT_GT(Low.R + Low.G + Low.B, High.R + High.G + High.B + 60);
    ExpectFog(R.Screenshot("ScreenShots/day_down.bmp"), 77, 77, 230, "day");
    // Still day in the rebuilt context: its sky reads the weather's fog.
    const TMean Rebuilt = MeanColor(R.Screenshot("ScreenShots/rebuilt_up.bmp"), 0, 80, 1024, 400);
    EXPECT_GT(Rebuilt.B, std::max(120.0, Rebuilt.R + 40));

    // Night: dark, with stars.
    const tScreenImage NightUp = R.Screenshot("ScreenShots/night_up.bmp");
    const TMean Night = MeanColor(NightUp, 0, 80, 1024, 700);
    EXPECT_LT(Night.R + Night.G + Night.B, 3 * 25);
    EXPECT_GT(NightUp.CountBright(0, 80, 1024, 700, 120), 20);
    ExpectFog(R.Screenshot("ScreenShots/night_down.bmp"), 51, 51, 77, "night");

    // Storm: grey overcast, streaks of rain that move.
    const tScreenImage StormA = R.Screenshot("ScreenShots/storm_a.bmp");
    const tScreenImage StormB = R.Screenshot("ScreenShots/storm_b.bmp");
    const TMean Storm = MeanColor(StormA, 0, 80, 1024, 300);
    EXPECT_NEAR(Storm.R, Storm.B, 8);
    EXPECT_LT(Storm.R, 130);
    int Changed = 0;
    for (int Y = 80; Y < 768; ++Y)
        for (int X = 0; X < 1024; ++X) Changed += StormA.At(X, Y) != StormB.At(X, Y);
    EXPECT_GT(Changed, 500);

    // Hellfire: red.
    const TMean Hell = MeanColor(R.Screenshot("ScreenShots/hell_up.bmp"), 0, 80, 1024, 700);
    EXPECT_GT(Hell.R, Hell.G * 2);
    EXPECT_GT(Hell.R, Hell.B * 2);
    ExpectFog(R.Screenshot("ScreenShots/hell_down.bmp"), 115, 31, 10, "hellfire");
}

// The direction the free camera looks at with the given angles.
TVector3 ViewDirection(int Vert, int Horiz) {
    TMatrix4 M = IdentityMatrix4;
    MRotateMatrixXYZF(M, TWordAngle(-Vert), 0, TWordAngle(Horiz));
    return {-M.m[2], -M.m[6], -M.m[10]};
}

TEST(GameSky, LensFlareShowsOnlyWhileItsPointIsInFront) {
    tGameRun Run;
    // No sky: the flare alone over the clear colour.
    const int Vert = LookLevel + 2000, Horiz = 7168;
    const TVector3 Camera = {64, 64, 32};
    const TVector3 Point = Camera + ViewDirection(Vert, Horiz) * 5000;
    char Params[96];
    std::snprintf(Params, sizeof Params, "\"%.2f %.2f %.2f\"", Point.x, Point.y, Point.z);
    Run.WriteDataFile("StdConfig/console.cfg", "Set ShowStats False\nSpawnClass tLevel\nSpawnClass tFreeCamera\n");
    Run.PlayDemo("Set VertAngle " + std::to_string(Vert) + "\nSet HorizAngle " + std::to_string(Horiz) +
                 "\nSpawnClass tLensFlare " + Params + "\nWAIT 0.5\nScreenShot front.bmp\nWAIT 0.2\n" +
                 "Set HorizAngle " + std::to_string(Horiz + 32768) + "\nWAIT 0.5\nScreenShot behind.bmp\nWAIT 0.2\nQuit\n");
    const tGameResult R = Run.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.EngineLog;

    // In front: the glow's core at the screen centre, where every disc lies too.
    const tScreenImage Front = R.Screenshot("ScreenShots/front.bmp");
    EXPECT_GT(Front.CountBright(492, 364, 532, 404), 1000);
    EXPECT_EQ(Front.CountBright(0, 80, 300, 768), 0);
    // Behind the camera: nothing at all.
    const tScreenImage Behind = R.Screenshot("ScreenShots/behind.bmp");
    EXPECT_EQ(Behind.CountBright(0, 80, 1024, 768, 60), 0);
}

TEST(GameSky, WeatherWithoutASkyIsDroppedAndALaterSkyStartsWithout) {
    tGameRun Run;
    Run.WriteDataFile("StdConfig/console.cfg",
                      "Set ShowStats False\nSpawnClass tLevel\nSpawnClass tFreeCamera\nSpawnClass tStormyDay 12\nSpawnClass tCloudyDay 12\n"
                      "SpawnClass tAtmosphereRenderer\n");
    Run.PlayDemo("Set VertAngle " + std::to_string(LookDown) + "\nWAIT 0.5\nScreenShot nosky.bmp\nWAIT 0.2\n"
                 "SpawnClass tStormyDay 12\nSpawnClass tCloudyDay 12\nWAIT 0.5\nQuit\n");
    const tGameResult R = Run.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stdout << R.EngineLog;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    // The sky without weather draws only its planet: the fog left behind by
    // the dropped cloudy day is the clear colour.
    ExpectFog(R.Screenshot("ScreenShots/nosky.bmp"), 77, 77, 230, "none");
}

}  // namespace
