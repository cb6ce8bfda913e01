// ASE meshes through the resources manager: the reader's blocks and errors on
// small inline files, resizing and replicas, drawing, and the cache file
// written after a load, read back on the next start and rebuilt when damaged.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/scriptenv.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/renderer/va/vertexarray.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/inifile.h"
#include "mesh/meshenv.h"

IMPLEMENT_MESH_TEST_CLASSES()

namespace {

constexpr const char* MeshFile = "Meshes\\Test.ase";
constexpr const char* CacheFile = "Data/Cache/Meshes/MESHES_TEST.ASE.cached";

class MeshTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        WriteData("StdConfig\\engine.ini",
                  "[Engine]\nTimer=tWinTimer\nRunsCount=0\n[ResourcesCache]\nMeshesCachingDir=Cache\\Meshes\\\n");
    }
    // Writes the mesh file and starts the services over it.
    void Start(const std::string& ASE) {
        WriteData(MeshFile, ASE);
        for (const char* Shader : {"Shaders\\body.shader", "Shaders\\wing.shader"}) WriteData(Shader, "");
        MapData();
        Device = NewObject<tMeshTestDevice>();
        Engine->Renderer = Device;
        Manager = NewObject<tZResourcesManager>();
        Resources = Manager;
    }
    // The file system sees the files present when it is built, as at a start.
    void Restart() {
        tZObject::DisposeObject(FileSystem);
        FileSystem = NewObject<tVirtualFileSystem>();
        FileSystem->SetRootDir("Data\\");
    }
    void DisposeServices() override {
        if (Manager) tZObject::DisposeObject(Manager);
        Resources = nullptr;
        if (Engine) Engine->Renderer = nullptr;
        if (Device) tZObject::DisposeObject(Device);
        ScriptTest::DisposeServices();
    }
    // The mesh read from MeshFile (or its cache), unresized.
    tOwned<tOGLMeshResource> Load() {
        tOwned<tOGLMeshResource> Mesh(NewObject<tOGLMeshResource>());
        Mesh->SetFileName(MeshFile);
        return Mesh;
    }
    static TVector3 Mean(tVertexArray* VA) {
        TVector3 Sum = {0, 0, 0};
        for (int32_t I = 0; I < VA->GetActiveVertexCount(); ++I) Sum += VA->GetVertices()[I];
        return Sum / float(VA->GetActiveVertexCount());
    }

    tMeshTestDevice* Device = nullptr;
    tZResourcesManager* Manager = nullptr;
};

}  // namespace

TEST_F(MeshTest, ReaderTakesEachObjectsLastMeshWithItsMaterialAndSkipsTheRest) {
    TASEObject Body = Strip(-2, 4);
    // An animation block holds meshes of its own; none of them is the object's.
    Body.Extra = "\t*MESH_ANIMATION {\r\n\t\t*MESH {\r\n\t\t\t*MESH_VERTEX_LIST {\r\n\t\t\t\t*MESH_VERTEX 0 9 9 9\r\n"
                 "\t\t\t}\r\n\t\t}\r\n\t}\r\n";
    std::string File = ASEFile({"Shaders\\body.shader", "Shaders\\%odd.shader"}, {Body, Strip(3, 1, 0, 1)});
    File += "*GEOMOBJECT {\r\n\t*NODE_NAME \"Helper\"\r\n\t*MATERIAL_REF 0\r\n}\r\n";
    Start(File);
    Vars().SetVar("odd", ShortString("replaced"));

    tOwned<tOGLMeshResource> Mesh = Load();
    const tSubMeshesList& Level = Mesh->GetLOD(1);
    ASSERT_EQ(Level.GetTotalItems(), 2);
    for (int32_t L = 2; L <= tOGLMeshResource::LODCount; ++L) EXPECT_EQ(Mesh->GetLOD(L).GetTotalItems(), 0);
    // Mesh text is not a console line: "%odd" stays as written.
    EXPECT_EQ(Level.GetSubMesh(1)->LocalShader->GetFileName(), "SHADERS\\BODY.SHADER");
    EXPECT_EQ(Level.GetSubMesh(2)->LocalShader->GetFileName(), "SHADERS\\%ODD.SHADER");

    // Every face corner in the file's order, with the flipped texture row.
    tVertexArray* VA = Level.GetSubMesh(1)->LocalGeometryPool;
    ASSERT_EQ(VA->GetActiveVertexCount(), 8 * 3);
    const TVector3 FirstFace[3] = {{-2, 0, 0}, {-1, 0, 0}, {-1, 1, 0}};
    for (int K = 0; K < 3; ++K) {
        EXPECT_EQ(VA->GetVertices()[K], FirstFace[K]);
        EXPECT_EQ(VA->GetNormals()[K], (TVector3{0, 0, 1}));
        EXPECT_EQ(VA->GetTexCoords(0)[K], (TVector2{0.25f, 0.25f}));
    }
    EXPECT_EQ(Level.GetSubMesh(2)->LocalGeometryPool->GetActiveVertexCount(), 2 * 3);
    EXPECT_TRUE(std::filesystem::exists(CacheFile));
}

TEST_F(MeshTest, ReaderRefusesDamagedFilesWithItsMessages) {
    const std::string Good = ASEFile({"Shaders\\body.shader"}, {Strip(0, 2)});
    const std::string Cases[][2] = {
        {"*3DSMAX_ASCII\r\n", "Not an \\*\\.ASE file !"},
        {"*3DSMAX_ASCIIEXPORT\r\n*SCENE {\r\n\t*SCENE_FIRSTFRAME 0\r\n", "Invalid complex block in SkipBlock\\(\\)"},
        {Good.substr(0, Good.find("\t\t\t*MESH_VERTEX 2")), "Unexpected end of file inside an ASE block"},
        {ASEFile({"Shaders\\body.shader"}, {Strip(0, 2, 0, -1)}), "Material index is invalid in ReadMesh\\(\\) : -1"},
        {ASEFile({"Shaders\\body.shader"}, {Strip(0, 2, 0, 1)}), "Material index is invalid in ReadMesh\\(\\) : 1"},
        {ASEFile(std::vector<std::string>(101, "Shaders\\body.shader"), {}), "MaterialIndex > MAX_MATERIAL_COUNT"},
        {std::string(Good).insert(Good.find("\t\t\t*MESH_VERTEX 1"), "\t\t\tgarbage\r\n"),
         "Invalid string in ASEFace.MESH.VertexList : \t\t\tgarbage"},
        {std::string(Good).insert(Good.find("\t\t\t*MESH_FACE 1"), "\t\t\t*MESH_TFACE 0 0 0 0\r\n"),
         "Invalid string in ASEFile.MESH.FaceList : "},
    };
    for (const auto& [File, Message] : Cases) {
        EXPECT_EXIT(
            {
                Start(File);
                Load();
            },
            ::testing::ExitedWithCode(255), Message);
    }
    Start(Good);
    tOwned<tOGLMeshResource> Mesh = Load();
    EXPECT_EXIT(Mesh->AcceptParameter("CURRENTLOD", "1.5"), ::testing::ExitedWithCode(255),
                "Invalid numeric format for LOD number");
    EXPECT_EXIT(Mesh->AcceptParameter("CURRENTLOD", "5"), ::testing::ExitedWithCode(255), "Invalid LOD number");
    EXPECT_EXIT(Mesh->AddSubMesh(nullptr), ::testing::ExitedWithCode(255), "SubMesh isn't assigned in AddSubMesh\\(\\)");
}

TEST_F(MeshTest, RequestsGetReplicasResizedToTheirWidthAroundTheFirstSubMesh) {
    // X from -2 to 4 in all; resized to 12 that is a factor of 2.
    Start(ASEFile({"Shaders\\body.shader", "Shaders\\wing.shader"}, {Strip(-2, 4), Strip(3, 1, 0, 1)}));
    auto* A = static_cast<tOGLMeshResource*>(Resources->LoadMesh(MeshFile, 12));
    const int32_t Shared = Manager->Resources.GetTotalItems();  // the mesh and its two shaders
    auto* B = static_cast<tOGLMeshResource*>(Resources->LoadMesh(MeshFile, 12));
    EXPECT_EQ(Manager->Resources.GetTotalItems(), Shared);
    EXPECT_EQ(A->ResizedDimension(), 12);

    const tSubMeshesList& Level = A->GetLOD(1);
    ASSERT_EQ(Level.GetTotalItems(), 2);
    EXPECT_EQ(Level.GetSubMesh(1)->Translation, (TVector3{0, 0, 0}));
    EXPECT_EQ(Level.GetSubMesh(2)->Translation, (TVector3{7, 0, 0}));
    EXPECT_EQ(Level.GetSubMesh(2)->TranslationMat[12], 7);
    float MinX = 1e9f, MaxX = -1e9f;
    Device->GeometryServer->MinMaxX(Level.GetSubMesh(1)->LocalGeometryPool, MinX, MaxX);
    EXPECT_FLOAT_EQ(MinX, -4);
    EXPECT_FLOAT_EQ(MaxX, 4);
    EXPECT_NEAR(Len(Mean(Level.GetSubMesh(1)->LocalGeometryPool)), 0, 1e-5);

    // A replica moves alone; its arrays are its own, its shaders shared.
    A->Translate({0, 0, 5});
    EXPECT_EQ(B->GetLOD(1).GetSubMesh(2)->Translation, (TVector3{7, 0, 0}));
    EXPECT_NE(A->GetLOD(1).GetSubMesh(1)->LocalGeometryPool, B->GetLOD(1).GetSubMesh(1)->LocalGeometryPool);
    EXPECT_EQ(A->GetLOD(1).GetSubMesh(2)->LocalShader, B->GetLOD(1).GetSubMesh(2)->LocalShader);

    // Drawn: the first level's arrays with their shaders.
    A->RenderSubMeshes();
    ASSERT_EQ(Device->Draws.size(), 2u);
    EXPECT_EQ(Device->Draws[1].VA, A->GetLOD(1).GetSubMesh(2)->LocalGeometryPool);
    EXPECT_EQ(Device->Draws[1].Shader->GetFileName(), "SHADERS\\WING.SHADER");

    // Another size is another shared mesh; resizing again changes nothing.
    tMeshResource* C = Resources->LoadMesh(MeshFile, 6);
    EXPECT_EQ(Manager->Resources.GetTotalItems(), Shared + 1);
    tMeshResource* D = Resources->LoadMesh(MeshFile, 12);
    EXPECT_EQ(static_cast<tOGLMeshResource*>(D)->GetLOD(1).GetSubMesh(2)->Translation, (TVector3{7, 0, 0}));
    for (tMeshResource* M : {static_cast<tMeshResource*>(A), static_cast<tMeshResource*>(B), C, D})
        tZObject::DisposeObject(M);

    // Nothing to measure: a mesh whose objects have no mesh blocks.
    EXPECT_EXIT(
        {
            WriteData("Meshes\\Empty.ase", "*3DSMAX_ASCIIEXPORT\r\n*GEOMOBJECT {\r\n\t*NODE_NAME \"Helper\"\r\n}\r\n");
            Restart();
            Resources->LoadMesh("Meshes\\Empty.ase", 1);
        },
        ::testing::ExitedWithCode(255), "Unable to rescale a zero model");
}

TEST_F(MeshTest, CacheIsReadOnTheNextStartAndRebuiltWhenDamaged) {
    Start(ASEFile({"Shaders\\body.shader", "Shaders\\wing.shader"}, {Strip(-2, 4), Strip(3, 1, 0, 1)}));
    tOwned<tOGLMeshResource> Source = Load();
    Source->GetLOD(1).GetSubMesh(2)->SetTranslationVec({1, 2, 3});
    Source->CacheTo();
    const std::string Image = ReadWholeFile(CacheFile);

    Restart();
    tOwned<tOGLMeshResource> Cached = Load();
    for (int32_t L = 1; L <= tOGLMeshResource::LODCount; ++L)
        EXPECT_EQ(Cached->GetLOD(L).GetTotalItems(), Source->GetLOD(L).GetTotalItems());
    for (int32_t I = 1; I <= 2; ++I) {
        const tSubMesh* From = Source->GetLOD(1).GetSubMesh(I);
        const tSubMesh* To = Cached->GetLOD(1).GetSubMesh(I);
        EXPECT_EQ(To->Translation, From->Translation);
        EXPECT_EQ(To->TranslationMat, From->TranslationMat);
        EXPECT_EQ(To->LocalShader, From->LocalShader);
        EXPECT_EQ(To->LocalGeometryPool->GetActiveVertexCount(), From->LocalGeometryPool->GetActiveVertexCount());
    }

    // Cut short, or with a count beyond what the file holds: read from the
    // ASE file again, and the cache written anew.
    std::string Huge = Image;
    Huge[512 + 4 + 3] = '\x7F';  // the first level's sub-mesh count, after the header and the width
    for (const std::string& Damaged : {Image.substr(0, Image.size() / 2), Huge, std::string()}) {
        Work.WriteFile(CacheFile, Damaged);
        Restart();
        testing::internal::CaptureStdout();
        tOwned<tOGLMeshResource> Rebuilt = Load();
        EXPECT_NE(testing::internal::GetCapturedStdout().find("is damaged; reading MESHES\\TEST.ASE again"),
                  std::string::npos);
        EXPECT_EQ(Rebuilt->GetLOD(1).GetTotalItems(), 2);
        EXPECT_EQ(ReadWholeFile(CacheFile).size(), Image.size());
    }

    // A cache that cannot be written is no reason to stop: here the caching
    // directory is one nobody may create files in.
    std::filesystem::remove_all("Data/Cache/Meshes");
    std::filesystem::create_directory_symlink("/proc/self/fdinfo", "Data/Cache/Meshes");
    Restart();
    testing::internal::CaptureStdout();
    tOwned<tOGLMeshResource> Uncached = Load();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Unable to write the mesh cache file"), std::string::npos);
    EXPECT_EQ(Uncached->GetLOD(1).GetTotalItems(), 2);
}
