// The island drawn by the quadtree from three camera poses (at the spawn
// point, low over the land, high looking down), with the levels of detail
// the leaves choose and with every visible leaf at full resolution, on an
// offscreen 1024 x 768 context through the render device. Reports triangles
// per frame, frames per second and heap allocations per frame; before the
// frames, the time of a first start (deviations computed and cached) and of
// a second one (caches read), as start1_s and start2_s.
//
// Run from anywhere: build/release/tests/bench_terrain

#include <benchmark/benchmark.h>

#include <chrono>

#include "common/allocationcounter.h"
#include "common/glbench.h"
#include "game/terrain/quadtree.h"
#include "kernel/loaders/scriptloaders.h"
#include "kernel/objects/registry.h"
#include "kernel/resources/heightmapresource.h"
#include "libraries/classes/filesystem.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr int Width = 1024, Height = 768;
constexpr double FieldOfView = 70, NearPlane = 1, FarPlane = 4000;

struct TPose {
    const char* Name;
    TVector3 Eye, Target;
};
constexpr TPose Poses[] = {
    {"spawn", {64, 64, 40}, {300, 300, 40}},
    {"low over land", {420, 480, 80}, {620, 620, 50}},
    {"high looking down", {512, 380, 650}, {512, 560, 0}},
};

double Seconds(std::chrono::steady_clock::time_point Since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

// The engine's services over a data directory whose content folders are the
// repository's own, a render device on the current context, and the island.
class tIslandBench : public tGLDeviceBench<tStdVertexArrayManager> {
public:
    tIslandBench() : tGLDeviceBench({"Terrain", "Shaders", "Textures", "Tree"}) {
        auto Start = std::chrono::steady_clock::now();
        Build();
        FirstStart = Seconds(Start);
        // A new start maps the caches the first one wrote.
        tZObject::DisposeObject(Tree);
        tZObject::DisposeObject(Map);
        FileSystem->SetRootDir("Data\\");
        Start = std::chrono::steady_clock::now();
        Build();
        SecondStart = Seconds(Start);
    }
    ~tIslandBench() override {
        tZObject::DisposeObject(Tree);
        tZObject::DisposeObject(Map);
    }

    // One frame from Pose; the triangles the device counted.
    int64_t Frame(const TPose& Pose, bool FullResolution) {
        LookAt(Pose.Eye, Pose.Target, Width, Height, FieldOfView, NearPlane, FarPlane);
        // The shaders' fog and detail are measured from the camera, as in the game.
        TSceneView View;
        View.CameraPos = Pose.Eye;
        glGetFloatv(GL_MODELVIEW_MATRIX, View.CameraView.data());
        Device->SetSceneView(View);
        Device->BeginFrame(ZRT_BACKBUFFER);
        Device->R_Triangles = 0;
        Tree->FullResolution = FullResolution;
        Tree->LastFrameCameraPos = Pose.Eye;
        Tree->Render();
        glFinish();
        return Device->R_Triangles;
    }

    double FirstStart = 0, SecondStart = 0;

private:
    void Build() {
        auto Reader = FileSystem->CreateFileReader("Terrain\\island.zhm", {RF_HALTONERRORS});
        tZHMLoader* Loader = NewObject<tZHMLoader>();
        Map = static_cast<tHeightMapResource*>(Loader->LoadZHM(*Reader));
        tZObject::DisposeObject(Loader);
        Map->SetBindedFileName("TERRAIN\\ISLAND.ZHM");
        FileSystem->CreateDirs(Map->GetCachingDir());
        Tree = NewObject<tQuadTree>();
        Tree->CreateTree(Map);
    }

    tHeightMapResource* Map = nullptr;
    tQuadTree* Tree = nullptr;
};

// The context and the island, made by the first benchmark and kept to the end.
OffscreenContext& Context() {
    static OffscreenContext GL(Width, Height);
    return GL;
}
tIslandBench& Island() {
    static tIslandBench Bench;
    return Bench;
}

// Arg 0: the pose; arg 1: 1 for full resolution.
void BM_IslandFrame(benchmark::State& State) {
    if (!Context().Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    const TPose& Pose = Poses[State.range(0)];
    const bool Full = State.range(1) != 0;
    int64_t Triangles = 0;
    RunFrames(State, [&] { Triangles = Island().Frame(Pose, Full); });
    State.SetLabel(Pose.Name);
    State.counters["triangles"] = double(Triangles);
    State.counters["fps"] = benchmark::Counter(double(State.iterations()), benchmark::Counter::kIsRate);
    State.counters["start1_s"] = Island().FirstStart;
    State.counters["start2_s"] = Island().SecondStart;
}
BENCHMARK(BM_IslandFrame)
    ->ArgNames({"pose", "full"})
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

}  // namespace
