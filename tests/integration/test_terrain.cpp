// The level with a terrain in the real game, on small height maps written by
// the test: the log of a first start and the deviation caches it leaves, a
// second start that reads them, the guards with their messages, screenshots
// looking down on leaves of different levels through which no background may
// show, and the camera kept above the ground.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "gamerun.h"

namespace {

namespace fs = std::filesystem;

constexpr int Side = 257;

// Rough ground in the quarter nearest the origin (its leaf draws fine levels),
// gentle slopes elsewhere (coarse levels), all well above the sea.
uint16_t MixedGround(int X, int Y) {
    double H = 40 + 0.05 * X + 0.03 * Y;
    if (X < 129 && Y < 129) H += 12 * std::sin(X * 0.9) * std::cos(Y * 0.7);
    return uint16_t(H * 100);
}

std::string SixteenBitMap(int Size, uint16_t (*Height)(int, int)) {
    std::string Raw;
    for (int X = 0; X < Size; ++X)
        for (int Y = 0; Y < Size; ++Y) {
            const uint16_t H = Height(X, Y);
            Raw += char(H & 0xFF);
            Raw += char(H >> 8);
        }
    return Raw;
}

std::string Shader(const std::string& Extra = "") {
    return "!!ZSS1.1\nSurfaceShader\n{\n  Projection ZPR_PERSPECTIVE\n" + Extra +
           "  Enable\n  {\n    ColorWrites\n    DepthWrites\n    DepthTest\n  }\n}\n";
}

// A run with a level whose sea, forest and terrain use plain white shaders
// (no texture: whatever is drawn is white, the background black), the map
// "Terrain\Tests\small.zhm" of Side samples, and Script after the level's
// creation in console.cfg.
void PrepareLevel(tGameRun& Game, const std::string& Raw, const std::string& Script) {
    for (const char* Name : {"Shaders/water.shader", "Shaders/water_lowdetail.shader", "Shaders/Tests/white.shader",
                             "Tree/tree.shader"})
        Game.WriteDataFile(Name, Shader());
    Game.WriteDataFile("Shaders/occluder.shader",
                       "!!ZSS1.1\nSurfaceShader\n{\n  Enable\n  {\n    DepthTest\n    OcclusionTest\n  }\n}\n");
    Game.WriteDataFile("Terrain/Tests/small.raw", Raw);
    Game.WriteDataFile("Terrain/Tests/small.zhm",
                       "!!ZHM1.0\nHeightMap\n{\n  HeightData Terrain\\Tests\\small.raw\n  HScale 0.01\n"
                       "  ShaderName Shaders\\Tests\\white.shader\n"
                       "  LowDetailShaderName Shaders\\Tests\\white.shader\n}\n");
    Game.WriteDataFile("StdConfig/console.cfg", "Bind VK_ESCAPE Quit\nSpawnClass tLevel\nSpawnClass tFreeCamera\n" + Script);
}

const std::string SpawnSmall = "SpawnClass tMipTerrain Terrain\\Tests\\small.zhm\n";

// Where each of the lines appears in Log, in order; npos for a missing one.
std::vector<std::size_t> Positions(const std::string& Log, const std::vector<std::string>& Lines) {
    std::vector<std::size_t> At;
    for (const std::string& Line : Lines) At.push_back(Log.find(Line));
    return At;
}

int Occurrences(const std::string& Text, const std::string& Part) {
    int Count = 0;
    for (std::size_t At = Text.find(Part); At != std::string::npos; At = Text.find(Part, At + 1)) ++Count;
    return Count;
}

const char* const TerrainCacheFiles[] = {"TERRAIN_TESTS_SMALL.ZHM11291129.pdc", "TERRAIN_TESTS_SMALL.ZHM1129129257.pdc",
                                  "TERRAIN_TESTS_SMALL.ZHM1292571129.pdc", "TERRAIN_TESTS_SMALL.ZHM129257129257.pdc"};

}  // namespace

TEST(GameTerrain, FirstStartComputesAndCachesDeviationsTheSecondReadsThem) {
    const std::string Raw = SixteenBitMap(Side, MixedGround);
    // The forest grows at the first tick.
    const std::string Script = SpawnSmall + "BeginPlay\n";
    const std::string Demo = "WAIT 0.3\nQuit\n";
    tGameRun First;
    PrepareLevel(First, Raw, Script);
    First.PlayDemo(Demo);
    tGameResult R = First.Run(60);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    const std::vector<std::string> Lines = {
        "\"Loading 16-bit heightmap\"",
        "\"Precalculating detail texture steps...\"",
        "\"Planar deviation for ML 1: Max: 0.000  Mean: 0.000\"",
        "\"Planar deviation for ML 6: Max: ",
        "\"Allocationg region: (1,1)-(129,129)\"",
        "\"Setting indices...\"",
        "\"Allocationg region: (129,129)-(257,257)\"",
        "\"Refreshing leaf (1,1)-(129,129)\"",
        "\"Looking for sector at (193,65)\"",
        "\"Found leaf: (129,1)-(257,129)\"",
        "\"Precalculating minimal camera heights...\"",
        "\"Populating forest...\"",
        "\"SizeX=257\"",
        "\"Regenerating forest...\"",
        "\"Created 1000 vegetations\"",
    };
    const std::vector<std::size_t> At = Positions(R.EngineLog, Lines);
    for (std::size_t I = 0; I < Lines.size(); ++I) {
        EXPECT_NE(At[I], std::string::npos) << Lines[I];
        if (I > 0) {
            EXPECT_LT(At[I - 1], At[I]) << Lines[I - 1] << " before " << Lines[I];
        }
    }
    EXPECT_EQ(Occurrences(R.EngineLog, "\"Planar deviation for ML 1: "), 4);
    EXPECT_EQ(Occurrences(R.EngineLog, "\"Allocationg region: ("), 4);
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    // The second start finds the four caches (as they were written) and
    // computes nothing.
    tGameRun Second;
    PrepareLevel(Second, Raw, Script);
    Second.PlayDemo(Demo);
    fs::create_directories(Second.WorkDir() / "Data" / "Cache" / "Heightmaps");
    for (const char* Name : TerrainCacheFiles) {
        const fs::path Cache = R.DataDir / "Cache" / "Heightmaps" / Name;
        ASSERT_TRUE(fs::exists(Cache)) << Name;
        EXPECT_EQ(fs::file_size(Cache), 48u) << Name;
        fs::copy_file(Cache, Second.WorkDir() / "Data" / "Cache" / "Heightmaps" / Name);
    }
    tGameResult Again = Second.Run(60);
    ASSERT_EQ(Again.ExitCode, 0) << Again.Stderr;
    EXPECT_EQ(Occurrences(Again.EngineLog, "Planar deviation"), 0);
    EXPECT_EQ(Occurrences(Again.EngineLog, "\"Allocationg region: ("), 4);
}

TEST(GameTerrain, GuardsEndTheGameWithTheirMessages) {
    struct {
        int Size, BytesPerSample;
        const char* Script;
        const char* Message;
    } const Cases[] = {
        {128, 1, "SpawnClass tMipTerrain Terrain\\Tests\\small.zhm\n", "Minimal terrain size is 129x129 (geomorpher limitation)"},
        {300, 1, "SpawnClass tMipTerrain Terrain\\Tests\\small.zhm\n",
         "Terrain size must be 129, 257, 513, 1025 or 2049 samples per side, not 300"},
        {129, 1, "SpawnClass tMipTerrain\n", "No height map name given to a constructor"},
    };
    for (const auto& C : Cases) {
        tGameRun Game;
        PrepareLevel(Game, std::string(std::size_t(C.Size * C.Size * C.BytesPerSample), '\x40'), C.Script);
        tGameResult R = Game.Run(30);
        EXPECT_EQ(R.ExitCode, 255) << C.Message;
        EXPECT_TRUE(Contains(R.EngineLog, std::string("Fatal error: ") + C.Message)) << C.Message;
        EXPECT_TRUE(Contains(R.Stderr, C.Message)) << R.Stderr;
    }

    // Beginning play without a terrain keeps the sea hidden and goes on.
    tGameRun NoTerrain;
    PrepareLevel(NoTerrain, "", "BeginPlay\nQuit\n");
    tGameResult R = NoTerrain.Run(30);
    EXPECT_EQ(R.ExitCode, 0) << R.Stderr;
}

// Looking straight down from several places over leaves of different levels:
// every pixel is terrain (white); a crack between leaves would show the black
// background. The same in wireframe shows the strips' lines over black.
TEST(GameTerrain, NoBackgroundShowsThroughTheTerrain) {
    struct {
        const char* Name;
        double X, Y, Z;
    } const Views[] = {{"middle", 128, 128, 160}, {"rough", 100, 100, 110}, {"smooth", 170, 170, 110}};
    tGameRun Game;
    std::string Demo = "WAIT 0.5\nSet VertAngle 0\nSet HorizAngle 0\nSet FlightMode False\n";
    for (const auto& V : Views)
        Demo += "Set CameraX " + std::to_string(V.X) + "\nSet CameraY " + std::to_string(V.Y) + "\nSet CameraZ " +
                std::to_string(V.Z) + "\nWAIT 0.3\nScreenShot " + V.Name + ".bmp\nWAIT 0.3\n";
    Demo += "Set WireFrame True\nWAIT 0.3\nScreenShot wireframe.bmp\nQuit\n";
    PrepareLevel(Game, SixteenBitMap(Side, MixedGround), SpawnSmall);
    Game.PlayDemo(Demo);
    tGameResult R = Game.Run(90);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    for (const auto& V : Views) {
        const tScreenImage Shot = R.Screenshot(std::string("ScreenShots/") + V.Name + ".bmp");
        ASSERT_GT(Shot.Width, 0) << V.Name;
        int Background = 0;
        for (int Y = 0; Y < Shot.Height; ++Y)
            for (int X = 0; X < Shot.Width; ++X) Background += Shot.At(X, Y) == 0;
        EXPECT_EQ(Background, 0) << V.Name;
    }
    const tScreenImage Wire = R.Screenshot("ScreenShots/wireframe.bmp");
    const int Lines = Wire.CountBright(0, 0, Wire.Width, Wire.Height);
    EXPECT_GT(Lines, Wire.Width * Wire.Height / 20);
    EXPECT_LT(Lines, Wire.Width * Wire.Height);
}

// A camera put below the ground is lifted above it at the next tick: at
// least 5 units over the highest sample around it.
TEST(GameTerrain, TheCameraStaysAboveTheGround) {
    tGameRun Game;
    PrepareLevel(Game, SixteenBitMap(Side, MixedGround), SpawnSmall);
    Game.PlayDemo("WAIT 0.3\nSet CameraX 200.0\nSet CameraY 100.0\nSet CameraZ 1.0\nWAIT 0.3\nVarList %CameraZ\nQuit\n");
    tGameResult R = Game.Run(60);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    std::smatch M;
    ASSERT_TRUE(std::regex_search(R.Stdout, M, std::regex(R"(Variable not found: (-?[0-9]+\.[0-9]{3}))"))) << R.Stdout;
    const double Ground = MixedGround(200, 100) / 100.0;
    EXPECT_GE(std::stod(M[1]), Ground + 5);
    EXPECT_LT(std::stod(M[1]), Ground + 6);
}

// The game as a player starts it: the island with its sea and forest in view
// from the spawn point, and nothing left behind at the end.
TEST(GameTerrain, TheIslandAsThePlayerSeesIt) {
    tGameRun Game;
    Game.UseGameLevel();
    Game.PlayDemo("WAIT 1\nScreenShot island.bmp\nQuit\n");
    tGameResult R = Game.Run(90);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr;
    EXPECT_TRUE(Contains(R.EngineLog, "\"Created 1000 vegetations\"")) << R.EngineLog;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;
    const tScreenImage Shot = R.Screenshot("ScreenShots/island.bmp");
    ASSERT_GT(Shot.Width, 0);
    int Sea = 0, Land = 0;
    for (int Y = Shot.Height / 3; Y < Shot.Height; ++Y)
        for (int X = 0; X < Shot.Width; ++X) {
            const uint32_t C = Shot.At(X, Y);
            const int Red = (C >> 16) & 0xFF, Green = (C >> 8) & 0xFF, Blue = C & 0xFF;
            Sea += Blue > Red + 20 && Blue > 60;
            Land += Green > Blue + 20 && Green > 60;
        }
    // Most of the lower two thirds is island or sea, and both are there.
    EXPECT_GT(Sea, Shot.Width * Shot.Height / 30);
    EXPECT_GT(Land, Shot.Width * Shot.Height / 10);
    EXPECT_GT(Sea + Land, Shot.Width * Shot.Height / 2);
}
