// The mesh cache file: the mesh as written right after its ASE file was read,
// so later starts skip the text. The cache is only an optimisation: one that
// cannot be written is a warning, and one that is damaged (or was written for
// another kind of vertex array) is rebuilt from the ASE file.
//
// Layout, little-endian: the mesh's object header, LastResizedDimension
// (Single), then for each of the four levels the sub-mesh count (32-bit) and
// the sub-meshes: object header, shader file name as a 256-byte ShortString
// image, Translation (3 Singles), TranslationMat (16 Singles), the vertex
// array's own image.

#include <memory>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/mesh/oglmeshresource.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/vfs/filestream.h"
#include "kernel/vfs/filesystem.h"

namespace {

constexpr int32_t HeaderBytes = 2 * ObjectHeaderBlockSize;
constexpr int32_t WordBytes = 4;
constexpr int32_t ShaderNameBytes = 256;
constexpr int32_t PlacementBytes = (3 + 16) * WordBytes;
constexpr int32_t ArrayInfoBytes = 4 * WordBytes;
// From a sub-mesh's start: its shader name, its vertex array's header and
// that array's allocation record.
constexpr int32_t ShaderNameAt = HeaderBytes;
constexpr int32_t ArrayHeaderAt = ShaderNameAt + ShaderNameBytes + PlacementBytes;
constexpr int32_t ArrayInfoAt = ArrayHeaderAt + HeaderBytes;
constexpr int32_t SubMeshFixedBytes = ArrayInfoAt + ArrayInfoBytes;
constexpr uint32_t HighestPrimitive = 9;  // GL_POLYGON

int64_t Remaining(tIStream& Stream) { return int64_t(Stream.GetSize()) - Stream.GetPosition(); }

void ReadBytesAt(tIStream& Stream, int32_t At, uint8_t* Bytes, int32_t Count) {
    Stream.Seek(At);
    Stream.BlockRead(Bytes, Count);
}

// Whether a sub-mesh image whose vertex arrays are of the class ArrayClass
// starts at the stream's position and fits in what remains of it; the
// position is kept.
bool SubMeshImageFits(tIStream& Stream, const ShortString& ArrayClass) {
    const int32_t Start = Stream.GetPosition();
    if (Remaining(Stream) < SubMeshFixedBytes) return false;
    if (!tZObject::StreamHeaderFollows(Stream, tSubMesh::ClassInfo.Name())) return false;

    uint8_t Name[ShaderNameBytes];
    ReadBytesAt(Stream, Start + ShaderNameAt, Name, ShaderNameBytes);
    const ShortString Shader(std::string_view(reinterpret_cast<const char*>(Name + 1), Name[0]));
    bool Fits = !Shader.empty() && FileSystem->FileExists(Shader);

    Stream.Seek(Start + ArrayHeaderAt);
    Fits = Fits && tZObject::StreamHeaderFollows(Stream, ArrayClass);

    uint8_t Info[ArrayInfoBytes];
    ReadBytesAt(Stream, Start + ArrayInfoAt, Info, ArrayInfoBytes);
    const int32_t Count = ReadLE<int32_t>(Info);
    const int32_t Tex = ReadLE<int32_t>(Info + 4);
    const int32_t GenNormals = ReadLE<int32_t>(Info + 8);
    const uint32_t Primitive = ReadLE<uint32_t>(Info + 12);
    Fits = Fits && Count > 0 && Count <= tVertexArrayManager::CommonIndexCount && Tex >= -1 &&
           Tex < MaxTextureSets && GenNormals >= GN_TRUE && GenNormals <= GN_TANGENT_BASIS &&
           Primitive <= HighestPrimitive &&
           int64_t(Count) * VertexStride(Tex, static_cast<TGenNormals>(GenNormals)) <= Remaining(Stream);
    Stream.Seek(Start);
    return Fits;
}

// The class of the vertex arrays the current manager makes.
ShortString ArrayClassName() {
    tVertexArray* Probe = tVertexArrayManager::Current()->AllocateEmptyVA();
    const ShortString Name = Probe->ClassName();
    tZObject::DisposeObject(Probe);
    return Name;
}

}  // namespace

void tOGLMeshResource::SaveToStream(tStream& Stream) {
    tZObject::SaveToStream(Stream);
    uint8_t Word[WordBytes];
    WriteLE(Word, LastResizedDimension);
    Stream.BlockWrite(Word, WordBytes);
    for (const tSubMeshesList& Level : FLODs) {
        WriteLE(Word, Level.GetTotalItems());
        Stream.BlockWrite(Word, WordBytes);
        for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) Level.GetSubMesh(I)->SaveToStream(Stream);
    }
}

void tOGLMeshResource::LoadFromStream(tIStream& Stream) {
    if (!ReadImage(Stream)) Logger->Fatal("Mesh image is damaged: " + GetFileName());
}

bool tOGLMeshResource::ReadImage(tIStream& Stream) {
    ProcTrace trace("tOGLMeshResource.LoadFromStream()");
    if (!StreamHeaderFollows(Stream, ClassName())) return false;
    tZObject::LoadFromStream(Stream);
    if (Remaining(Stream) < WordBytes) return false;
    uint8_t Word[WordBytes];
    Stream.BlockRead(Word, WordBytes);
    LastResizedDimension = ReadLE<float>(Word);

    const ShortString ArrayClass = ArrayClassName();
    for (int32_t L = 0; L < LODCount; ++L) {
        Logger->Log("Reading LOD " + Int2Str(L + 1));
        if (!ReadLevel(Stream, FLODs[L], ArrayClass)) {
            ClearLevels();
            return false;
        }
    }
    return true;
}

bool tOGLMeshResource::ReadLevel(tIStream& Stream, tSubMeshesList& Level, const ShortString& ArrayClass) {
    if (Remaining(Stream) < WordBytes) return false;
    uint8_t Word[WordBytes];
    Stream.BlockRead(Word, WordBytes);
    const int32_t Count = ReadLE<int32_t>(Word);
    Logger->Log("... Submeshes in this LOD " + Int2Str(Count));
    if (Count < 0 || Count > Remaining(Stream) / SubMeshFixedBytes) return false;
    for (int32_t I = 0; I < Count; ++I) {
        if (!SubMeshImageFits(Stream, ArrayClass)) return false;
        auto* S = NewObject<tSubMesh>();
        Level.AddItem(S->AllocateListItem());
        S->LoadFromStream(Stream);
    }
    return true;
}

void tOGLMeshResource::CacheTo() {
    ProcTrace trace("tOGLMeshResource.CacheTo()");
    tMeshResource::CacheTo();
    const ShortString Name = GetCachedFileName();
    tFileStream Writer(Name, FSTREAM_REWRITE, FSTREAM_REAPORTERRORS);
    if (!Writer.Open) {
        Warning->Log("Unable to write the mesh cache file " + Name + ": " + Writer.GetIOErrorString(Writer.IOError));
        return;
    }
    SaveToStream(Writer);
}

void tOGLMeshResource::CacheFrom() {
    ProcTrace trace("tOGLMeshResource.CacheFrom()");
    tMeshResource::CacheFrom();
    const ShortString Name = GetCachedFileName();
    if (ReadImage(*FileSystem->CreateFileReader(Name, {RF_HALTONERRORS}))) return;
    Logger->Guard(FileSystem->FileExists(GetFileName()), "Mesh cache file " + Name + " is damaged");
    Warning->Log("Mesh cache file " + Name + " is damaged; reading " + GetFileName() + " again");
    LoadFromSource();
}
