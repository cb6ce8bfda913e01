// The terrain's height map reader, its quadtree (split, neighbours, level
// choice, deviation caches), the junction rule that keeps neighbouring leaves
// of different levels closed, and the camera-height queries.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/enginehost.h"
#include "common/testenv.h"
#include "game/terrain/mipindices.h"
#include "game/terrain/quadtree.h"
#include "game/terrain/quadtreeleaf.h"
#include "game/terrain/terrainheights.h"
#include "kernel/core/globals.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/shadersetup/oglshader.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/heightmapresource.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/world/forest.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"

namespace {

namespace fs = std::filesystem;

std::string EightBitMap(int32_t Size, const std::function<uint8_t(int32_t, int32_t)>& Height) {
    std::string Raw;
    for (int32_t X = 0; X < Size; ++X)
        for (int32_t Y = 0; Y < Size; ++Y) Raw += char(Height(X, Y));
    return Raw;
}

std::string SixteenBitMap(int32_t Size, const std::function<uint16_t(int32_t, int32_t)>& Height) {
    std::string Raw;
    for (int32_t X = 0; X < Size; ++X)
        for (int32_t Y = 0; Y < Size; ++Y) {
            const uint16_t H = Height(X, Y);
            Raw += char(H & 0xFF);
            Raw += char(H >> 8);
        }
    return Raw;
}

int Occurrences(const std::string& Text, const std::string& Part) {
    int Count = 0;
    for (std::size_t At = Text.find(Part); At != std::string::npos; At = Text.find(Part, At + 1)) ++Count;
    return Count;
}

class HeightMapTest : public EngineHostTest {
protected:
    tHeightMapResource* Load(const std::string& Raw, float HScale = 1.0f) {
        Host->Work.WriteFile("Data/Terrain/test.raw", Raw);
        Map = NewObject<tHeightMapResource>();
        Map->HScale = HScale;
        Map->LoadRawHeightData("Terrain\\test.raw");
        return Map;
    }
    void TearDown() override {
        if (Map) tZObject::DisposeObject(Map);
        EngineHostTest::TearDown();
    }
    tHeightMapResource* Map = nullptr;
};

TEST_F(HeightMapTest, ReadsEightAndSixteenBitSamplesWithTheBorderFixed) {
    StartEngine();
    Load(EightBitMap(129, [](int32_t X, int32_t Y) { return uint8_t((X * 7 + Y) % 256); }), 0.5f);
    EXPECT_EQ(Map->Size, 129);
    EXPECT_FLOAT_EQ(Map->LandscapeHeight(20, 3), float((20 * 7 + 3) % 256) * 0.5f);
    EXPECT_FLOAT_EQ(Map->LandscapeHeight(128, 100), float((128 * 7 + 100) % 256) * 0.5f);
    for (auto [X, Y] : {std::pair{0, 50}, {1, 50}, {50, 1}, {129, 50}, {50, 129}, {-5, 3000}})
        EXPECT_FLOAT_EQ(Map->LandscapeHeight(X, Y), tHeightMapResource::BorderHeight) << X << "," << Y;
    EXPECT_NE(Log().find("Loading 8-bit heightmap"), std::string::npos);
    tZObject::DisposeObject(Map);

    Load(SixteenBitMap(257, [](int32_t X, int32_t Y) { return uint16_t(40000 + X * 10 + Y); }), 0.25f);
    EXPECT_EQ(Map->Size, 257);
    EXPECT_FLOAT_EQ(Map->LandscapeHeight(100, 50), float(40000 + 1000 + 50) * 0.25f);
    EXPECT_NE(Log().find("Loading 16-bit heightmap"), std::string::npos);
}

TEST_F(HeightMapTest, MalformedFilesAndParametersAreFatal) {
    StartEngine();
    EXPECT_EXIT(Load(std::string(1000, 'x')), ::testing::ExitedWithCode(255), "Unable to determine heightmap dimensions");
    EXPECT_EXIT(Load(""), ::testing::ExitedWithCode(255), "Unknown format of heightmap RAW data: Terrain.test.raw");
    Map = NewObject<tHeightMapResource>();
    EXPECT_EXIT(Map->AcceptParameter("HSCALE", "high"), ::testing::ExitedWithCode(255), "HScale should be a float number");
    EXPECT_EXIT(Map->AcceptParameter("TILEDETAILTEXTURE", "1.5.2"), ::testing::ExitedWithCode(255),
                "TileDetailTexture should be a float number");
    EXPECT_EXIT(Map->AcceptParameter("RESOURCETYPE", "ZSS"), ::testing::ExitedWithCode(255), "Can only accept ZHM params");
    Map->BeginLoad();
    EXPECT_EXIT(Map->EndLoad(), ::testing::ExitedWithCode(255), "No HI shader defined");
}

// ---- The quadtree -----------------------------------------------------------------

// A map whose heights come from a function, cut into a quadtree with vertex
// arrays in ordinary memory.
class QuadTreeTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        StartEngine();
        Manager = NewObject<tStdVertexArrayManager>();
    }
    void TearDown() override {
        if (Tree) tZObject::DisposeObject(Tree);
        for (tHeightMapResource*& Map : Maps) tZObject::DisposeObject(Map);
        tZObject::DisposeObject(Manager);
        EngineHostTest::TearDown();
    }
    tQuadTree* Build(int32_t Size, const std::function<float(int32_t, int32_t)>& Height,
                     const char* Name = "TERRAIN\\TEST.ZHM") {
        tHeightMapResource* Map = NewObject<tHeightMapResource>();
        Maps.push_back(Map);
        Map->Size = Size;
        Map->HeightData.resize(std::size_t(Size) * Size);
        for (int32_t X = 0; X < Size; ++X)
            for (int32_t Y = 0; Y < Size; ++Y) Map->HeightData[std::size_t(X) * Size + Y] = Height(X, Y);
        Map->SetBindedFileName(Name);
        FileSystem->CreateDirs(Map->GetCachingDir());
        if (Tree) tZObject::DisposeObject(Tree);
        Tree = NewObject<tQuadTree>();
        Tree->CreateTree(Map);
        return Tree;
    }
    tQuadTreeLeaf* LeafAt(int32_t X, int32_t Y) { return static_cast<tQuadTreeLeaf*>(Tree->FindSector(X, Y)); }
    std::vector<tQuadTreeLeaf*> Leaves() {
        std::vector<tQuadTreeLeaf*> All;
        const int32_t G = Tree->GetGranularity();
        for (int32_t X = 1; X < Tree->HeightMap->Size; X += G)
            for (int32_t Y = 1; Y < Tree->HeightMap->Size; Y += G) All.push_back(LeafAt(X, Y));
        return All;
    }
    // The file system maps the data directory at start: a new start sees the
    // caches the previous one wrote.
    void Restart() { FileSystem->SetRootDir("Data\\"); }
    fs::path CacheDir() const { return Host->Work.Path() / "Data" / "Cache" / "Heightmaps"; }

    static float Bumps(int32_t X, int32_t Y) { return 60.0f + 40.0f * std::sin(X * 0.37f) * std::cos(Y * 0.23f); }

    tStdVertexArrayManager* Manager = nullptr;
    std::vector<tHeightMapResource*> Maps;
    tQuadTree* Tree = nullptr;
};

TEST_F(QuadTreeTest, SplitsIntoEqualLeavesThatKnowTheirNeighbours) {
    Build(129, Bumps);
    EXPECT_EQ(Tree->GetGranularity(), 64);
    EXPECT_EQ(Leaves().size(), 4u);

    Build(513, Bumps);
    EXPECT_EQ(Tree->GetGranularity(), 128);
    const std::vector<tQuadTreeLeaf*> All = Leaves();
    ASSERT_EQ(All.size(), 16u);
    for (tQuadTreeLeaf* Leaf : All) {
        ASSERT_NE(Leaf, nullptr);
        EXPECT_EQ(Leaf->X1 - Leaf->X, 128);
        EXPECT_EQ(Leaf->Y1 - Leaf->Y, 128);
    }
    // The half-open rectangles leave the far edge to nobody.
    EXPECT_EQ(Tree->FindSector(513, 5), nullptr);
    EXPECT_EQ(Tree->FindSector(0, 5), nullptr);

    // Across the root's quarters: neighbours towards smaller Y, smaller X,
    // larger Y, larger X.
    tQuadTreeLeaf* Leaf = LeafAt(257, 129);
    EXPECT_EQ(Leaf->NeighborNodes[0], LeafAt(257, 1));
    EXPECT_EQ(Leaf->NeighborNodes[1], LeafAt(129, 129));
    EXPECT_EQ(Leaf->NeighborNodes[2], LeafAt(257, 257));
    EXPECT_EQ(Leaf->NeighborNodes[3], LeafAt(385, 129));
    tQuadTreeLeaf* Corner = LeafAt(1, 1);
    EXPECT_EQ(Corner->NeighborNodes[0], nullptr);
    EXPECT_EQ(Corner->NeighborNodes[1], nullptr);
    EXPECT_EQ(Corner->BoundingBox.Min.x, 1);
    EXPECT_EQ(Corner->BoundingBox.Max.x, 129);
}

TEST_F(QuadTreeTest, ChoosesLevelsByDistanceAndLimit) {
    Build(257, Bumps);
    tQuadTreeLeaf* Leaf = LeafAt(1, 1);
    ASSERT_EQ(Leaf->MinLOD, 1);
    // A camera exactly at the centre: no division by zero. The finest level
    // has no error at all, so distance alone never picks it.
    Tree->LastFrameCameraPos = Leaf->BoundingBox.Center;
    Tree->GetRoot()->EvaluateLOD();
    EXPECT_EQ(Leaf->LOD, 2);
    // Far away everything is coarsest; off any real place too.
    Tree->LastFrameCameraPos = {100000, 100000, 500};
    Tree->GetRoot()->EvaluateLOD();
    for (tQuadTreeLeaf* L : Leaves()) EXPECT_EQ(L->LOD, MipLevelCount);
    Tree->LastFrameCameraPos = {NAN, 0, 0};
    Tree->GetRoot()->EvaluateLOD();
    EXPECT_EQ(Leaf->LOD, MipLevelCount);
    // The reflection pass's limit.
    Tree->LastFrameCameraPos = Leaf->BoundingBox.Center;
    Tree->SetLODLimit(3);
    Tree->GetRoot()->EvaluateLOD();
    for (tQuadTreeLeaf* L : Leaves()) EXPECT_GE(L->LOD, 3);

    // A flat leaf (away from the map's border) needs no fine level, but
    // close by never the two coarsest.
    Build(513, [](int32_t, int32_t) { return 50.0f; });
    Tree->SetLODLimit(1);
    tQuadTreeLeaf* Flat = LeafAt(129, 129);
    EXPECT_EQ(Flat->MinLOD, MipLevelCount);
    Tree->LastFrameCameraPos = {Flat->BoundingBox.Center.x, Flat->BoundingBox.Center.y, 120};
    Tree->GetRoot()->EvaluateLOD();
    EXPECT_EQ(Flat->LOD, MipLevelCount - 2);
}

TEST_F(QuadTreeTest, LeavesAreDrawnNearestQuarterFirst) {
    Build(513, Bumps);
    auto* Device = NewObject<tRecordingRenderDevice>();
    Engine->Renderer = Device;
    // Over the leaf in one corner: it comes first, the far corner's leaf
    // last, and the quarter of the map around the camera before any other.
    Tree->LastFrameCameraPos = {40, 470, 300};
    Tree->GetRoot()->EvaluateLOD();
    Tree->GetRoot()->Render();
    Engine->Renderer = nullptr;
    ASSERT_EQ(Device->DrawnCount, 16);
    EXPECT_EQ(Device->Drawn[0], LeafAt(1, 385)->TerrainData);
    EXPECT_EQ(Device->Drawn[15], LeafAt(385, 1)->TerrainData);
    std::set<tVertexArray*> NearQuarter;
    for (int32_t X : {1, 129})
        for (int32_t Y : {257, 385}) NearQuarter.insert(LeafAt(X, Y)->TerrainData);
    for (int I = 0; I < 4; ++I) EXPECT_EQ(NearQuarter.count(Device->Drawn[I]), 1u) << I;
    tZObject::DisposeObject(Device);
}

TEST_F(QuadTreeTest, DeviationsAreCachedPerMapAndRebuiltWhenTheCacheIsShort) {
    Build(257, Bumps);
    EXPECT_EQ(Occurrences(Log(), "Planar deviation for ML 1: Max: "), 4);
    const fs::path Cache = CacheDir() / "TERRAIN_TEST.ZHM11291129.pdc";
    ASSERT_TRUE(fs::exists(Cache));
    EXPECT_EQ(fs::file_size(Cache), 48u);
    const float FirstMax = LeafAt(1, 1)->Deviations[2].PlanarDeviation;

    // A second tree of the same map reads every leaf from the caches.
    Restart();
    Build(257, Bumps);
    EXPECT_EQ(Occurrences(Log(), "Planar deviation for ML 1: Max: "), 4);
    EXPECT_FLOAT_EQ(LeafAt(1, 1)->Deviations[2].PlanarDeviation, FirstMax);

    // A cut-off cache is computed again and rewritten whole.
    fs::resize_file(Cache, 10);
    Restart();
    Build(257, Bumps);
    EXPECT_EQ(Occurrences(Log(), "Planar deviation for ML 1: Max: "), 5);
    EXPECT_EQ(fs::file_size(Cache), 48u);

    // Another map has caches of its own.
    Build(257, [](int32_t, int32_t) { return 9.0f; }, "TERRAIN\\OTHER.ZHM");
    EXPECT_TRUE(fs::exists(CacheDir() / "TERRAIN_OTHER.ZHM11291129.pdc"));
    EXPECT_EQ(LeafAt(1, 1)->Deviations[0].PlanarDeviation, 0.0f);
}

// A leaf lays the strip it draws into an index array of its own (a shared
// one would be overwritten by the next leaf at another level).
TEST_F(QuadTreeTest, EachLeafStartsWithTheCoarsestStripInItsOwnIndexArray) {
    Build(257, Bumps);
    std::vector<uint32_t> Coarsest(MipIndexCapacity(128, 128, MipLevelCount));
    const int32_t Count = Tesselate(Coarsest.data(), 128, 128, MipLevelCount, TJunctionInfo{});
    std::set<tElementsArray*> Arrays;
    for (tQuadTreeLeaf* Leaf : Leaves()) {
        tElementsArray* Indices = Leaf->TerrainData->GetIndices();
        Arrays.insert(Indices);
        EXPECT_EQ(Leaf->TerrainData->DrawnIndexCount(), Count);
        EXPECT_EQ(Leaf->TerrainData->GetActiveVertexCount(), 129 * 129);
        EXPECT_EQ(Indices->GetIndicesCount(), MipIndexCapacity(128, 128, 1));
        EXPECT_TRUE(std::equal(Coarsest.begin(), Coarsest.begin() + Count, Indices->GetIndices()));
    }
    EXPECT_EQ(Arrays.size(), 4u);
}

// The level draws: made while the engine has no render device yet, it stops
// with a message instead of reaching for the missing device.
TEST_F(HeightMapTest, ALevelNeedsARenderDevice) {
    StartEngine();
    EXPECT_EXIT(Linker->InstantiateClassByName("tLevel", ""), ::testing::ExitedWithCode(255),
                "Render device isn't assigned");
}

// ---- The forest -----------------------------------------------------------------------

// A forest in the engine's world, its tree shader standing ready in the
// resources manager.
class ForestTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        StartActiveEngine();
        Manager = NewObject<tStdVertexArrayManager>();
        auto* Loaded = NewObject<tZResourcesManager>();
        Resources = Loaded;
        tShaderResource* TreeShader = NewObject<tOGLShaderResource>();
        TreeShader->SetBindedFileName("TREE\\TREE.SHADER");
        Loaded->Resources.AddItem(TreeShader->AllocateListItem());
    }
    void TearDown() override {
        Engine->GetWorld()->ResetWorld();
        tZObject::DisposeObject(Resources);
        tZObject::DisposeObject(Manager);
        EngineHostTest::TearDown();
    }
    tStdVertexArrayManager* Manager = nullptr;
};

TEST_F(ForestTest, PlantsCrossedBillboardsAndIgnoresTreesBeyondItsRoom) {
    auto* Empty = InstantiateClassAs<tVirginForest>("tVirginForest");
    Empty->Update(0.01f);
    EXPECT_EQ(Empty->VA, nullptr);

    auto* Forest = InstantiateClassAs<tVirginForest>("tVirginForest");
    Forest->AddVegetation(10.5f, -3.2f, 40);
    Forest->Update(0.01f);
    EXPECT_EQ(Forest->MinX, 0);
    EXPECT_EQ(Forest->MinY, -4);
    EXPECT_EQ(Forest->MaxX, 11);
    EXPECT_EQ(Forest->MaxY, 0);
    EXPECT_FLOAT_EQ(Forest->ForestPosition.x, 5.5f);
    EXPECT_FLOAT_EQ(Forest->ForestPosition.y, -2.0f);
    ASSERT_NE(Forest->VA, nullptr);
    EXPECT_EQ(Forest->VA->GetActiveVertexCount(), 8);
    const TVector3 Top = Forest->VA->GetVertices()[2];
    EXPECT_FLOAT_EQ(Top.x, 10.5f);
    EXPECT_FLOAT_EQ(Top.y, -5.2f);
    EXPECT_FLOAT_EQ(Top.z, 44.0f);

    ::testing::internal::CaptureStdout();
    for (int32_t I = 0; I < tVirginForest::MaxVegetations + 10; ++I) Forest->AddVegetation(float(I % 100), 7, 30);
    const std::string Out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Forest->TotalVegetations(), tVirginForest::MaxVegetations);
    EXPECT_EQ(Occurrences(Out, "Forest is full"), 1) << Out;
}

// ---- The junction rule -------------------------------------------------------------

// The vertices of one edge row (R = 0 or R = H) that a strip uses, as columns.
std::set<int32_t> RowColumns(const std::vector<uint32_t>& Indices, int32_t Count, int32_t W, int32_t Row) {
    std::set<int32_t> Columns;
    for (int32_t I = 0; I < Count; ++I)
        if (int32_t(Indices[I]) / (W + 1) == Row) Columns.insert(int32_t(Indices[I]) % (W + 1));
    return Columns;
}

class JunctionRule : public EngineTest {};

TEST_F(JunctionRule, AFinerLeafMeetsACoarserNeighbourOnTheNeighboursVertices) {
    constexpr int32_t W = 16;
    std::vector<uint32_t> Fine(MipIndexCapacity(W, W, 1)), Coarse(MipIndexCapacity(W, W, 3));
    // The fine leaf at level 1 whose first-row neighbour is at level 3
    // (gradient 2) uses exactly the columns that neighbour draws on its last row.
    const int32_t FineCount = Tesselate(Fine.data(), W, W, 1, TJunctionInfo{{2, 0, 0, 0}});
    const int32_t CoarseCount = Tesselate(Coarse.data(), W, W, 3, TJunctionInfo{});
    EXPECT_EQ(FineCount, MipIndexCount(W, W, 1));
    EXPECT_EQ(RowColumns(Fine, FineCount, W, 0), (std::set<int32_t>{0, 4, 8, 12, 16}));
    EXPECT_EQ(RowColumns(Coarse, CoarseCount, W, W), (std::set<int32_t>{0, 4, 8, 12, 16}));
    // The other edges keep every vertex; a gradient of 0 changes nothing.
    EXPECT_EQ(RowColumns(Fine, FineCount, W, W).size(), std::size_t(W + 1));
    std::vector<uint32_t> Plain(Fine.size());
    Tesselate(Plain.data(), W, W, 1, TJunctionInfo{});
    EXPECT_EQ(RowColumns(Plain, FineCount, W, 0).size(), std::size_t(W + 1));
    // Every index names a vertex of the leaf.
    EXPECT_LE(*std::max_element(Fine.begin(), Fine.begin() + FineCount), uint32_t((W + 1) * (W + 1) - 1));

    EXPECT_EXIT(Tesselate(Fine.data(), W, W, 1, TJunctionInfo{{0, 6, 0, 0}}), ::testing::ExitedWithCode(255),
                "Unable to support gradient higher than 5");
    EXPECT_EXIT(Tesselate(Fine.data(), W, W, 7, TJunctionInfo{}), ::testing::ExitedWithCode(255),
                "Unable to support MipLevel=7");
}

// ---- Queries -------------------------------------------------------------------------

TEST_F(HeightMapTest, CameraHeightsFollowTheMapInTheOrderTheyWereWritten) {
    StartEngine();
    // One peak of 200 at X = 40, Y = 90; 10 everywhere else.
    Load(EightBitMap(129, [](int32_t X, int32_t Y) { return uint8_t(X == 40 && Y == 90 ? 200 : 10); }));
    tCameraHeightTable Table;
    Table.Build(*Map);
    EXPECT_FLOAT_EQ(Table.Lowest(40, 90), 205.0f);
    EXPECT_FLOAT_EQ(Table.Lowest(41, 89), 205.0f);
    EXPECT_FLOAT_EQ(Table.Lowest(90, 40), 15.0f);
    // Off the map, and on the far edge.
    EXPECT_FLOAT_EQ(Table.Lowest(0, 50), tCameraHeightTable::MinFlightHeight);
    EXPECT_FLOAT_EQ(Table.Lowest(130, 50), tCameraHeightTable::MinFlightHeight);
    EXPECT_GE(Table.Lowest(129, 129), tCameraHeightTable::MinFlightHeight);

    EXPECT_EQ(SampleIndex(NAN, 129), 0);
    EXPECT_EQ(SampleIndex(INFINITY, 129), 0);
    EXPECT_EQ(SampleIndex(1e30f, 129), 145);
    EXPECT_EQ(SampleIndex(-1e30f, 129), -16);
    EXPECT_EQ(SampleIndex(40.4f, 129), 40);
}

}  // namespace
