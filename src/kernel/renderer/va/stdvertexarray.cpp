#include "kernel/renderer/va/stdvertexarray.h"

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tStdVertexArray, .Operations = {{"AllocVertices"}})
Z_IMPLEMENT_CLASS(tStdElementsArray, .Operations = {{"FeedIntoGPU"},
                                                     {"AllocIndices"},
                                                     {"GetIndices"},
                                                     {"GetIndicesCount"}})

void tStdVertexArray::AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) {
    tVertexArraySerializer::AllocVertices(Count, Tex, GenNormals, PrimType);
    Block = std::make_unique<uint8_t[]>(VertexLayout(Count, Tex, GenNormals).Bytes);
    RegeneratePointers(Block.get());
}

void tStdElementsArray::AllocIndices(int32_t Count) {
    if (Count < 0) Logger->Fatal("Invalid index count: " + Int2Str(Count));
    FIndices = std::make_unique<uint32_t[]>(static_cast<std::size_t>(Count));
    FCount = Count;
}
