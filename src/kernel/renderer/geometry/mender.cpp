#include "kernel/renderer/geometry/mender.h"

#include <cmath>
#include <cstring>

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/renderer/geometry/emitters.h"
#include "kernel/renderer/geometry/tangents.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/renderer/va/vagl.h"

Z_IMPLEMENT_CLASS(tVertexArrayMender, .Operations = {{"EmitVertex", ZOP_ABSTRACT},
                                                      {"EmitNormal", ZOP_ABSTRACT},
                                                      {"EmitFace", ZOP_ABSTRACT},
                                                      {"EmitTextureVertex", ZOP_ABSTRACT},
                                                      {"EmitTextureFace", ZOP_ABSTRACT},
                                                      {"CreateVertexArray", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tOGLVertexArrayMender, .Operations = {{"EmitVertex"},
                                                         {"EmitNormal"},
                                                         {"EmitFace"},
                                                         {"EmitTextureVertex"},
                                                         {"EmitTextureFace"},
                                                         {"CreateVertexArray"}})

// ---- tVectorsArray ---------------------------------------------------------

// The room for the first vectors is taken at the first write: a mesh without
// normals (or a file refused early) never pays for it.
tVectorsArray::tVectorsArray() : FAllocated(InitialCapacity) {}

// Read for every face corner a few times over: no trace here.
TVector3 tVectorsArray::GetVector(int32_t I) const {
    if (I < 0 || I > FUsed) Logger->Fatal("Index exceeded in tVectorsArray.GetVector");
    return FVectors[I];
}

void tVectorsArray::SetVector(int32_t I, const TVector3& Vec) {
    if (I < 0 || I >= MaxEntries) Logger->Fatal("Index exceeded in tVectorsArray.SetVector");
    if (I > FUsed) FUsed = I;
    if (!FVectors || I >= FAllocated) {
        int32_t Capacity = FAllocated;
        while (I >= Capacity) Capacity *= 2;
        auto Grown = std::make_unique<TVector3[]>(Capacity);
        if (FVectors) std::memcpy(Grown.get(), FVectors.get(), sizeof(TVector3) * FAllocated);
        FVectors = std::move(Grown);
        FAllocated = Capacity;
    }
    FVectors[I] = Vec;
}

// ---- tOGLVertexArrayMender -------------------------------------------------

namespace {

// A vertex number stored as a single; one that is no number at all becomes
// -1, which every lookup refuses.
int32_t CornerNumber(float Stored) {
    if (!(std::fabs(Stored) < 2147483647.0f)) return -1;
    return static_cast<int32_t>(std::lround(Stored));
}

int32_t CornerNumber(const TVector3& Corners, int32_t K) {
    return CornerNumber(K == 0 ? Corners.x : K == 1 ? Corners.y : Corners.z);
}

}  // namespace

void tOGLVertexArrayMender::EmitFace(int32_t Index, int32_t A, int32_t B, int32_t C) {
    FFaces.SetVector(Index, {float(A), float(B), float(C)});
}

void tOGLVertexArrayMender::EmitTextureFace(int32_t Index, int32_t A, int32_t B, int32_t C) {
    FTextureFaces.SetVector(Index, {float(A), float(B), float(C)});
}

tVertexArray* tOGLVertexArrayMender::CreateVertexArray() {
    ProcTrace trace("tOGLVertexArrayMender.CreateVertexArray()");
    const int32_t Faces = FFaces.Used() + 1;
    const TGenNormals GenNormals = FNormals.Used() > 0 ? GN_TANGENT_BASIS : GN_FALSE;
    tVertexArray* VA = tVertexArrayManager::Current()->AllocateVA(3 * Faces, 0, GenNormals, PRIM_TRIANGLES);

    tVertexArrayBuilder* Builder = NewObject<tVertexArrayBuilder>();
    Builder->BeginPrimitive(GL_TRIANGLES, VA);
    for (int32_t I = 0; I < Faces; ++I) {
        const TVector3 Face = FFaces.GetVector(I);
        const TVector3 TextureFace = FTextureFaces.GetVector(I);
        for (int32_t K = 0; K < 3; ++K) {
            const int32_t V = CornerNumber(Face, K);
            const TVector3 UV = FTextureVertices.GetVector(CornerNumber(TextureFace, K));
            Builder->SetNormalV(FNormals.GetVector(V));
            for (int32_t Unit = 0; Unit < MaxTextureSets; ++Unit) Builder->SetTexCoord(Unit, UV.x, UV.y);
            Builder->EmitVertexV(FVertices.GetVector(V));
        }
    }
    Builder->EndPrimitive();
    DisposeObject(Builder);

    if (GenNormals == GN_TANGENT_BASIS) FillTangentBasis(*VA);
    return VA;
}
