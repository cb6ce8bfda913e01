// The mesh cache file: the mesh as written right after its ASE file was read,
// so later starts skip the text. The cache is only an optimisation: one that
// cannot be written is a warning, and one that is damaged (or was written for
// another kind of vertex array) is rebuilt from the ASE file.
//
// Layout, little-endian: the mesh's object header, LastResizedDimension
// (Single), then for each of the four levels the sub-mesh count (32-bit) and
// the sub-meshes: object header, shader file name as a 256-byte ShortString
// image, Translation (3 Singles), TranslationMat (16 Singles), the vertex
// array's own image (object header, allocation record, attribute arrays).

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/mesh/oglmeshresource.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/vfs/filestream.h"
#include "kernel/vfs/filesystem.h"

namespace {

constexpr int64_t HeaderBytes = 2 * ObjectHeaderBlockSize;
constexpr int64_t WordBytes = 4;
constexpr int64_t ShaderNameBytes = 256;
constexpr int64_t PlacementBytes = (3 + 16) * WordBytes;
constexpr int64_t ArrayInfoBytes = 4 * WordBytes;

// Walks a cache image in memory and answers whether every header, count and
// name in it is one that reading it will accept, and every count fits in the
// bytes that remain.
class tMeshImageCheck {
public:
    tMeshImageCheck(const uint8_t* Data, int64_t Size, const ShortString& ArrayClass)
        : Data(Data), Size(Size), ArrayClass(ArrayClass) {}

    bool Sound() {
        if (!Header(tOGLMeshResource::ClassInfo.Name()) || !Skip(WordBytes)) return false;
        for (int32_t L = 0; L < tOGLMeshResource::LODCount; ++L) {
            int32_t Count;
            if (!Word(Count) || Count < 0) return false;
            for (int32_t I = 0; I < Count; ++I)
                if (!SubMesh()) return false;
        }
        return true;
    }

private:
    bool Fits(int64_t Bytes) const { return Bytes >= 0 && Bytes <= Size - At; }
    bool Skip(int64_t Bytes) {
        if (!Fits(Bytes)) return false;
        At += Bytes;
        return true;
    }
    bool Header(const ShortString& ClassName) {
        return Fits(HeaderBytes) && tZObject::IsStreamHeader(Data + At, ClassName) && Skip(HeaderBytes);
    }
    bool Word(int32_t& Value) {
        if (!Fits(WordBytes)) return false;
        Value = ReadLE<int32_t>(Data + At);
        At += WordBytes;
        return true;
    }
    bool SubMesh() {
        if (!Header(tSubMesh::ClassInfo.Name()) || !Fits(ShaderNameBytes)) return false;
        const ShortString Shader(std::string_view(reinterpret_cast<const char*>(Data + At + 1), Data[At]));
        if (Shader.empty() || !FileSystem->FileExists(Shader)) return false;
        return Skip(ShaderNameBytes + PlacementBytes) && VertexArray();
    }
    bool VertexArray() {
        int32_t Count, Tex, GenNormals, Primitive;
        if (!Header(ArrayClass) || !Word(Count) || !Word(Tex) || !Word(GenNormals) || !Word(Primitive)) return false;
        if (Count <= 0 || Count > tVertexArrayManager::CommonIndexCount || Tex < -1 || Tex >= MaxTextureSets ||
            GenNormals < GN_TRUE || GenNormals > GN_TANGENT_BASIS || uint32_t(Primitive) > PRIM_POLYGON)
            return false;
        return Skip(int64_t(Count) * VertexStride(Tex, static_cast<TGenNormals>(GenNormals)));
    }

    const uint8_t* Data;
    int64_t Size;
    ShortString ArrayClass;
    int64_t At = 0;
};

// The class of the vertex arrays the current manager makes: an image written
// for another kind cannot be read into them.
ShortString ArrayClassName() {
    tOwned<tVertexArray> Probe(tVertexArrayManager::Current()->AllocateEmptyVA());
    return Probe->ClassName();
}

void WriteWord(tStream& Stream, auto Value) {
    uint8_t Word[WordBytes];
    WriteLE(Word, Value);
    Stream.BlockWrite(Word, WordBytes);
}

}  // namespace

void tOGLMeshResource::SaveToStream(tStream& Stream) {
    tZObject::SaveToStream(Stream);
    WriteWord(Stream, LastResizedDimension);
    for (const tSubMeshesList& Level : FLODs) {
        WriteWord(Stream, Level.GetTotalItems());
        for (int32_t I = 1; I <= Level.GetTotalItems(); ++I) Level.GetSubMesh(I)->SaveToStream(Stream);
    }
}

void tOGLMeshResource::LoadFromStream(tIStream& Stream) {
    ProcTrace trace("tOGLMeshResource.LoadFromStream()");
    tZObject::LoadFromStream(Stream);
    uint8_t Word[WordBytes];
    Stream.BlockRead(Word, WordBytes);
    LastResizedDimension = ReadLE<float>(Word);
    for (int32_t L = 0; L < LODCount; ++L) {
        Logger->Log("Reading LOD " + Int2Str(L + 1));
        Stream.BlockRead(Word, WordBytes);
        const int32_t Count = ReadLE<int32_t>(Word);
        Logger->Log("... Submeshes in this LOD " + Int2Str(Count));
        for (int32_t I = 0; I < Count; ++I) {
            auto* S = NewObject<tSubMesh>();
            FLODs[L].AddItem(S->AllocateListItem());
            S->LoadFromStream(Stream);
        }
    }
}

bool tOGLMeshResource::ImageIsSound(tIStream& Stream) {
    const uint8_t* Data = Stream.MapStream();
    return Data && tMeshImageCheck(Data, Stream.GetSize(), ArrayClassName()).Sound();
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
    {
        std::unique_ptr<tXZMLStream> Reader = FileSystem->CreateFileReader(Name, {RF_HALTONERRORS});
        if (ImageIsSound(*Reader)) {
            LoadFromStream(*Reader);
            return;
        }
    }
    Logger->Guard(FileSystem->FileExists(GetFileName()), "Mesh cache file " + Name + " is damaged");
    Warning->Log("Mesh cache file " + Name + " is damaged; reading " + GetFileName() + " again");
    LoadFromSource();
}
