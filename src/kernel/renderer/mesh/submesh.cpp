#include "kernel/renderer/mesh/submesh.h"

#include <cstring>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/renderer/va/vertexarray.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tSubMesh, .Operations = {{"Render"}, {"Replicate"}, {"LoadFromStream"}, {"SaveToStream"}})

namespace {

constexpr int32_t NameImageBytes = 256;
constexpr int32_t FloatBytes = 4;

void WriteFloats(tStream& Stream, const float* Values, int32_t Count) {
    uint8_t Block[16 * FloatBytes];
    for (int32_t I = 0; I < Count; ++I) WriteLE(Block + I * FloatBytes, Values[I]);
    Stream.BlockWrite(Block, Count * FloatBytes);
}

void ReadFloats(tIStream& Stream, float* Values, int32_t Count) {
    uint8_t Block[16 * FloatBytes];
    Stream.BlockRead(Block, Count * FloatBytes);
    for (int32_t I = 0; I < Count; ++I) Values[I] = ReadLE<float>(Block + I * FloatBytes);
}

}  // namespace

tSubMesh::~tSubMesh() {
    if (LocalGeometryPool) DisposeObject(LocalGeometryPool);
}

void tSubMesh::Render() {
    tRenderDevice* Device = Engine->Renderer;
    Device->BeginTransform(ZFT_MULT, &TranslationMat);
    Device->AddBuffer(LocalGeometryPool, LocalShader);
    Device->EndTransform(ZFT_MULT);
}

tSubMesh* tSubMesh::Replicate() {
    auto* Copy = NewObject<tSubMesh>();
    Copy->LocalGeometryPool = LocalGeometryPool->Replicate();
    Copy->LocalShader = LocalShader;
    Copy->SetTranslationVec(Translation);
    return Copy;
}

void tSubMesh::SetTranslationVec(const TVector3& V) {
    Translation = V;
    TranslationMat[12] = V.x;
    TranslationMat[13] = V.y;
    TranslationMat[14] = V.z;
}

void tSubMesh::SetGeometryPool(tVertexArray* VA) {
    if (LocalGeometryPool && VA != LocalGeometryPool) DisposeObject(LocalGeometryPool);
    LocalGeometryPool = VA;
}

void tSubMesh::SaveToStream(tStream& Stream) {
    tZObject::SaveToStream(Stream);
    uint8_t Name[NameImageBytes] = {};
    const ShortString Shader = LocalShader ? LocalShader->GetFileName() : ShortString();
    Name[0] = static_cast<uint8_t>(Shader.size());
    std::memcpy(Name + 1, Shader.data(), Shader.size());
    Stream.BlockWrite(Name, NameImageBytes);
    WriteFloats(Stream, &Translation.x, 3);
    WriteFloats(Stream, TranslationMat.data(), 16);
    LocalGeometryPool->SaveToStream(Stream);
}

void tSubMesh::LoadFromStream(tIStream& Stream) {
    tZObject::LoadFromStream(Stream);
    uint8_t Name[NameImageBytes];
    Stream.BlockRead(Name, NameImageBytes);
    const ShortString Shader(std::string_view(reinterpret_cast<const char*>(Name + 1), Name[0]));
    LocalShader = Shader.empty() ? nullptr : Resources->LoadShader(Shader);
    ReadFloats(Stream, &Translation.x, 3);
    ReadFloats(Stream, TranslationMat.data(), 16);
    SetGeometryPool(tVertexArrayManager::Current()->AllocateEmptyVA());
    LocalGeometryPool->LoadFromStream(Stream);
}
