// The game's four meshes drawn by the real game (the package in meshscene/):
// lit and textured where the log says each one lands, from two views, and
// drawn the same on a second start that reads them from their cache files.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "gamerun.h"

namespace {

constexpr const char* MeshFiles[] = {"plane3/plane_normals.ase", "plane4/craft.ase", "box/boulder_normals.ase",
                                     "Pickups/Credits_Pickup.ase"};
constexpr const char* MeshCacheFiles[] = {
    "Cache/Meshes/PLANE3_PLANE_NORMALS.ASE.cached", "Cache/Meshes/PLANE4_CRAFT.ASE.cached",
    "Cache/Meshes/BOX_BOULDER_NORMALS.ASE.cached", "Cache/Meshes/PICKUPS_CREDITS_PICKUP.ASE.cached"};
enum TMesh { Biplane, PursuitPlane, Boulder, Coin, MeshCount };

struct TRGB {
    int R, G, B;
};
TRGB RGB(uint32_t C) { return {int(C >> 16), int((C >> 8) & 0xFF), int(C & 0xFF)}; }

struct TSpot {
    int X = -1, Y = -1;
};

// Where the log says each mesh's origin landed in the view numbered View
// (the scene reports each view once, in the order of its meshes).
std::vector<TSpot> Spots(const std::string& Log, int View) {
    std::vector<TSpot> All;
    const std::regex Line(R"(Mesh \S+ at (-?\d+) (-?\d+))");
    for (std::sregex_iterator I(Log.begin(), Log.end(), Line), End; I != End; ++I)
        All.push_back({std::stoi((*I)[1]), std::stoi((*I)[2])});
    if (All.size() < std::size_t(MeshCount * View)) return std::vector<TSpot>(MeshCount);
    return {All.begin() + MeshCount * (View - 1), All.begin() + MeshCount * View};
}

class GameMeshes : public testing::Test {
protected:
    static void SetUpTestSuite() {
        tGameRun Game;
        Game.AddPackage(MESH_SCENE_PACKAGE);
        Game.PlayDemo(
            "SpawnClass tMeshTestScene\n"
            "WAIT 0.5\n"
            "ScreenShot view1.bmp\n"
            "Set MeshSceneView 2\n"
            "WAIT 0.3\n"
            "ScreenShot view2.bmp\n"
            "Quit\n");
        First = new tGameResult(Game.Run());
        // The second start writes its screenshots over these; the run's
        // directory goes with Game.
        for (int View : {1, 2}) FirstShots[View] = First->Screenshot(ShotName(View));
        for (const char* Cache : MeshCacheFiles) CachesWritten += First->DataFileExists(Cache);

        // Again, with the ASE texts spoilt but their dates kept: the meshes
        // can only come from the cache files the first start wrote.
        for (const char* File : MeshFiles) {
            const std::filesystem::path Path = Game.WorkDir() / "Data" / File;
            const auto Date = std::filesystem::last_write_time(Path);
            Game.WriteDataFile(File, "spoilt");
            std::filesystem::last_write_time(Path, Date);
        }
        Second = new tGameResult(Game.Run());
        for (int View : {1, 2}) SecondShots[View] = Second->Screenshot(ShotName(View));
    }
    static void TearDownTestSuite() {
        delete First;
        delete Second;
    }
    void SetUp() override { ASSERT_EQ(First->ExitCode, 0) << First->Stderr << First->Stdout; }

    static std::string ShotName(int View) { return "ScreenShots/view" + std::to_string(View) + ".bmp"; }

    static tGameResult* First;
    static tGameResult* Second;
    static tScreenImage FirstShots[3], SecondShots[3];  // by view number
    static int CachesWritten;
};

tGameResult* GameMeshes::First = nullptr;
tGameResult* GameMeshes::Second = nullptr;
tScreenImage GameMeshes::FirstShots[3];
tScreenImage GameMeshes::SecondShots[3];
int GameMeshes::CachesWritten = 0;

}  // namespace

TEST_F(GameMeshes, EachMeshIsDrawnLitAndTexturedWhereItStands) {
    for (int View : {1, 2}) {
        SCOPED_TRACE("view " + std::to_string(View));
        const tScreenImage& Shot = FirstShots[View];
        ASSERT_EQ(Shot.Width, 1024);
        const std::vector<TSpot> At = Spots(First->EngineLog, View);
        for (int M = 0; M < MeshCount; ++M) {
            ASSERT_GT(At[M].X, 0) << MeshFiles[M];
            ASSERT_LT(At[M].X, 1024) << MeshFiles[M];
        }
        // The biplane's red fuselage, the coin's gold, the boulder's grey
        // stone; the pursuit plane's olive and pale grey are at least lit.
        const TRGB Fuselage = RGB(Shot.At(At[Biplane].X, At[Biplane].Y));
        EXPECT_GT(Fuselage.R, 60);
        EXPECT_GT(Fuselage.R, 2 * Fuselage.G);
        const TRGB Gold = RGB(Shot.At(At[Coin].X, At[Coin].Y));
        EXPECT_GT(Gold.R, 50);
        EXPECT_GT(Gold.G, Gold.B + 15);
        const TRGB Stone = RGB(Shot.At(At[Boulder].X, At[Boulder].Y));
        EXPECT_GT(Stone.R, 40);
        EXPECT_LT(std::abs(Stone.R - Stone.B), 40);
        const TRGB Craft = RGB(Shot.At(At[PursuitPlane].X, At[PursuitPlane].Y));
        EXPECT_GT(Craft.R + Craft.G + Craft.B, 90);
        // Lit: the boulder's sunny side is brighter than its shaded side.
        int Sunny = 0, Shaded = 0;
        for (int D = 4; D <= 20; D += 4) {
            const TRGB Right = RGB(Shot.At(At[Boulder].X + D, At[Boulder].Y - D / 2));
            const TRGB Left = RGB(Shot.At(At[Boulder].X - D, At[Boulder].Y + D / 2));
            Sunny += Right.R + Right.G + Right.B;
            Shaded += Left.R + Left.G + Left.B;
        }
        EXPECT_NE(Sunny, Shaded);
    }
    EXPECT_TRUE(Contains(First->EngineLog, "tASELoader.LoadLOD()"));
    EXPECT_EQ(CachesWritten, MeshCount);
}

TEST_F(GameMeshes, SecondStartReadsTheCacheFilesAndDrawsTheSamePicture) {
    ASSERT_EQ(Second->ExitCode, 0) << Second->Stderr << Second->Stdout;
    EXPECT_FALSE(Contains(Second->EngineLog, "tASELoader.LoadLOD()"));
    EXPECT_TRUE(Contains(Second->EngineLog, "\"Reading LOD 1\""));
    EXPECT_TRUE(Contains(Second->EngineLog, "\"... Submeshes in this LOD 4\""));
    for (int View : {1, 2}) {
        const tScreenImage& A = FirstShots[View];
        const tScreenImage& B = SecondShots[View];
        ASSERT_EQ(A.Width, B.Width);
        ASSERT_EQ(A.Pixels.size(), B.Pixels.size());
        // Below the console's message lines the pictures are the same.
        const std::size_t From = std::size_t(A.Width) * 3 * 100;
        std::size_t Different = 0;
        for (std::size_t I = From; I < A.Pixels.size(); ++I) Different += std::abs(A.Pixels[I] - B.Pixels[I]) > 2;
        EXPECT_EQ(Different, 0u) << "view " << View;
    }
}

namespace {

// Pixels of one colour family and where their middle lies.
struct TColourPatch {
    int Count = 0;
    double X = 0, Y = 0;
};

// Within the columns [X0, X1), below the console's message lines.
template <class F>
TColourPatch Patch(const tScreenImage& Shot, F IsOfFamily, int X0 = 0, int X1 = 1024) {
    TColourPatch P;
    for (int Y = 100; Y < Shot.Height; ++Y)
        for (int X = X0; X < X1; ++X)
            if (IsOfFamily(RGB(Shot.At(X, Y)))) {
                ++P.Count;
                P.X += X;
                P.Y += Y;
            }
    if (P.Count) P.X /= P.Count, P.Y /= P.Count;
    return P;
}

bool FuselageRed(TRGB C) { return C.R > 90 && C.R > 2 * C.G && C.R > 2 * C.B; }
bool CoinGold(TRGB C) { return C.R > 80 && C.G > 55 && C.R > C.G && 10 * C.B < 6 * C.G; }
bool StoneGrey(TRGB C) { return C.R > 35 && std::abs(C.R - C.G) < 20 && std::abs(C.G - C.B) < 25; }
bool CraftOlive(TRGB C) { return C.G > 40 && C.G >= C.R && C.G > C.B + 8; }

}  // namespace

// The meshes as the game places them: spawned by name into the world, drawn
// as its actors through the free camera, from two places.
// Off for the same reason as the placement test above.
TEST(GameMeshesInTheWorld, SpawnedMeshesSeenThroughTheFreeCamera) {
    tGameRun Game;
    Game.AddPackage(MESH_SCENE_PACKAGE);
    // The boulder stands at the origin; the others where their names put them.
    Game.PlayDemo(
        "SpawnClass tActorsTestView\n"
        "SpawnClass tFreeCamera\n"
        "SpawnClass tBoxActor \"0 0 0\"\n"
        "SpawnClass tMeshExhibit \"0 -12 2 3 plane3\\plane_normals.ase\"\n"
        "SpawnClass tMeshExhibit \"6 -10 1 3 plane4\\craft.ase\"\n"
        "SpawnClass tMeshExhibit \"-6 -10 2 3 Pickups\\Credits_Pickup.ase\"\n"
        // Behind the biplane, heading north, looking a little down.
        "Set CameraX 0.0\nSet CameraY -30.0\nSet CameraZ 6.0\nSet HorizAngle 0\nSet VertAngle 15000\n"
        "WAIT 0.5\n"
        "ScreenShot behind.bmp\n"
        // South-east of them, heading north-west.
        "Set CameraX 18.0\nSet CameraY -26.0\nSet CameraZ 6.0\nSet HorizAngle 59000\n"
        "WAIT 0.3\n"
        "ScreenShot aside.bmp\n"
        "Quit\n");
    const tGameResult R = Game.Run();
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr << R.Stdout;
    const tScreenImage Behind = R.Screenshot("ScreenShots/behind.bmp"), Aside = R.Screenshot("ScreenShots/aside.bmp");
    ASSERT_EQ(Behind.Width, 1024);
    ASSERT_EQ(Aside.Width, 1024);

    // From behind: the coin on the left, the biplane (seen tail on, a small
    // red fuselage between yellow wings) in front of the boulder in the
    // middle, the pursuit plane on the right.
    const TColourPatch Gold = Patch(Behind, CoinGold, 0, 420), Red = Patch(Behind, FuselageRed, 420, 600),
                       Grey = Patch(Behind, StoneGrey, 420, 600), Olive = Patch(Behind, CraftOlive, 600, 1024);
    EXPECT_GT(Gold.Count, 1000);
    EXPECT_GT(Red.Count, 40);
    EXPECT_GT(Grey.Count, 1000);
    EXPECT_GT(Olive.Count, 40);
    EXPECT_NEAR(Red.X, 512, 30);

    // From the side everything is still in view, and has moved on the screen.
    const TColourPatch Red2 = Patch(Aside, FuselageRed), Gold2 = Patch(Aside, CoinGold),
                       Grey2 = Patch(Aside, StoneGrey), Olive2 = Patch(Aside, CraftOlive);
    for (const TColourPatch& P : {Red2, Gold2, Grey2, Olive2}) EXPECT_GT(P.Count, 40);
    EXPECT_GT(std::abs(Red2.X - Red.X), 50);
}
