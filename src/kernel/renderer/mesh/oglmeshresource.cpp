#include "kernel/renderer/mesh/oglmeshresource.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tOGLMeshResource, .Operations = {{"Replicate"},
                                                   {"ResizedDimension"},
                                                   {"RenderSubMeshes"},
                                                   {"AddSubMesh"},
                                                   {"Resize"},
                                                   {"AcceptParameter"},
                                                   {"CacheTo"},
                                                   {"CacheFrom"},
                                                   {"LoadFromStream"},
                                                   {"SaveToStream"}})

namespace {
// Where the search for the X extent starts.
constexpr float NoExtent = 1e21f;
}  // namespace

tOGLMeshResource::~tOGLMeshResource() {
    for (tSubMeshesList& Level : FLODs) Level.DeallocateAllItems();
}

tMeshResource* tOGLMeshResource::Replicate() {
    ProcTrace trace("tOGLMeshResource.Replicate()");
    auto* Copy = dynamic_cast<tOGLMeshResource*>(Engine->Renderer->CreateMesh());
    Logger->Guard(Copy != nullptr, "Unable to replicate a mesh of another render device");
    Copy->SetBindedFileName(GetFileName());
    for (int32_t L = 0; L < LODCount; ++L)
        for (int32_t I = 1; I <= FLODs[L].GetTotalItems(); ++I)
            Copy->FLODs[L].AddItem(FLODs[L].GetSubMesh(I)->Replicate()->AllocateListItem());
    Copy->LastResizedDimension = ResizedDimension();
    return Copy;
}

void tOGLMeshResource::RenderSubMeshes() {
    // A mesh just brought back from the purged list waits for the next frame.
    if (!RequestUsage()) return;
    const tSubMeshesList& Level = FLODs[0];
    for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) Level.GetSubMesh(I)->Render();
}

void tOGLMeshResource::AddSubMesh(tSubMesh* S) {
    Logger->Guard(S != nullptr, "SubMesh isn't assigned in AddSubMesh()");
    FLODs[FLOD - 1].AddItem(S->AllocateListItem());
}

void tOGLMeshResource::AcceptParameter(const ShortString& Name, const ShortString& Value) {
    if (!SameText(Name.view(), "CURRENTLOD")) {
        UnknownToken(Name, Value);
        return;
    }
    Logger->Guard(IsCorrectInt(Value), "Invalid numeric format for LOD number");
    const int32_t Level = Str2Int(Value);
    Logger->Guard(Level >= 1 && Level <= LODCount, "Invalid LOD number");
    FLOD = Level;
}

void tOGLMeshResource::Translate(const TVector3& V) {
    const tSubMeshesList& Level = FLODs[0];
    for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) {
        tSubMesh* S = Level.GetSubMesh(I);
        S->SetTranslationVec(S->Translation + V);
    }
}

void tOGLMeshResource::Resize(float Size) {
    ProcTrace trace("tOGLMeshResource.Resize(" + Flt2Str(Size, 3) + ")");
    Logger->Log("Mesh file name: " + GetFileName());
    LastResizedDimension = Size;
    const tSubMeshesList& Level = FLODs[0];
    tGeometryServer* Server = Engine->Renderer->GeometryServer;

    // The translations are folded back into the vertices first, so resizing
    // twice to one size gives one result.
    float MinX = NoExtent, MaxX = -NoExtent;
    for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) {
        tSubMesh* S = Level.GetSubMesh(I);
        Server->Translate(S->LocalGeometryPool, S->Translation);
        S->SetTranslationVec({0, 0, 0});
        Server->MinMaxX(S->LocalGeometryPool, MinX, MaxX);
    }
    // A mesh without sub-meshes (or vertices) leaves the extent inverted.
    const float Width = MaxX - MinX;
    if (!(Width > 0) || !std::isfinite(Width)) Logger->Fatal("Unable to rescale a zero model");
    const float Factor = Size / Width;

    for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) {
        tSubMesh* S = Level.GetSubMesh(I);
        Server->Scale(S->LocalGeometryPool, Factor);
        S->SetTranslationVec(Server->TranslateToCenter(S->LocalGeometryPool));
    }
    // The first sub-mesh (the body) sits at the origin, the others keep
    // their places around it.
    Translate(-Level.GetSubMesh(1)->Translation);
}
