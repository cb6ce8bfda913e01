#include "game/terrain/quadtreeleaf.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/heightmapresource.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tQuadTreeLeaf,
    .Operations = {{"Render"}, {"Refresh"}, {"EvaluateLOD"}, {"GetLOD"}, {"FindSector"}, {"IsVisible"}})

namespace {
// A camera closer than this to a leaf's centre counts as this close.
constexpr float MinCameraDistance = 1e-3f;
// Every distance beyond this falls in the same (far) shader class.
constexpr float MaxShaderDistance = 1e6f;

ShortString Bounds(int32_t X, int32_t Y, int32_t X1, int32_t Y1) {
    return "(" + Int2Str(X) + "," + Int2Str(Y) + ")-(" + Int2Str(X1) + "," + Int2Str(Y1) + ")";
}
}  // namespace

tQuadTreeLeaf::tQuadTreeLeaf(int32_t NewX, int32_t NewY, int32_t NewX1, int32_t NewY1,
                             tHeightMapResource* NewHeightMap, tQuadTree* NewQuadTree)
    : tQuadTreeSector(NewX, NewY, NewX1, NewY1, NewHeightMap, NewQuadTree) {
    ProcTrace trace("tQuadTreeLeaf.Init()");
    const ShortString CacheName = DeviationCacheName();
    if (DeviationCacheIsCurrent(CacheName)) {
        ReadDeviations(CacheName);
    } else {
        BuildDeviations();
        WriteDeviations(CacheName);
    }
    ChooseMinLOD();
    QuadTree->ActualDimension = std::min({QuadTree->ActualDimension, X1 - X, Y1 - Y});

    GenerateVertices();
    Indices = tVertexArrayManager::Current()->AllocateEmptyEA();
    Indices->AllocIndices(MipIndexCapacity(X1 - X, Y1 - Y, 1));
    TerrainData->SetIndices(Indices);
    Logger->Log("Setting indices...");
    InstallIndices(MipLevelCount, TJunctionInfo{});
    Shader = HeightMap->ShaderLOD_Lo;
}

tQuadTreeLeaf::~tQuadTreeLeaf() {
    if (TerrainData) DisposeObject(TerrainData);
    if (Indices) DisposeObject(Indices);
}

// ---- Deviations -----------------------------------------------------------------

float tQuadTreeLeaf::LandscapeHeightInterpolated(int32_t PX, int32_t PY, int32_t MipLevel) {
    const int32_t S = MipStep(MipLevel);
    const int32_t X0 = PX / S * S, Y0 = PY / S * S;
    float H00 = HeightMap->LandscapeHeight(X0, Y0);
    const float H01 = HeightMap->LandscapeHeight(X0, Y0 + S);
    const float H10 = HeightMap->LandscapeHeight(X0 + S, Y0);
    const float H11 = HeightMap->LandscapeHeight(X0 + S, Y0 + S);
    const float FX = float(PX % S) / float(S), FY = float(PY % S) / float(S);
    if (FX + FY > 1) H00 = H11;
    const float A = H00 + (H01 - H00) * FY;
    const float B = H10 + (H01 - H10) * FY;
    return A + (B - A) * FX;
}

void tQuadTreeLeaf::BuildDeviations() {
    ProcTrace trace("tQuadTreeLeaf.BuildDeviations()");
    const float Cells = float(X1 - X) * float(Y1 - Y);
    for (int32_t ML = 1; ML <= MipLevelCount; ++ML) {
        float Largest = 0;
        double Sum = 0;
        for (int32_t PX = X; PX <= X1; ++PX)
            for (int32_t PY = Y; PY <= Y1; ++PY) {
                const float E = std::fabs(HeightMap->LandscapeHeight(PX, PY) - LandscapeHeightInterpolated(PX, PY, ML));
                Largest = std::max(Largest, E);
                Sum += E;
            }
        Deviations[ML - 1] = {Largest, float(Sum / Cells)};
        Logger->Log("Planar deviation for ML " + Int2Str(ML) + ": Max: " + Flt2Str(Largest) +
                    "  Mean: " + Flt2Str(Deviations[ML - 1].MeanPlanarDeviation));
    }
}

void tQuadTreeLeaf::ChooseMinLOD() {
    MinLOD = 1;
    while (MinLOD < MipLevelCount && Deviations[MinLOD].PlanarDeviation < NegligibleDeviation) ++MinLOD;
}

// A sample's error at a level reads the corners of the coarse cell around it,
// which lie up to one step away.
TSampleRect tQuadTreeLeaf::ErrorRegion(const TSampleRect& Changed, int32_t MipLevel) const {
    const TSampleRect Near = Changed.Grown(MipStep(MipLevel));
    return {std::max(Near.X0, X), std::max(Near.Y0, Y), std::min(Near.X1, X1), std::min(Near.Y1, Y1)};
}

tQuadTreeLeaf::TErrorSum tQuadTreeLeaf::RegionErrors(const TSampleRect& Region, int32_t MipLevel) {
    float Largest = 0;
    double Sum = 0;
    for (int32_t PX = Region.X0; PX <= Region.X1; ++PX)
        for (int32_t PY = Region.Y0; PY <= Region.Y1; ++PY) {
            const float E =
                std::fabs(HeightMap->LandscapeHeight(PX, PY) - LandscapeHeightInterpolated(PX, PY, MipLevel));
            Largest = std::max(Largest, E);
            Sum += E;
        }
    return {Largest, Sum};
}

void tQuadTreeLeaf::BeginImpact(const TSampleRect& Changed) {
    for (int32_t ML = 1; ML <= MipLevelCount; ++ML)
        ErrorsBefore[ML - 1] = RegionErrors(ErrorRegion(Changed, ML), ML).Sum;
}

void tQuadTreeLeaf::EndImpact(const TSampleRect& Changed) {
    const double Cells = double(X1 - X) * double(Y1 - Y);
    for (int32_t ML = 1; ML <= MipLevelCount; ++ML) {
        const TErrorSum After = RegionErrors(ErrorRegion(Changed, ML), ML);
        TPlanarDeviation& D = Deviations[ML - 1];
        D.PlanarDeviation = std::max(D.PlanarDeviation, After.Largest);
        D.MeanPlanarDeviation = float(std::max(0.0, D.MeanPlanarDeviation + (After.Sum - ErrorsBefore[ML - 1]) / Cells));
    }
    ChooseMinLOD();
    const TSampleRect Mine = {std::max(Changed.X0, X), std::max(Changed.Y0, Y), std::min(Changed.X1, X1),
                              std::min(Changed.Y1, Y1)};
    StaleVertices = StaleVertices.United(Mine);
}

void tQuadTreeLeaf::FlushVertices() {
    if (StaleVertices.Empty()) return;
    TVector3* Vertices = TerrainData->GetVertices();
    const int32_t Row = X1 - X + 1;
    for (int32_t PY = StaleVertices.Y0; PY <= StaleVertices.Y1; ++PY)
        for (int32_t PX = StaleVertices.X0; PX <= StaleVertices.X1; ++PX)
            Vertices[(PY - Y) * Row + (PX - X)].z = HeightMap->LandscapeHeight(PX, PY);
    StaleVertices = {};
}

// Each height map has caches of its own, named after its description file.
ShortString tQuadTreeLeaf::DeviationCacheName() {
    const ShortString Name = ConvertResourceName(HeightMap->GetFileName());
    ShortString Dir = HeightMap->GetCachingDir();
    if (Dir.empty() || Dir[Dir.size() - 1] != '\\') Dir += '\\';
    return Dir + Name + Int2Str(Y) + Int2Str(Y1) + Int2Str(X) + Int2Str(X1) + ".pdc";
}

bool tQuadTreeLeaf::DeviationCacheIsCurrent(const ShortString& Name) {
    if (!FileSystem->FileExists(Name)) return false;
    const int32_t CacheTime = FileSystem->GetFileTime(Name);
    for (const ShortString& Source : {HeightMap->GetFileName(), HeightMap->HeightMapFileName})
        if (FileSystem->FileExists(Source) && FileSystem->GetFileTime(Source) > CacheTime) return false;
    return FileSystem->CreateFileReader(Name, {RF_HALTONERRORS})->GetSize() == DeviationRecordBytes;
}

void tQuadTreeLeaf::ReadDeviations(const ShortString& Name) {
    uint8_t Record[DeviationRecordBytes];
    FileSystem->CreateFileReader(Name, {RF_HALTONERRORS})->BlockRead(Record, DeviationRecordBytes);
    for (int32_t I = 0; I < MipLevelCount; ++I)
        Deviations[I] = {ReadLE<float>(Record + 8 * I), ReadLE<float>(Record + 8 * I + 4)};
}

void tQuadTreeLeaf::WriteDeviations(const ShortString& Name) {
    uint8_t Record[DeviationRecordBytes];
    for (int32_t I = 0; I < MipLevelCount; ++I) {
        WriteLE<float>(Record + 8 * I, Deviations[I].PlanarDeviation);
        WriteLE<float>(Record + 8 * I + 4, Deviations[I].MeanPlanarDeviation);
    }
    FileSystem->CreateFileWriter(Name, {WF_HALTONERRORS, WF_OVERWRITE})->BlockWrite(Record, DeviationRecordBytes);
}

// ---- Geometry -------------------------------------------------------------------

void tQuadTreeLeaf::GenerateVertices() {
    ProcTrace trace("tQuadTreeLeaf.GenerateVertices()");
    Logger->Log("Allocationg region: " + Bounds(X, Y, X1, Y1));
    // The number of indices a draw reads lives with the leaf's index array.
    const int32_t Samples = (X1 - X + 1) * (Y1 - Y + 1);
    TerrainData = tVertexArrayManager::Current()->AllocateVA(Samples, -1, GN_FALSE, PRIM_TRIANGLE_STRIP);
    TVector3* V = TerrainData->GetVertices();
    for (int32_t PY = Y; PY <= Y1; ++PY)
        for (int32_t PX = X; PX <= X1; ++PX) *V++ = {float(PX), float(PY), HeightMap->LandscapeHeight(PX, PY)};
    Shader = HeightMap->ShaderLOD_Hi;
}

void tQuadTreeLeaf::InstallIndices(int32_t MipLevel, const TJunctionInfo& NewJunction) {
    Indices->SetDrawCount(Tesselate(Indices->GetIndices(), X1 - X, Y1 - Y, MipLevel, NewJunction));
    LastLOD = MipLevel;
    LastJunction = NewJunction;
}

// ---- Neighbours -----------------------------------------------------------------

void tQuadTreeLeaf::Refresh() {
    // Neighbours 1..4 lie towards smaller Y, smaller X, larger Y, larger X.
    static constexpr int32_t LeafGranularity[4][2] = {{0, -1}, {-1, 0}, {0, 1}, {1, 0}};
    Logger->Log("Refreshing leaf " + Bounds(X, Y, X1, Y1));
    const int32_t G = QuadTree->GetGranularity();
    const int32_t CX = int32_t(std::lround(BoundingBox.Center.x)), CY = int32_t(std::lround(BoundingBox.Center.y));
    for (int32_t I = 0; I < 4; ++I) {
        tQuadTreeSector* Found = QuadTree->FindSector(CX + G * LeafGranularity[I][0], CY + G * LeafGranularity[I][1]);
        NeighborNodes[I] = static_cast<tQuadTreeLeaf*>(Found);
    }
}

tQuadTreeSector* tQuadTreeLeaf::FindSector(int32_t PX, int32_t PY) {
    if (!IsInsideSector(PX, PY)) return nullptr;
    Logger->Log("Found leaf: " + Bounds(X, Y, X1, Y1));
    return this;
}

// ---- Per frame ------------------------------------------------------------------

void tQuadTreeLeaf::EvaluateLOD() {
    LOD = QuadTree->FullResolution ? 1 : std::max(GetLOD(), QuadTree->GetLODLimit());
}

int32_t tQuadTreeLeaf::GetLOD() {
    const TVector3& Camera = QuadTree->LastFrameCameraPos;
    const float DX = Camera.x - BoundingBox.Center.x, DY = Camera.y - BoundingBox.Center.y,
                DZ = Camera.z - BoundingBox.Center.z;
    // A camera far off the map (or at no real place) gets the coarsest level.
    float D = std::sqrt(DX * DX + DY * DY + DZ * DZ);
    if (!std::isfinite(D)) return MipLevelCount;
    D = std::max(D, MinCameraDistance);
    int32_t L = MinLOD;
    while (L < MipLevelCount && Deviations[L - 1].PlanarDeviation / D < DeviationPerDistance) ++L;
    if (D > FarDistance && L < MipLevelCount) ++L;
    if (D < NearDistance && L >= 5) L -= 2;
    ShaderLOD = int32_t(std::lround(std::min(D, MaxShaderDistance) / ShaderClassDistance));
    return L;
}

bool tQuadTreeLeaf::IsVisible() {
    const TVector3& Camera = QuadTree->LastFrameCameraPos;
    if (std::fabs(Camera.x - BoundingBox.Center.x) > VisibilityRange ||
        std::fabs(Camera.y - BoundingBox.Center.y) > VisibilityRange)
        return false;
    return IsInsideFrustum();
}

void tQuadTreeLeaf::Render() {
    if (!IsVisible()) return;
    // Only a coarser neighbour changes an edge.
    for (int32_t I = 0; I < 4; ++I)
        Junction.Dirs[I] = NeighborNodes[I] ? uint8_t(std::max(0, NeighborNodes[I]->LOD - LOD)) : uint8_t(0);
    if (LOD != LastLOD || !(Junction == LastJunction)) InstallIndices(LOD, Junction);
    Shader = ShaderLOD < HiShaderClasses ? HeightMap->ShaderLOD_Hi : HeightMap->ShaderLOD_Lo;
    FlushVertices();
    Engine->Renderer->AddBuffer(TerrainData, Shader);
}
