// The stream image of a vertex array (the mesh cache stores meshes this way):
// every value is written and read as a 32-bit little-endian word, whatever
// the machine's byte order.

#include <algorithm>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/renderer/va/vertexarray.h"

namespace {

constexpr std::size_t WordBytes = 4;
constexpr std::size_t WordsPerBlock = 1024;

template <class T>
void WriteWords(tStream& Stream, const T* Values, std::size_t Count) {
    static_assert(sizeof(T) == WordBytes);
    uint8_t Block[WordsPerBlock * WordBytes];
    while (Count > 0) {
        const std::size_t N = std::min(Count, WordsPerBlock);
        for (std::size_t I = 0; I < N; ++I) WriteLE(Block + I * WordBytes, Values[I]);
        Stream.BlockWrite(Block, static_cast<int32_t>(N * WordBytes));
        Values += N;
        Count -= N;
    }
}

template <class T>
void ReadWords(tIStream& Stream, T* Values, std::size_t Count) {
    static_assert(sizeof(T) == WordBytes);
    uint8_t Block[WordsPerBlock * WordBytes];
    while (Count > 0) {
        const std::size_t N = std::min(Count, WordsPerBlock);
        Stream.BlockRead(Block, static_cast<int32_t>(N * WordBytes));
        for (std::size_t I = 0; I < N; ++I) Values[I] = ReadLE<T>(Block + I * WordBytes);
        Values += N;
        Count -= N;
    }
}

constexpr std::size_t InfoWords = 4;

void WriteInfo(tStream& Stream, const TVAAllocationInfo& Info) {
    const int32_t Words[InfoWords] = {Info.FActiveVertexCount, Info.FTex, Info.FGenNormals,
                                      static_cast<int32_t>(Info.FPrimitive)};
    WriteWords(Stream, Words, InfoWords);
}

TVAAllocationInfo ReadInfo(tIStream& Stream) {
    int32_t Words[InfoWords];
    ReadWords(Stream, Words, InfoWords);
    return {Words[0], Words[1], static_cast<TGenNormals>(Words[2]), static_cast<TPrimitiveType>(Words[3])};
}

}  // namespace

void tVertexArraySerializer::SaveToStream(tStream& Stream) {
    ProcTrace trace("tVertexArraySerializer.SaveToStream()");
    if (FInfo.FActiveVertexCount == 0) Logger->Fatal("Can only save preinitialized array");
    tZObject::SaveToStream(Stream);
    WriteInfo(Stream, FInfo);
    TVertexAttribute Arrays[MaxVertexAttributes];
    const int32_t Count = CollectAttributes(*this, FInfo, Arrays);
    const std::size_t N = static_cast<std::size_t>(FInfo.FActiveVertexCount);
    for (int32_t I = 0; I < Count; ++I) WriteWords(Stream, Arrays[I].Values, N * Arrays[I].Components);
}

void tVertexArraySerializer::LoadFromStream(tIStream& Stream) {
    ProcTrace trace("tVertexArraySerializer.LoadFromStream()");
    tZObject::LoadFromStream(Stream);
    if (FInfo.FActiveVertexCount != 0) Logger->Fatal("Can only load just after constructor call");
    const TVAAllocationInfo Info = ReadInfo(Stream);
    CheckAllocationInfo(Info.FActiveVertexCount, Info.FTex, Info.FGenNormals);
    // A damaged count must not allocate what the stream cannot fill.
    const int64_t Needed = int64_t(Info.FActiveVertexCount) * VertexStride(Info.FTex, Info.FGenNormals);
    if (Needed > int64_t(Stream.GetSize()) - Stream.GetPosition()) Logger->Fatal("Vertex array image is truncated");

    AllocVertices(Info.FActiveVertexCount, Info.FTex, Info.FGenNormals, Info.FPrimitive);
    SetIndices(tVertexArrayManager::Current()->GetCommonIndices());
    TVertexAttribute Arrays[MaxVertexAttributes];
    const int32_t Count = CollectAttributes(*this, FInfo, Arrays);
    const std::size_t N = static_cast<std::size_t>(FInfo.FActiveVertexCount);
    for (int32_t I = 0; I < Count; ++I) ReadWords(Stream, Arrays[I].Values, N * Arrays[I].Components);
}
