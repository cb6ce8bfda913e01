#include "kernel/world/forest.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tForest, .Operations = {{"AddVegetation", ZOP_ABSTRACT}, {"RemoveVegetation"}})
Z_IMPLEMENT_CLASS(tVirginForest, .Operations = {{"Update"},
                                                {"IsOpaque"},
                                                {"Render"},
                                                {"RenderReflection"},
                                                {"SetPosition"},
                                                {"AddVegetation"},
                                                {"RemoveVegetation"}})

namespace {
constexpr int32_t VerticesPerTree = 8;

struct TBillboardCorner {
    TVector3 Offset;
    TVector2 TexCoord;
};
// Two upright quads crossing at the trunk: one in the YZ plane, one in XZ.
constexpr float W = tVirginForest::TreeHalfWidth, T = tVirginForest::TreeHeight;
constexpr TBillboardCorner TreeCorners[VerticesPerTree] = {
    {{0, W, 0}, {0, 1}}, {{0, -W, 0}, {1, 1}}, {{0, -W, T}, {1, 0}}, {{0, W, T}, {0, 0}},
    {{W, 0, 0}, {0, 1}}, {{-W, 0, 0}, {1, 1}}, {{-W, 0, T}, {1, 0}}, {{W, 0, T}, {0, 0}},
};
}  // namespace

tVirginForest::tVirginForest(const ShortString& Name) : tForest(Name) {
    ProcTrace trace("tVirginForest.Init()");
    AssignedRenderDevice();
    Shader = Resources->LoadShader("tree\\tree.shader");
}

tVirginForest::~tVirginForest() {
    if (VA) DisposeObject(VA);
}

void tVirginForest::AddVegetation(float X, float Y, float H) {
    if (TotalVegetations() >= MaxVegetations) {
        if (!FullWarned) Warning->Log("Forest is full: trees beyond " + Int2Str(MaxVegetations) + " are ignored");
        FullWarned = true;
        return;
    }
    Vegetations.push_back({X, Y, H});
    if (X < float(MinX)) MinX = int32_t(std::floor(X));
    if (Y < float(MinY)) MinY = int32_t(std::floor(Y));
    if (X > float(MaxX)) MaxX = int32_t(std::ceil(X));
    if (Y > float(MaxY)) MaxY = int32_t(std::ceil(Y));
    PendingRegeneration = true;
}

void tVirginForest::Update(float) {
    if (PendingRegeneration) RegenerateForest();
}

void tVirginForest::RegenerateForest() {
    ProcTrace trace("tVirginForest.RegenerateForest()");
    PendingRegeneration = false;
    const float HalfW = float(MaxX - MinX) / 2, HalfH = float(MaxY - MinY) / 2;
    ForestRadius = std::sqrt(HalfW * HalfW + HalfH * HalfH);
    ForestPosition = {float(MaxX + MinX) / 2, float(MaxY + MinY) / 2, 0};
    if (VA) DisposeObject(VA);
    if (Vegetations.empty()) return;

    Logger->Log("Regenerating forest...");
    VA = tVertexArrayManager::Current()->AllocateVA(VerticesPerTree * TotalVegetations(), 0, GN_FALSE, PRIM_QUADS);
    WriteBillboards();
    Logger->Log("Created " + Int2Str(TotalVegetations()) + " vegetations");
    Engine->Renderer->CheckError();
}

void tVirginForest::WriteBillboards() {
    VA->SetActiveVertexCount(VerticesPerTree * TotalVegetations());
    TVector3* Vertex = VA->GetVertices();
    TVector2* TexCoord = VA->GetTexCoords(0);
    for (const TVector3& P : Vegetations)
        for (const TBillboardCorner& Corner : TreeCorners) {
            *Vertex++ = {P.x + Corner.Offset.x, P.y + Corner.Offset.y, P.z + Corner.Offset.z};
            *TexCoord++ = Corner.TexCoord;
        }
}

void tVirginForest::RemoveVegetation(float X, float Y, float Radius) {
    const auto Inside = [&](const TVector3& P) { return std::hypot(P.x - X, P.y - Y) < Radius; };
    const auto Gone = std::remove_if(Vegetations.begin(), Vegetations.end(), Inside);
    if (Gone == Vegetations.end()) return;
    Vegetations.erase(Gone, Vegetations.end());
    BillboardsStale = true;
}

void tVirginForest::Render() {
    // A forest waiting for its first billboards gets them at the next update.
    if (BillboardsStale && VA && !PendingRegeneration) WriteBillboards();
    BillboardsStale = false;
    if (VA && VA->GetActiveVertexCount() > 0) Engine->Renderer->AddBuffer(VA, Shader);
}
