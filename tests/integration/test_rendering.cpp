// The real game draws a fixed scene through the render device (the package
// in renderscene/): textured, blended, animated and GLSL-shaded quads, a
// stencil mask, a clip plane, text on top of geometry and a box in
// perspective; the screenshots are checked pixel by pixel.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>

#include "gamerun.h"

namespace {

constexpr uint32_t Red = 0xFF0000, Green = 0x00FF00, Blue = 0x0000FF, White = 0xFFFFFF, Yellow = 0xFFFF00;
// The frames clear to black, the fog colour of the start-up frame.
constexpr uint32_t Background = 0x000000;

bool Near(uint32_t A, uint32_t B, int Tolerance = 3) {
    for (int Shift : {16, 8, 0}) {
        const int D = int((A >> Shift) & 0xFF) - int((B >> Shift) & 0xFF);
        if (D > Tolerance || D < -Tolerance) return false;
    }
    return true;
}

std::string Hex(uint32_t Colour) {
    char Text[16];
    std::snprintf(Text, sizeof Text, "0x%06X", Colour);
    return Text;
}

testing::AssertionResult ColourAt(const tScreenImage& Shot, int X, int Y, uint32_t Expected) {
    const uint32_t Got = Shot.At(X, Y);
    if (Near(Got, Expected)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "at (" << X << ", " << Y << ") " << Hex(Got) << " instead of "
                                       << Hex(Expected);
}

std::size_t Count(const std::string& Text, const std::string& Part) {
    std::size_t N = 0;
    for (std::size_t At = Text.find(Part); At != std::string::npos; At = Text.find(Part, At + 1)) ++N;
    return N;
}

class GameRendering : public testing::Test {
protected:
    static void SetUpTestSuite() {
        tGameRun Game;
        Game.AddRenderScenePackage();
        Game.PlayDemo(
            "SpawnClass tRenderTestScene\n"
            "WAIT 0.5\n"
            "ScreenShot scene1.bmp\n"
            "WAIT 0.4\n"
            "ScreenShot scene2.bmp\n"
            "WAIT 0.4\n"
            "ScreenShot scene3.bmp\n"
            "Quit\n");
        Result = new tGameResult(Game.Run());
        for (const char* Name : {"scene1.bmp", "scene2.bmp", "scene3.bmp"})
            Shots.push_back(Result->Screenshot(std::string("ScreenShots/") + Name));

        // Run again with the checker's pixels blackened but its date kept:
        // the cache file written by the first run is not older, so the
        // texture comes from there.
        const std::filesystem::path Checker = Game.WorkDir() / "Data/Textures/Tests/checker.bmp";
        const auto Date = std::filesystem::last_write_time(Checker);
        std::string Bitmap = Result->ReadDataFile("Textures/Tests/checker.bmp");
        std::fill(Bitmap.begin() + BMPHeaderSize, Bitmap.end(), '\0');
        Game.WriteDataFile("Textures/Tests/checker.bmp", Bitmap);
        std::filesystem::last_write_time(Checker, Date);
        CachedRun = new tGameResult(Game.Run());
        CacheFileWritten = CachedRun->DataFileExists("Cache/Textures/TEXTURES_TESTS_CHECKER.BMP.cached");
        CachedShot = CachedRun->Screenshot("ScreenShots/scene1.bmp");
    }
    static void TearDownTestSuite() {
        delete Result;
        delete CachedRun;
        Shots.clear();
    }
    void SetUp() override {
        ASSERT_EQ(Result->ExitCode, 0) << Result->Stderr << Result->Stdout;
        ASSERT_EQ(Shots[0].Width, 1024);
    }

    static constexpr std::size_t BMPHeaderSize = 54;
    static tGameResult* Result;
    static tGameResult* CachedRun;
    static std::vector<tScreenImage> Shots;
    static bool CacheFileWritten;
    static tScreenImage CachedShot;
};

tGameResult* GameRendering::Result = nullptr;
tGameResult* GameRendering::CachedRun = nullptr;
bool GameRendering::CacheFileWritten = false;
tScreenImage GameRendering::CachedShot;
std::vector<tScreenImage> GameRendering::Shots;

}  // namespace

TEST_F(GameRendering, TexturesBlendingAndTheGLSLProgramColourTheirQuads) {
    const tScreenImage& Shot = Shots[0];
    // The checker's quadrants as the image shows them, top row first.
    EXPECT_TRUE(ColourAt(Shot, 100, 150, Red));
    EXPECT_TRUE(ColourAt(Shot, 200, 150, Green));
    EXPECT_TRUE(ColourAt(Shot, 100, 250, Blue));
    EXPECT_TRUE(ColourAt(Shot, 200, 250, White));
    // Green added to red; half-transparent blue over red.
    EXPECT_TRUE(ColourAt(Shot, 350, 150, Yellow));
    EXPECT_TRUE(ColourAt(Shot, 500, 150, 0x7F0080));
    // The program inverts red to (0, 1, 1) and scales it by (1, 0.5, 1).
    EXPECT_TRUE(ColourAt(Shot, 800, 150, 0x0080FF));
    // Nothing of the scene leaks between its quads.
    EXPECT_TRUE(ColourAt(Shot, 275, 150, Background));
    EXPECT_TRUE(ColourAt(Shot, 575, 150, Background));
}

TEST_F(GameRendering, TexturesComeBackFromTheirCacheFiles) {
    ASSERT_EQ(CachedRun->ExitCode, 0) << CachedRun->Stderr;
    EXPECT_TRUE(CacheFileWritten);
    ASSERT_EQ(CachedShot.Width, 1024);
    EXPECT_TRUE(ColourAt(CachedShot, 100, 150, Red));
    EXPECT_TRUE(ColourAt(CachedShot, 200, 250, White));
}

TEST_F(GameRendering, AnimatedTextureCyclesThroughItsFrames) {
    std::set<uint32_t> Seen;
    for (const tScreenImage& Shot : Shots) {
        const uint32_t C = Shot.At(650, 150);
        EXPECT_TRUE(Near(C, Red) || Near(C, Green) || Near(C, Blue)) << Hex(C);
        Seen.insert(C);
    }
    EXPECT_GE(Seen.size(), 2u);
}

TEST_F(GameRendering, StencilMaskAndClipPlaneLimitWhatIsDrawn) {
    const tScreenImage& Shot = Shots[0];
    EXPECT_TRUE(ColourAt(Shot, 100, 400, Red));          // inside the mask
    EXPECT_TRUE(ColourAt(Shot, 30, 340, Background));    // outside it
    EXPECT_TRUE(ColourAt(Shot, 200, 400, Background));
    EXPECT_TRUE(ColourAt(Shot, 350, 400, Red));          // left of the clip plane
    EXPECT_TRUE(ColourAt(Shot, 450, 400, Background));   // right of it
}

TEST_F(GameRendering, TextLiesOnTopOfTheGeometry) {
    const tScreenImage& Shot = Shots[0];
    EXPECT_GT(Shot.CountBright(600, 370, 800, 420), 30);
    EXPECT_TRUE(ColourAt(Shot, 880, 410, Green));
}

TEST_F(GameRendering, BoxInPerspectiveLandsWhereThePointAndTextureProjectionsSayAndIsNotCulled) {
    std::smatch M;
    ASSERT_TRUE(std::regex_search(Result->EngineLog, M, std::regex("Box centre at (\\d+) (\\d+)")))
        << Result->EngineLog;
    const int X = std::stoi(M[1]), Y = std::stoi(M[2]);
    // Placed at (-3, -4, -10) in view space: left of and below the centre.
    EXPECT_NEAR(X, 397, 3);
    EXPECT_NEAR(Y, 538, 3);
    EXPECT_TRUE(ColourAt(Shots[0], X, Y, White));
    // Projected as a texture, the centre lands on the same pixel.
    ASSERT_TRUE(std::regex_search(Result->EngineLog, M, std::regex("Texture projection at (\\d+) (\\d+)")));
    EXPECT_NEAR(std::stoi(M[1]), X, 1);
    EXPECT_NEAR(std::stoi(M[2]), Y, 1);
    EXPECT_NE(Result->EngineLog.find("Box in frustum: 1, behind the camera: 0"), std::string::npos);
}

// Closing and reopening the window builds the rendering context anew; the
// textures, GPU programs and buffer objects made before draw the same scene
// after it, and the game ends cleanly.
TEST(GameRenderingContext, SceneLooksTheSameAfterTheContextIsRebuilt) {
    tGameRun Game;
    Game.AddRenderScenePackage();
    Game.PlayDemo(
        "SpawnClass tRenderTestScene\n"
        "WAIT 0.5\n"
        "ScreenShot before.bmp\n"
        "WAIT 0.3\n"
        "SpawnClass tContextRecreator\n"
        "WAIT 0.5\n"
        "ScreenShot after.bmp\n"
        "Quit\n");
    tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr << R.Stdout;
    EXPECT_EQ(Count(R.EngineLog, "Textures, programs and buffers taken over from the previous context"), 1u);
    EXPECT_EQ(Count(R.EngineLog, "Viewport successfuly resized"), 1u);
    EXPECT_NE(R.Stdout.find("Objects left: 0"), std::string::npos) << R.Stdout;

    const tScreenImage Before = R.Screenshot("ScreenShots/before.bmp");
    const tScreenImage After = R.Screenshot("ScreenShots/after.bmp");
    ASSERT_EQ(Before.Width, 1024);
    ASSERT_EQ(After.Width, 1024);
    EXPECT_TRUE(ColourAt(After, 350, 150, Yellow));
    // The same pixels, but where the console's last line, the statistics,
    // the animated texture and the turning box change with time.
    auto Changing = [](int X, int Y) {
        return Y < 90 || (X >= 600 && X < 700 && Y >= 100 && Y < 200) || (X >= 300 && X < 480 && Y >= 460 && Y < 640);
    };
    int Differing = 0;
    for (int Y = 0; Y < 768; ++Y)
        for (int X = 0; X < 1024; ++X)
            if (!Changing(X, Y) && !Near(Before.At(X, Y), After.At(X, Y))) ++Differing;
    EXPECT_EQ(Differing, 0);
}
