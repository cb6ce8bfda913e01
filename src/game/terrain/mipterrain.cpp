#include "game/terrain/mipterrain.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "game/terrain/crater.h"
#include "game/terrain/quadtree.h"
#include "game/terrain/quadtreeleaf.h"
#include "game/terrain/terrainheights.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/loaders/scriptloaders.h"
#include "kernel/resources/heightmapresource.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/proxy.h"
#include "libraries/classes/filesystem.h"
#include "kernel/world/atmosphere.h"
#include "kernel/world/forest.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tMipTerrain, .Operations = {{"Render"},
                                              {"IsOpaque"},
                                              {"Spawned"},
                                              {"RenderReflection"},
                                              {"EstimateSphereCollision"},
                                              {"GetLowestCameraHeight"},
                                              {"Impact"}})

namespace {
// Sides the quadtree can cut into equal leaves of at most 128 cells.
constexpr int32_t AllowedSizes[] = {129, 257, 513, 1025, 2049};
constexpr int32_t MaxSize = 2049, MinSize = 129;
// The forest is the same on every start.
constexpr uint32_t PlantingSeed = 20060508;
// The largest crater, with the reach of the coarsest level's cells around
// it, spans at most three leaves each way (four on the smallest maps, whose
// leaves are 64 cells).
constexpr int32_t MaxLeavesPerImpact = 16;
}  // namespace

bool tMipTerrain::CratersEnabled = true;

void tMipTerrain::RegisterVariables() { EngineVars->RegisterVar("Craters", CratersEnabled); }

tMipTerrain::tMipTerrain(const ShortString& Params) : tTerrain(Params) {
    ProcTrace trace("tMipTerrain.Init(" + Params + ")");
    const ShortString Name = GetToken(Params, 1);
    Logger->Guard(!Name.empty(), "No height map name given to a constructor");
    AssignedRenderDevice();
    HeightMap = LoadHeightMap(Name);
    CheckSize();
    FileSystem->CreateDirs(HeightMap->GetCachingDir());
    QuadTree = NewObject<tQuadTree>();
    QuadTree->CreateTree(HeightMap);
    const float Half = float(HeightMap->Size) / 2;
    TerrainRadius = std::sqrt(Half * Half + Half * Half);
    CameraHeights.Build(*HeightMap);
    // The colour map of the near shader is the one both shaders draw.
    tShaderResource* Near = HeightMap->ShaderLOD_Hi;
    GroundColors.Attach(Near->TexturesUsed >= 0 ? Near->Texture[0].TextureID[0] : nullptr, HeightMap->Size,
                        LargestCraterRect());
}

tMipTerrain::~tMipTerrain() {
    ProcTrace trace("tMipTerrain.Done()");
    if (QuadTree) DisposeObject(QuadTree);
    if (HeightMap) DisposeObject(HeightMap);
    delete ForestProxy;
}

tHeightMapResource* tMipTerrain::LoadHeightMap(const ShortString& Name) {
    ProcTrace trace("tMipTerrain.LoadZHM(" + Name + ")");
    auto Stream = FileSystem->CreateFileReader(Name, {RF_HALTONERRORS});
    tZClass LoaderClass;
    Linker->FindFileLoader("tHeightMapLoader", Name, LoaderClass);
    tOwned<tZObject> LoaderObject(tZObject::Instantiate(LoaderClass, ""));
    auto* Loader = dynamic_cast<tHeightMapLoader*>(LoaderObject.get());
    Logger->Guard(Loader != nullptr, LoaderObject->ClassName() + " isn't a tHeightMapLoader");
    tOwned<tResource> Loaded(Loader->LoadZHM(*Stream));
    auto* Result = dynamic_cast<tHeightMapResource*>(Loaded.get());
    Logger->Guard(Result != nullptr, Loaded->ClassName() + " isn't a tHeightMapResource");
    Loaded.release();
    // The deviation caches are named after the description.
    Result->SetBindedFileName(UpCaseStr(Name));
    return Result;
}

void tMipTerrain::CheckSize() {
    const int32_t Size = HeightMap->Size;
    Logger->Guard(Size <= MaxSize,
                  "Maximal terrain size is 2049x2049 (128Mb of video memory is a limitation - force SW emulation if needed)");
    Logger->Guard(Size >= MinSize, "Minimal terrain size is 129x129 (geomorpher limitation)");
    // Other sides would leave leaves of unequal or odd extents.
    Logger->Guard(std::find(std::begin(AllowedSizes), std::end(AllowedSizes), Size) != std::end(AllowedSizes),
                  "Terrain size must be 129, 257, 513, 1025 or 2049 samples per side, not " + Int2Str(Size));
}

void tMipTerrain::Render() {
    GroundColors.Upload();
    tWorld* World = Engine->GetWorld();
    World->GetAtmosphere()->UpdateAtmosphereParams(HeightMap->ShaderLOD_Hi);
    World->GetAtmosphere()->UpdateAtmosphereParams(HeightMap->ShaderLOD_Lo);
    // Nothing under the sea is drawn.
    const TPlane Waterline = World->GetWaterlinePlane();
    Engine->Renderer->EnableClipPlane(0, Waterline.GetEquation());
    QuadTree->SetLODLimit(1);
    QuadTree->Render();
    Engine->Renderer->DisableClipPlane(0);
}

void tMipTerrain::RenderReflection() {
    QuadTree->SetLODLimit(ReflectionLODLimit);
    QuadTree->Render();
}

float tMipTerrain::GroundHeight(float X, float Y) {
    return HeightMap->LandscapeHeight(SampleIndex(X, HeightMap->Size), SampleIndex(Y, HeightMap->Size));
}

bool tMipTerrain::EstimateSphereCollision(const TVector3& Center, float Radius) {
    return Radius > Center.z - GroundHeight(Center.x, Center.y);
}

float tMipTerrain::GetLowestCameraHeight(int32_t X, int32_t Y) { return CameraHeights.Lowest(X, Y); }

// ---- Craters --------------------------------------------------------------------

void tMipTerrain::Impact(const TVector3& Position, float Radius) {
    if (!CratersEnabled) return;
    ProcTrace trace("tMipTerrain.Impact()");
    if (ImpactHeard) ImpactHeard(Position, Radius);
    const float R = CraterRadiusFor(Radius);
    const TSampleRect Rect = CraterRect(Position.x, Position.y, R, HeightMap->Size);
    if (Rect.Empty()) return;
    tQuadTreeLeaf* Leaves[MaxLeavesPerImpact];
    // A leaf's errors read samples up to a coarse cell beyond its edges.
    const int32_t Count = QuadTree->LeavesOver(Rect.Grown(MipStep(MipLevelCount)), Leaves, MaxLeavesPerImpact);
    for (int32_t I = 0; I < Count; ++I) Leaves[I]->BeginImpact(Rect);
    GroundColors.NoteLight(*HeightMap, Rect);
    const THeightRange Range = DigCrater(HeightMap->HeightData, HeightMap->Size, Position.x, Position.y, R, Rect);
    GroundColors.Repaint(*HeightMap, Position.x, Position.y, R);
    for (int32_t I = 0; I < Count; ++I) Leaves[I]->EndImpact(Rect);
    QuadTree->WidenBoxesOver(Rect, Range.Low, Range.High);
    CameraHeights.Refresh(*HeightMap, Rect);
    // The trees in the bowl go; those on the rim stay standing.
    if (ForestProxy && ForestProxy->IsAlive())
        static_cast<tForest*>(ForestProxy->GetObject())->RemoveVegetation(Position.x, Position.y, R);
}

// ---- Forest ---------------------------------------------------------------------

void tMipTerrain::Spawned() {
    ProcTrace trace("tMipTerrain.Spawned()");
    tTerrain::Spawned();
    Logger->Log("Populating forest...");
    PopulateTerrain();
}

void tMipTerrain::PopulateTerrain() {
    const int32_t Size = HeightMap->Size;
    Logger->Log("SizeX=" + Int2Str(Size));
    Logger->Log("SizeY=" + Int2Str(Size));
    tForest* Forest = InstantiateClassAs<tForest>("tVirginForest");
    delete ForestProxy;
    ForestProxy = Forest->AllocateProxy();
    std::minstd_rand Random(PlantingSeed);
    // Samples 2 .. Size - 3, away from the border.
    const auto Coordinate = [&]() { return int32_t(Random() % uint32_t(Size - 4)) + 2; };
    for (int32_t Tree = 0; Tree < PlantedTrees; ++Tree) {
        int32_t X, Y, Attempts = 0;
        float H;
        do {
            X = Coordinate();
            Y = Coordinate();
            H = HeightMap->LandscapeHeight(X, Y);
            // A map with no room left above the tree line ends the planting.
            if (++Attempts > PlantingAttempts) return;
        } while (H <= TreeLine);
        Forest->AddVegetation(float(X), float(Y), H);
    }
}
