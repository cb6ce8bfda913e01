#pragma once
// What the mesh tests and benchmarks load meshes with: a render device that
// makes real mesh resources, arrays in ordinary memory and a real geometry
// server, but stand-in shaders that only keep their names (no OpenGL), and
// a small ASE writer for inline files.

#include <string>
#include <vector>

#include "common/enginehost.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/mesh/oglmeshresource.h"
#include "kernel/renderer/va/vamanager.h"

class tNamedShader : public tShaderResource {
    Z_DECLARE_CLASS(tNamedShader, tShaderResource)
public:
    void SetFileName(const ShortString& Name) override {
        FileName = UpCaseStr(Name);
        Used = true;
    }
    void SetState() override {}
    void UpdateState(tShaderResource*) override {}
    void RestoreMatrices() override {}
    void AttachTextureMatrix(int32_t, const TMatrix4&) override {}
};

class tMeshTestDevice : public tRecordingRenderDevice {
    Z_DECLARE_CLASS(tMeshTestDevice, tRecordingRenderDevice)
public:
    tMeshTestDevice() {
        VertexArrayManager = NewObject<tStdVertexArrayManager>();
        GeometryServer = NewObject<tRGeometryServer>();
    }
    ~tMeshTestDevice() override {
        DisposeObject(GeometryServer);
        DisposeObject(VertexArrayManager);
    }
    tMeshResource* CreateMesh() override { return NewObject<tOGLMeshResource>(); }
    tShaderResource* CreateShader() override { return NewObject<tNamedShader>(); }
    void AddBuffer(tVertexArray* VA, tShaderResource* Shader) override { Draws.push_back({VA, Shader}); }

    struct tDraw {
        tVertexArray* VA;
        tShaderResource* Shader;
    };
    std::vector<tDraw> Draws;
};

// Once per program that uses the classes above.
#define IMPLEMENT_MESH_TEST_CLASSES()                                                                       \
    Z_IMPLEMENT_CLASS(tNamedShader,                                                                         \
                      .Operations = {{"SetState"}, {"UpdateState"}, {"RestoreMatrices"}, {"AttachTextureMatrix"}}) \
    Z_IMPLEMENT_CLASS(tMeshTestDevice)

// One ASE object: its vertices, texture vertices and normals, and faces that
// use the same numbers for all three.
struct TASEObject {
    std::vector<TVector3> Vertices;
    std::vector<std::vector<int>> Faces;
    int MaterialRef = 0;
    std::string Extra;  // lines placed before the mesh block
};

inline std::string ASEFile(const std::vector<std::string>& Materials, const std::vector<TASEObject>& Objects) {
    std::string F = "*3DSMAX_ASCIIEXPORT\t200\r\n*SCENE {\r\n\t*SCENE_FIRSTFRAME 0\r\n}\r\n*MATERIAL_LIST {\r\n";
    F += "\t*MATERIAL_COUNT " + std::to_string(Materials.size()) + "\r\n";
    for (std::size_t I = 0; I < Materials.size(); ++I)
        F += "\t*MATERIAL " + std::to_string(I) + " {\r\n\t\t*MATERIAL_NAME \"" + Materials[I] +
             "\"\r\n\t\t*MAP_DIFFUSE {\r\n\t\t\t*MAP_CLASS \"Bitmap\"\r\n\t\t}\r\n\t}\r\n";
    F += "}\r\n";
    auto Num = [](float V) { return std::string(Flt2Str(V, 4).view()); };
    for (const TASEObject& O : Objects) {
        F += "*GEOMOBJECT {\r\n\t*NODE_NAME \"Part\"\r\n" + O.Extra + "\t*MESH {\r\n\t\t*MESH_NUMVERTEX " +
             std::to_string(O.Vertices.size()) + "\r\n\t\t*MESH_VERTEX_LIST {\r\n";
        for (std::size_t I = 0; I < O.Vertices.size(); ++I)
            F += "\t\t\t*MESH_VERTEX " + std::to_string(I) + "\t" + Num(O.Vertices[I].x) + "\t" +
                 Num(O.Vertices[I].y) + "\t" + Num(O.Vertices[I].z) + "\r\n";
        F += "\t\t}\r\n\t\t*MESH_FACE_LIST {\r\n";
        for (std::size_t I = 0; I < O.Faces.size(); ++I)
            F += "\t\t\t*MESH_FACE " + std::to_string(I) + ":    A: " + std::to_string(O.Faces[I][0]) +
                 " B: " + std::to_string(O.Faces[I][1]) + " C: " + std::to_string(O.Faces[I][2]) +
                 " AB: 1 BC: 1 CA: 1\t*MESH_SMOOTHING 1\r\n";
        F += "\t\t}\r\n\t\t*MESH_TVERTLIST {\r\n";
        for (std::size_t I = 0; I < O.Vertices.size(); ++I)
            F += "\t\t\t*MESH_TVERT " + std::to_string(I) + "\t0.2500\t0.7500\t0.0000\r\n";
        F += "\t\t}\r\n\t\t*MESH_TFACELIST {\r\n";
        for (std::size_t I = 0; I < O.Faces.size(); ++I)
            F += "\t\t\t*MESH_TFACE " + std::to_string(I) + "\t" + std::to_string(O.Faces[I][0]) + "\t" +
                 std::to_string(O.Faces[I][1]) + "\t" + std::to_string(O.Faces[I][2]) + "\r\n";
        F += "\t\t}\r\n\t\t*MESH_NORMALS {\r\n";
        for (std::size_t I = 0; I < O.Faces.size(); ++I) F += "\t\t\t*MESH_FACENORMAL " + std::to_string(I) + "\t0 0 1\r\n";
        for (std::size_t I = 0; I < O.Vertices.size(); ++I)
            F += "\t\t\t\t*MESH_VERTEXNORMAL " + std::to_string(I) + "\t0.0000\t0.0000\t1.0000\r\n";
        F += "\t\t}\r\n\t}\r\n\t*MATERIAL_REF " + std::to_string(O.MaterialRef) + "\r\n}\r\n";
    }
    return F;
}

// A flat strip of Quads squares (two triangles each) from X0 along X.
inline TASEObject Strip(float X0, int Quads, float Y = 0, int MaterialRef = 0) {
    TASEObject O;
    O.MaterialRef = MaterialRef;
    for (int I = 0; I <= Quads; ++I) {
        O.Vertices.push_back({X0 + I, Y, 0});
        O.Vertices.push_back({X0 + I, Y + 1, 0});
    }
    for (int I = 0; I < Quads; ++I) {
        O.Faces.push_back({2 * I, 2 * I + 2, 2 * I + 3});
        O.Faces.push_back({2 * I, 2 * I + 3, 2 * I + 1});
    }
    return O;
}
