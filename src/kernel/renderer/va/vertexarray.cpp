#include "kernel/renderer/va/vertexarray.h"

#include <algorithm>
#include <cstring>

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"

Z_IMPLEMENT_CLASS(tGPUBuffer, .Operations = {{"FeedIntoGPU", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tElementsArray, .Operations = {{"FeedIntoGPU", ZOP_ABSTRACT},
                                                  {"AllocIndices", ZOP_ABSTRACT},
                                                  {"GetIndices", ZOP_ABSTRACT},
                                                  {"GetIndicesCount", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tVertexArray, .Operations = {{"FeedIntoGPU", ZOP_ABSTRACT},
                                                {"GetVertices", ZOP_ABSTRACT},
                                                {"GetNormals", ZOP_ABSTRACT},
                                                {"GetBinormals", ZOP_ABSTRACT},
                                                {"GetTangents", ZOP_ABSTRACT},
                                                {"GetTexCoords", ZOP_ABSTRACT},
                                                {"Primitive", ZOP_ABSTRACT},
                                                {"GetActiveVertexCount", ZOP_ABSTRACT},
                                                {"GetIndices", ZOP_ABSTRACT},
                                                {"SetActiveVertexCount", ZOP_ABSTRACT},
                                                {"SetIndices", ZOP_ABSTRACT},
                                                {"AllocVertices", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tVertexArraySerializer, .Operations = {{"Primitive"},
                                                          {"GetActiveVertexCount"},
                                                          {"GetIndices"},
                                                          {"SetActiveVertexCount"},
                                                          {"SetIndices"},
                                                          {"AllocVertices"},
                                                          {"Replicate"},
                                                          {"LoadFromStream"},
                                                          {"SaveToStream"}})
Z_IMPLEMENT_CLASS(tVertexArrayFeeder, .Operations = {{"FeedIntoGPU"},
                                                      {"GetVertices"},
                                                      {"GetNormals"},
                                                      {"GetBinormals"},
                                                      {"GetTangents"},
                                                      {"GetTexCoords"}})

namespace {

constexpr int32_t Vector3Bytes = sizeof(TVector3);
constexpr int32_t Vector2Bytes = sizeof(TVector2);

}  // namespace

int32_t VertexStride(int32_t Tex, TGenNormals GenNormals) {
    int32_t Normals = GenNormals == GN_TRUE ? Vector3Bytes : GenNormals == GN_TANGENT_BASIS ? 3 * Vector3Bytes : 0;
    return Vector3Bytes + Vector2Bytes * (Tex + 1) + Normals;
}

TVertexLayout VertexLayout(int32_t Count, int32_t Tex, TGenNormals GenNormals) {
    const std::size_t N = static_cast<std::size_t>(Count);
    TVertexLayout L;
    std::size_t Offset = N * Vector3Bytes;
    for (int32_t I = 0; I <= Tex; ++I, Offset += N * Vector2Bytes) L.TexCoords[I] = Offset;
    if (GenNormals != GN_FALSE) {
        L.Normals = Offset;
        Offset += N * Vector3Bytes;
    }
    if (GenNormals == GN_TANGENT_BASIS) {
        L.Tangents = Offset;
        L.Binormals = Offset + N * Vector3Bytes;
        Offset += 2 * N * Vector3Bytes;
    }
    L.Bytes = Offset;
    return L;
}

void CheckAllocationInfo(int32_t Count, int32_t Tex, TGenNormals GenNormals) {
    if (GenNormals != GN_TRUE && GenNormals != GN_FALSE && GenNormals != GN_TANGENT_BASIS)
        Logger->Fatal("Unknown GenNormals value");
    if (Count < 0) Logger->Fatal("Invalid vertex count: " + Int2Str(Count));
    if (Tex < -1 || Tex >= MaxTextureSets) Logger->Fatal("Invalid texture set index: Tex=" + Int2Str(Tex));
}

// ---- tVertexArraySerializer ------------------------------------------------

void tVertexArraySerializer::SetActiveVertexCount(int32_t Count) {
    // More than was allocated would let the builder and the stream image run
    // past the end of the arrays.
    if (Count < 0 || Count > FAllocatedVertexCount)
        Logger->Fatal("Active vertex count out of range: " + Int2Str(Count) + " (allocated: " +
                      Int2Str(FAllocatedVertexCount) + ")");
    FInfo.FActiveVertexCount = Count;
}

void tVertexArraySerializer::AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) {
    CheckAllocationInfo(Count, Tex, GenNormals);
    FInfo = {Count, Tex, GenNormals, PrimType};
    FAllocatedVertexCount = Count;
}

tVertexArray* tVertexArraySerializer::Replicate() {
    const int32_t N = FInfo.FActiveVertexCount;
    tVertexArray* Copy =
        tVertexArrayManager::Current()->AllocateVA(N, FInfo.FTex, FInfo.FGenNormals, FInfo.FPrimitive);
    Copy->SetIndices(FIndices);
    TVertexAttribute From[MaxVertexAttributes], To[MaxVertexAttributes];
    int32_t Count = CollectAttributes(*this, FInfo, From);
    CollectAttributes(*Copy, FInfo, To);
    for (int32_t I = 0; I < Count; ++I)
        std::memcpy(To[I].Values, From[I].Values, sizeof(float) * From[I].Components * static_cast<std::size_t>(N));
    return Copy;
}

int32_t tVertexArray::DrawnIndexCount() {
    tElementsArray* Indices = GetIndices();
    if (!Indices) return 0;
    const int32_t Wanted =
        Indices->GetDrawCount() == tElementsArray::NoDrawCount ? GetActiveVertexCount() : Indices->GetDrawCount();
    return std::clamp(Wanted, 0, Indices->GetIndicesCount());
}

int32_t CollectAttributes(tVertexArray& VA, const TVAAllocationInfo& Info, TVertexAttribute* Out) {
    int32_t Count = 0;
    auto Add = [&](void* Values, int32_t Components) { Out[Count++] = {static_cast<float*>(Values), Components}; };
    Add(VA.GetVertices(), 3);
    if (Info.FGenNormals != GN_FALSE) Add(VA.GetNormals(), 3);
    if (Info.FGenNormals == GN_TANGENT_BASIS) {
        Add(VA.GetTangents(), 3);
        Add(VA.GetBinormals(), 3);
    }
    for (int32_t I = 0; I <= Info.FTex; ++I) Add(VA.GetTexCoords(I), 2);
    return Count;
}

// ---- tVertexArrayFeeder ----------------------------------------------------

TVector2* tVertexArrayFeeder::GetTexCoords(int32_t Index) {
    return Index >= 0 && Index < MaxTextureSets ? FTexCoords[Index] : nullptr;
}

void tVertexArrayFeeder::RegeneratePointers(uint8_t* Base) {
    const TVertexLayout L = VertexLayout(FAllocatedVertexCount, FInfo.FTex, FInfo.FGenNormals);
    // Integer arithmetic, so a null Base yields the offsets themselves.
    auto At = [Base](std::size_t Offset) {
        return Offset == TVertexLayout::Absent ? 0 : reinterpret_cast<std::uintptr_t>(Base) + Offset;
    };
    FVertices = reinterpret_cast<TVector3*>(At(L.Positions));
    FNormals = reinterpret_cast<TVector3*>(At(L.Normals));
    FTangents = reinterpret_cast<TVector3*>(At(L.Tangents));
    FBinormals = reinterpret_cast<TVector3*>(At(L.Binormals));
    for (int32_t I = 0; I < MaxTextureSets; ++I) FTexCoords[I] = reinterpret_cast<TVector2*>(At(L.TexCoords[I]));
}

void tVertexArrayFeeder::ClearPointers() {
    FVertices = FNormals = FTangents = FBinormals = nullptr;
    for (TVector2*& T : FTexCoords) T = nullptr;
}
