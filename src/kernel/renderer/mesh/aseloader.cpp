#include "kernel/renderer/mesh/aseloader.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/geometry/mender.h"
#include "kernel/renderer/mesh/submesh.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tASELoader, .Operations = {{"FileExtension"}, {"Load"}})

namespace {

bool Contains(const ShortString& Line, std::string_view Keyword) { return Line.view().find(Keyword) != std::string_view::npos; }

// The tokens of one list entry, split once: an entry takes up to eight of
// them. Mesh text is data, not a console line: tokens are taken as written,
// so a "%" in a file never reaches the console's variables.
class tEntryTokens {
public:
    explicit tEntryTokens(const ShortString& Line) : Count(SplitRawTokens(Line.view(), Tokens, MaxTokens)) {}
    // A missing token is empty (and, copied into a ShortString, never a null pointer).
    std::string_view operator[](int N) const { return N >= 1 && N <= Count ? Tokens[N - 1] : std::string_view(""); }
    int32_t Integer(int N) const { return Str2Int((*this)[N]); }
    float Number(int N) const { return Str2Flt((*this)[N]); }

private:
    static constexpr int MaxTokens = 8;
    std::string_view Tokens[MaxTokens];
    int Count;
};

}  // namespace

void tASELoader::Load(tIStream& From, tResource& Resource) {
    TheMesh = dynamic_cast<tMeshResource*>(&Resource);
    Logger->Guard(TheMesh != nullptr, "tASELoader loads meshes only");
    Stream = &From;
    TheMesh->BeginLoad();
    TheMesh->AcceptParameter("CURRENTLOD", "1");
    LoadLOD();
    TheMesh->EndLoad();
}

bool tASELoader::IsVertexDescription(const ShortString& Line, bool Texture) {
    return Contains(Line, Texture ? "*MESH_TVERT" : "*MESH_VERTEX");
}

bool tASELoader::IsFaceDescription(const ShortString& Line, bool Texture) {
    return Contains(Line, Texture ? "*MESH_TFACE" : "*MESH_FACE");
}

void tASELoader::ReadBlockLine(ShortString& Line) {
    if (Stream->EOF()) Logger->Fatal("Unexpected end of file inside an ASE block");
    Stream->ReadLine(Line);
}

void tASELoader::LoadLOD() {
    // One trace (the log's nesting and the profiler) for the whole file, none
    // for the objects, blocks and lists read every few lines.
    ProcTrace trace("tASELoader.LoadLOD()");
    ShortString Line;
    Stream->ReadLine(Line);
    if (!Contains(Line, "*3DSMAX_ASCIIEXPORT")) Logger->Fatal("Not an *.ASE file !");
    while (!Stream->EOF()) {
        Stream->ReadLine(Line);
        if (Contains(Line, "*GEOMOBJECT") || Contains(Line, "*GROUP")) ReadGeomObject(1);
        else if (Contains(Line, "*MATERIAL_LIST")) ReadMaterialList();
        else SkipASEBlock(Contains(Line, "{"));
    }
}

void tASELoader::SkipASEBlock(bool Complex) {
    if (!Complex) return;
    ShortString Line;
    for (int32_t Depth = 1; Depth > 0;) {
        if (Stream->EOF()) Logger->Fatal("Invalid complex block in SkipBlock()");
        Stream->ReadLine(Line);
        Depth += int32_t(Contains(Line, "{")) - int32_t(Contains(Line, "}"));
    }
}

void tASELoader::ReadMaterialList() {
    ShortString Line;
    Stream->ReadLine(Line);
    if (!Contains(Line, "*MATERIAL_COUNT")) Logger->Fatal("Invalid material list !");
    MaterialsCount = tEntryTokens(Line).Integer(2);
    for (int32_t I = 0; I < MaterialsCount; ++I) ReadMaterial(I);
    Stream->ReadLine(Line);
    if (!Contains(Line, "}")) Logger->Fatal("} expected at the end of the material list !");
}

void tASELoader::ReadMaterial(int32_t I) {
    if (I >= MaxMaterialCount) Logger->Fatal("MaterialIndex > MAX_MATERIAL_COUNT");
    ShortString Line;
    Stream->ReadLine(Line);
    if (!Contains(Line, "*MATERIAL")) Logger->Fatal("Invalid MATERIAL block in ASE !");
    if (tEntryTokens(Line)[2] != Int2Str(I).view()) Logger->Fatal("Strange : Material_Index <> real index !");
    for (;;) {
        ReadBlockLine(Line);
        if (Contains(Line, "*MATERIAL_NAME")) break;
        SkipASEBlock(Contains(Line, "{"));
    }
    SkipASEBlock(true);
    Material.resize(std::size_t(I) + 1);
    Material[std::size_t(I)] = tEntryTokens(Line)[2];
}

void tASELoader::ReadGeomObject(int32_t Depth) {
    if (Depth > MaxGroupDepth) Logger->Fatal("ASE groups nested too deeply");
    int32_t Reference = -1;
    tOwned<tSubMesh> SubMesh;
    ShortString Line;
    for (ReadBlockLine(Line); !Contains(Line, "}"); ReadBlockLine(Line)) {
        if (Contains(Line, "*MATERIAL_REF")) {
            Reference = tEntryTokens(Line).Integer(2);
        } else if (Contains(Line, "*GEOMOBJECT") || Contains(Line, "*GROUP")) {
            ReadGeomObject(Depth + 1);
        } else if (tEntryTokens(Line)[1] == "*MESH") {
            // A later mesh block of the same object replaces the earlier one.
            SubMesh.reset(ReadMesh());
        } else {
            SkipASEBlock(Contains(Line, "{"));
        }
    }
    if (!SubMesh) return;
    if (Reference < 0 || Reference >= MaterialsCount)
        Logger->Fatal("Material index is invalid in ReadMesh() : " + Int2Str(Reference));
    if (SubMesh->LocalGeometryPool->GetActiveVertexCount() == 0) {
        // Nothing to draw; an empty array would not survive the cache either.
        Logger->Log("Skipping a mesh without faces");
        return;
    }
    SubMesh->LocalShader = Resources->LoadShader(Material[std::size_t(Reference)]);
    TheMesh->AddSubMesh(SubMesh.release());
}

tSubMesh* tASELoader::ReadMesh() {
    tOwned<tVertexArrayMender> Mender(Engine->Renderer->GeometryServer->CreateVAMender());
    ShortString Line;
    for (ReadBlockLine(Line); !Contains(Line, "}"); ReadBlockLine(Line)) {
        if (Contains(Line, "*MESH_NORMALS")) ReadNormals(*Mender);
        else if (Contains(Line, "*MESH_TFACELIST")) ReadFaceList(*Mender, true);
        else if (Contains(Line, "*MESH_FACE_LIST")) ReadFaceList(*Mender, false);
        else if (Contains(Line, "*MESH_TVERTLIST")) ReadVertexList(*Mender, true);
        else if (Contains(Line, "*MESH_VERTEX_LIST")) ReadVertexList(*Mender, false);
        else SkipASEBlock(Contains(Line, "{"));
    }
    tOwned<tSubMesh> SubMesh(NewObject<tSubMesh>());
    SubMesh->SetGeometryPool(Mender->CreateVertexArray());
    return SubMesh.release();
}

void tASELoader::ReadVertexList(tVertexArrayMender& Mender, bool Texture) {
    ShortString Line;
    for (ReadBlockLine(Line); !Contains(Line, "}"); ReadBlockLine(Line)) {
        if (!IsVertexDescription(Line, Texture))
            Logger->Fatal("Invalid string in ASEFace.MESH.VertexList : " + Line);
        const tEntryTokens Tokens(Line);
        const int32_t Index = Tokens.Integer(2);
        const float A = Tokens.Number(3), B = Tokens.Number(4), C = Tokens.Number(5);
        // Texture rows run downwards in the file.
        if (Texture) Mender.EmitTextureVertex(Index, {A, 1 - B, C});
        else Mender.EmitVertex(Index, {A, B, C});
    }
}

void tASELoader::ReadFaceList(tVertexArrayMender& Mender, bool Texture) {
    ShortString Line;
    for (ReadBlockLine(Line); !Contains(Line, "}"); ReadBlockLine(Line)) {
        if (!IsFaceDescription(Line, Texture)) Logger->Fatal("Invalid string in ASEFile.MESH.FaceList : " + Line);
        const tEntryTokens Tokens(Line);
        if (Texture) {
            Mender.EmitTextureFace(Tokens.Integer(2), Tokens.Integer(3), Tokens.Integer(4), Tokens.Integer(5));
        } else {
            // "*MESH_FACE 0: A: 2 B: 1 C: 0 AB: ...": the index carries a colon.
            std::string_view Index = Tokens[2];
            if (!Index.empty()) Index.remove_suffix(1);
            Mender.EmitFace(Str2Int(Index), Tokens.Integer(4), Tokens.Integer(6), Tokens.Integer(8));
        }
    }
}

void tASELoader::ReadNormals(tVertexArrayMender& Mender) {
    ShortString Line;
    for (ReadBlockLine(Line); !Contains(Line, "}"); ReadBlockLine(Line)) {
        if (Contains(Line, "*MESH_VERTEXNORMAL")) {
            const tEntryTokens Tokens(Line);
            Mender.EmitNormal(Tokens.Integer(2), {Tokens.Number(3), Tokens.Number(4), Tokens.Number(5)});
        } else {
            SkipASEBlock(Contains(Line, "{"));
        }
    }
}
