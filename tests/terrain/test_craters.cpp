// Craters: the shape a shot digs, and one impact reaching every reader of the
// heights at once (the leaves' vertices, deviations and boxes, the camera
// table, collisions, the forest), across the borders of leaves; the switch
// that stops digging; the beam's test against the ground and the sea.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "common/enginehost.h"
#include "common/testworld.h"
#include "game/beamtrace.h"
#include "game/terrain/crater.h"
#include "game/terrain/mipterrain.h"
#include "game/terrain/quadtree.h"
#include "game/terrain/quadtreeleaf.h"
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
#include "libraries/classes/varsmanager.h"

TEST(CraterShape, ABowlHalfTheRadiusDeepRingedByARimThatFallsAwayToNothing) {
    EXPECT_FLOAT_EQ(CraterProfile(0, 8), -4.0f);
    EXPECT_FLOAT_EQ(CraterProfile(8, 8), 0.8f);  // the crest of the rim
    EXPECT_LT(CraterProfile(4, 8), 0.0f);
    EXPECT_GT(CraterProfile(10, 8), 0.0f);
    EXPECT_FLOAT_EQ(CraterProfile(12, 8), 0.0f);
    EXPECT_FLOAT_EQ(CraterProfile(500, 8), 0.0f);
    // Too small to see or too large for two leaves, and no number at all.
    EXPECT_FLOAT_EQ(CraterRadiusFor(0.1f), MinCraterRadius);
    EXPECT_FLOAT_EQ(CraterRadiusFor(1e9f), MaxCraterRadius);
    EXPECT_FLOAT_EQ(CraterRadiusFor(NAN), MinCraterRadius);

    // The map's outermost ring is never dug; off the map nothing is.
    const TSampleRect Edge = CraterRect(1, 50, 4, 129);
    EXPECT_EQ(Edge.X0, 2);
    EXPECT_EQ(Edge.X1, 7);
    EXPECT_TRUE(CraterRect(-40, 50, 4, 129).Empty());
    EXPECT_TRUE(CraterRect(INFINITY, 50, 4, 129).Empty());
    EXPECT_TRUE(CraterRect(50, NAN, 4, 129).Empty());

    // Nothing is dug below height 0.
    std::vector<float> Heights(129 * 129, 1.0f);
    const TSampleRect Rect = CraterRect(60, 60, 8, 129);
    const THeightRange Range = DigCrater(Heights, 129, 60, 60, 8, Rect);
    EXPECT_FLOAT_EQ(Heights[60 * 129 + 60], 0.0f);
    EXPECT_FLOAT_EQ(Range.Low, 0.0f);
    EXPECT_FLOAT_EQ(Range.High, 1.8f);
}

namespace {

// A 257-sample map at height 40 with a low bay (height 3) where X > 200, in
// a ticking world with its forest, drawn through vertex arrays in memory.
class CraterTest : public EngineHostTest {
protected:
    static constexpr int32_t Side = 257;
    static constexpr float Ground = 40, Bay = 3;

    void SetUp() override {
        EngineHostTest::SetUp();
        RegisterTestWorldClasses();
        StartActiveEngine();
        Linker->InstantiateClassByName("tTickingWorld", "");
        Manager = NewObject<tStdVertexArrayManager>();
        auto* Loaded = NewObject<tZResourcesManager>();
        Resources = Loaded;
        for (const char* Name : {"TREE\\TREE.SHADER", "SHADERS\\TESTS\\WHITE.SHADER"}) {
            tShaderResource* Shader = NewObject<tOGLShaderResource>();
            Shader->SetBindedFileName(Name);
            Loaded->Resources.AddItem(Shader->AllocateListItem());
        }
        std::string Raw;
        for (int32_t X = 0; X < Side; ++X)
            for (int32_t Y = 0; Y < Side; ++Y) Raw += char(uint8_t(X > 200 ? Bay * 4 : Ground * 4));
        Host->Work.WriteFile("Data/Terrain/test.raw", Raw);
        Host->Work.WriteFile("Data/Terrain/test.zhm",
                             "!!ZHM1.0\nHeightMap\n{\n  HeightData Terrain\\test.raw\n  HScale 0.25\n"
                             "  ShaderName Shaders\\Tests\\white.shader\n"
                             "  LowDetailShaderName Shaders\\Tests\\white.shader\n}\n");
        Terrain = InstantiateClassAs<tMipTerrain>("tMipTerrain", "Terrain\\test.zhm");
        Engine->World->Tick(0.01f);  // the forest lays out its billboards
        tMipTerrain::CratersEnabled = true;
    }
    void TearDown() override {
        Engine->GetWorld()->ResetWorld();
        tZObject::DisposeObject(Resources);
        tZObject::DisposeObject(Manager);
        EngineHostTest::TearDown();
    }
    tQuadTreeLeaf* LeafAt(int32_t X, int32_t Y) { return static_cast<tQuadTreeLeaf*>(Terrain->QuadTree->FindSector(X, Y)); }
    float Height(int32_t X, int32_t Y) { return Terrain->HeightMap->LandscapeHeight(X, Y); }
    // The height Leaf's vertex array holds for sample (X, Y).
    static float VertexHeight(tQuadTreeLeaf* Leaf, int32_t X, int32_t Y) {
        return Leaf->TerrainData->GetVertices()[(Y - Leaf->Y) * (Leaf->X1 - Leaf->X + 1) + (X - Leaf->X)].z;
    }
    // Whether the leaf's deviations are those a full rebuild finds.
    static void ExpectDeviationsRebuilt(tQuadTreeLeaf* Leaf) {
        TPlanarDeviation Kept[MipLevelCount];
        std::copy(std::begin(Leaf->Deviations), std::end(Leaf->Deviations), Kept);
        Leaf->BuildDeviations();
        for (int32_t ML = 0; ML < MipLevelCount; ++ML) {
            EXPECT_FLOAT_EQ(Kept[ML].PlanarDeviation, Leaf->Deviations[ML].PlanarDeviation) << "level " << ML + 1;
            EXPECT_NEAR(Kept[ML].MeanPlanarDeviation, Leaf->Deviations[ML].MeanPlanarDeviation, 1e-4f);
        }
    }
    tVirginForest* Forest() {
        for (int32_t I = 1; I <= Engine->World->Actors->GetTotalItems(); ++I)
            if (auto* F = dynamic_cast<tVirginForest*>(Engine->World->Actors->GetActor(I))) return F;
        return nullptr;
    }
    int32_t TreesWithin(float X, float Y, float R) {
        return int32_t(std::count_if(Forest()->Vegetations.begin(), Forest()->Vegetations.end(),
                                     [&](const TVector3& P) { return std::hypot(P.x - X, P.y - Y) < R; }));
    }

    tStdVertexArrayManager* Manager = nullptr;
    tMipTerrain* Terrain = nullptr;
};

}  // namespace

TEST_F(CraterTest, OneImpactReachesHeightsDeviationsCameraTableCollisionsAndTrees) {
    const TVector3 Hit = {100, 90, Ground};
    tQuadTreeLeaf* Leaf = LeafAt(100, 90);
    ASSERT_GT(TreesWithin(100, 90, 8), 0);
    EXPECT_FLOAT_EQ(Terrain->GetLowestCameraHeight(100, 90), Ground + 5);
    EXPECT_TRUE(Terrain->EstimateSphereCollision({100, 90, Ground - 1.5f}, 1));

    Terrain->Impact(Hit, 8);
    EXPECT_FLOAT_EQ(Height(100, 90), Ground - 4);
    EXPECT_FLOAT_EQ(VertexHeight(Leaf, 100, 90), Ground - 4);
    EXPECT_FLOAT_EQ(VertexHeight(Leaf, 108, 90), Ground + 0.8f);
    EXPECT_LE(Leaf->BoundingBox.Min.z, Ground - 4);
    EXPECT_GE(Leaf->BoundingBox.Max.z, Ground + 0.8f);
    EXPECT_LE(Terrain->QuadTree->GetRoot()->GetBoundingBox().Min.z, Ground - 4);
    ExpectDeviationsRebuilt(Leaf);
    // The camera may sink into the bowl, not onto the rim; shots reach the floor.
    const float Deepest = std::max({Height(99, 89), Height(100, 89), Height(101, 91), Height(100, 90)});
    EXPECT_FLOAT_EQ(Terrain->GetLowestCameraHeight(100, 90), Deepest + 5);
    EXPECT_FLOAT_EQ(Terrain->GetLowestCameraHeight(108, 90), Ground + 0.8f + 5);
    EXPECT_FALSE(Terrain->EstimateSphereCollision({100, 90, Ground - 1.5f}, 1));
    EXPECT_TRUE(Terrain->EstimateSphereCollision({100, 90, Ground - 4.5f}, 1));
    // The trees in the bowl went, their billboards with them.
    EXPECT_EQ(TreesWithin(100, 90, 8), 0);
    EXPECT_EQ(Forest()->VA->GetActiveVertexCount(), 8 * Forest()->TotalVegetations());

    // Switched off, an impact leaves everything as it is.
    tMipTerrain::RegisterVariables();
    EngineVars->SetVar("Craters", false);
    EXPECT_FALSE(tMipTerrain::CratersEnabled);
    Terrain->Impact({50, 50, Ground}, 8);
    EXPECT_FLOAT_EQ(Height(50, 50), Ground);
    EXPECT_FLOAT_EQ(VertexHeight(LeafAt(50, 50), 50, 50), Ground);
}

// Leaves share their border samples: both copies follow, and no crack opens
// whatever levels the leaves draw at.
TEST_F(CraterTest, ImpactsOnTheBordersOfLeavesKeepTheSharedEdgesTogether) {
    Terrain->Impact({129, 100, Ground}, 8);
    Terrain->Impact({130, 128, Ground}, 12);
    tQuadTreeLeaf* Quarters[4] = {LeafAt(100, 100), LeafAt(140, 100), LeafAt(100, 140), LeafAt(140, 140)};
    for (tQuadTreeLeaf* Leaf : Quarters) ExpectDeviationsRebuilt(Leaf);
    for (int32_t Y = 1; Y <= 129; ++Y) {
        EXPECT_FLOAT_EQ(VertexHeight(Quarters[0], 129, Y), VertexHeight(Quarters[1], 129, Y)) << Y;
        EXPECT_FLOAT_EQ(VertexHeight(Quarters[0], 129, Y), Height(129, Y)) << Y;
    }
    for (int32_t X = 1; X <= 129; ++X)
        EXPECT_FLOAT_EQ(VertexHeight(Quarters[0], X, 129), VertexHeight(Quarters[2], X, 129)) << X;
    EXPECT_FLOAT_EQ(VertexHeight(Quarters[3], 129, 129), Height(129, 129));
    EXPECT_LT(Height(129, 129), Ground - 3);
}

TEST_F(CraterTest, ABeamStopsWhereItFirstMeetsTheGroundOrTheSea) {
    // Down onto level ground 20 units below the start, two thirds along.
    EXPECT_NEAR(SegmentMeetsTerrain(*Terrain, {50, 50, Ground + 20}, {110, 50, Ground - 10}), 2.0f / 3, 0.01f);
    EXPECT_NEAR(SegmentMeetsTerrain(*Terrain, {50, 50, Ground + 20}, {170, 50, Ground - 20}), 0.5f, 0.01f);
    EXPECT_LT(SegmentMeetsTerrain(*Terrain, {50, 50, Ground + 20}, {170, 50, Ground + 1}), 0.0f);
    EXPECT_FLOAT_EQ(SegmentMeetsTerrain(*Terrain, {50, 50, Ground - 1}, {170, 50, Ground + 9}), 0.0f);
    // A crater lets a beam through that used to stop at the surface.
    Terrain->Impact({110, 50, Ground}, 8);
    EXPECT_GT(SegmentMeetsTerrain(*Terrain, {50, 50, Ground + 20}, {170, 50, Ground - 20}), 0.53f);

    const TBeamHit Ground_ = TraceBeam(*Engine->World, {50, 80, Ground + 20}, {170, 80, Ground - 20});
    EXPECT_EQ(Ground_.Kind, TBeamHit::Ground);
    EXPECT_NEAR(Ground_.Point.x, 110, 0.1f);
    EXPECT_NEAR(Ground_.Point.z, Ground, 0.1f);
    // Over the bay the sea's surface comes first.
    const TBeamHit Sea = TraceBeam(*Engine->World, {220, 60, 27}, {240, 60, -13});
    EXPECT_EQ(Sea.Kind, TBeamHit::Sea);
    EXPECT_NEAR(Sea.Point.x, 230, 0.01f);
    EXPECT_FLOAT_EQ(Sea.Point.z, 7);
    EXPECT_EQ(TraceBeam(*Engine->World, {50, 60, Ground + 20}, {60, 60, Ground + 30}).Kind, TBeamHit::Nothing);
}
