#include "kernel/renderer/va/vamanager.h"

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/stdvertexarray.h"
#include "kernel/renderer/va/vbovertexarray.h"

Z_IMPLEMENT_CLASS(tVertexArrayManager, .Operations = {{"GetCommonIndices"},
                                                       {"AllocateEmptyEA", ZOP_ABSTRACT},
                                                       {"AllocateEmptyVA", ZOP_ABSTRACT},
                                                       {"AllocateVA"}})
Z_IMPLEMENT_CLASS(tStdVertexArrayManager, .Operations = {{"AllocateEmptyEA"}, {"AllocateEmptyVA"}})
Z_IMPLEMENT_CLASS(tVBOVertexArrayManager, .Operations = {{"AllocateEmptyEA"}, {"AllocateEmptyVA"}})

namespace {

tVertexArrayManager* CurrentManager = nullptr;

}  // namespace

tVertexArrayManager::tVertexArrayManager() { CurrentManager = this; }

tVertexArrayManager::~tVertexArrayManager() {
    if (CurrentManager == this) CurrentManager = nullptr;
    if (CommonIndices) DisposeObject(CommonIndices);
}

tVertexArrayManager* tVertexArrayManager::Current() {
    if (!CurrentManager) Logger->Fatal("No vertex-array manager exists");
    return CurrentManager;
}

tVertexArray* tVertexArrayManager::AllocateVA(int32_t Vertices, int32_t Tex, TGenNormals GenNormals,
                                              TPrimitiveType PrimType) {
    ProcTrace trace("tVertexArrayManager.AllocateVA(" + Int2Str(Vertices) + "," + Int2Str(Tex) + ")");
    tVertexArray* VA = AllocateEmptyVA();
    VA->AllocVertices(Vertices, Tex, GenNormals, PrimType);
    VA->SetIndices(GetCommonIndices());
    return VA;
}

void tVertexArrayManager::GenerateCommonIndices() {
    if (CommonIndices) DisposeObject(CommonIndices);
    CommonIndices = AllocateEmptyEA();
    CommonIndices->AllocIndices(CommonIndexCount);
    uint32_t* Indices = CommonIndices->GetIndices();
    for (int32_t I = 0; I < CommonIndexCount; ++I) Indices[I] = static_cast<uint32_t>(I);
}

tStdVertexArrayManager::tStdVertexArrayManager() { GenerateCommonIndices(); }

tElementsArray* tStdVertexArrayManager::AllocateEmptyEA() { return NewObject<tStdElementsArray>(); }

tVertexArray* tStdVertexArrayManager::AllocateEmptyVA() { return NewObject<tStdVertexArray>(); }

tVBOVertexArrayManager::tVBOVertexArrayManager() { GenerateCommonIndices(); }

tElementsArray* tVBOVertexArrayManager::AllocateEmptyEA() { return NewObject<tVBOElementsArray>(); }

tVertexArray* tVBOVertexArrayManager::AllocateEmptyVA() { return NewObject<tVBOVertexArray>(); }
