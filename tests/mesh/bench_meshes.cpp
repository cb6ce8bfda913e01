// Loading a large mesh (a strip of 60000 triangles with normals and texture
// coordinates) from its ASE text and from its cache file: the cache is the
// reason later starts are quick, and should be several times faster.

#include <benchmark/benchmark.h>

#include "common/enginehost.h"
#include "common/testengine.h"
#include "kernel/core/globals.h"
#include "kernel/renderer/mesh/aseloader.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"
#include "mesh/meshenv.h"

IMPLEMENT_MESH_TEST_CLASSES()

namespace {

constexpr const char* MeshFile = "Meshes\\Large.ase";
constexpr int Quads = 30000;

// The engine's services with the large mesh and its cache file on disk.
struct tLargeMesh {
    tEngineHost Host;
    tMeshTestDevice* Device;
    tZResourcesManager* Manager;

    tLargeMesh() {
        Host.Work.WriteFile("Data/StdConfig/engine.ini", std::string(tEngineHost::DefaultINI) +
                                                              "[ResourcesCache]\nMeshesCachingDir=Cache\\Meshes\\\n");
        Host.Work.WriteFile("Data/Meshes/Large.ase", ASEFile({"Shaders\\strip.shader"}, {Strip(0, Quads)}));
        Host.Work.WriteFile("Data/Shaders/strip.shader", "");
        delete EngineINI;
        EngineINI = new tZINIFile("StdConfig\\engine.ini");
        FileSystem->SetRootDir("Data\\");
        Engine = NewObject<tScriptTestEngine>();
        Device = NewObject<tMeshTestDevice>();
        Engine->Renderer = Device;
        Manager = NewObject<tZResourcesManager>();
        Resources = Manager;
        tOwned<tOGLMeshResource>(NewObject<tOGLMeshResource>())->SetFileName(MeshFile);  // writes the cache
        FileSystem->SetRootDir("Data\\");  // which the file system sees from now on
    }
    ~tLargeMesh() {
        tZObject::DisposeObject(Manager);
        Resources = nullptr;
        Engine->Renderer = nullptr;
        tZObject::DisposeObject(Device);
    }
};

void BM_MeshFromASE(benchmark::State& State) {
    tLargeMesh L;
    for (auto _ : State) {
        tOwned<tOGLMeshResource> Mesh(NewObject<tOGLMeshResource>());
        Mesh->SetBindedFileName(MeshFile);
        tOwned<tASELoader> Loader(NewObject<tASELoader>());
        Loader->Load(*FileSystem->CreateFileReader(MeshFile, {RF_HALTONERRORS}), *Mesh);
        benchmark::DoNotOptimize(Mesh->GetLOD(1).GetTotalItems());
    }
    State.SetItemsProcessed(State.iterations() * 2 * Quads);
}
BENCHMARK(BM_MeshFromASE)->Unit(benchmark::kMillisecond);

void BM_MeshFromCache(benchmark::State& State) {
    tLargeMesh L;
    for (auto _ : State) {
        tOwned<tOGLMeshResource> Mesh(NewObject<tOGLMeshResource>());
        Mesh->SetBindedFileName(MeshFile);
        Mesh->CacheFrom();
        benchmark::DoNotOptimize(Mesh->GetLOD(1).GetTotalItems());
    }
    State.SetItemsProcessed(State.iterations() * 2 * Quads);
}
BENCHMARK(BM_MeshFromCache)->Unit(benchmark::kMillisecond);

}  // namespace
