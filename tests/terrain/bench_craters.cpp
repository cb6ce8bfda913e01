// Craters dug into the island as the game digs them: the whole terrain with
// its forest and colour map on an offscreen 1024 x 768 context, vertex arrays
// in buffer objects. Before each impact a frame is drawn and left queued: an
// impact must not wait for it (the software renderer would, were the leaves'
// buffers or the colour map rewritten before the next draw).
//   BM_Impact: 100 impacts of a plasma shot's size at random land points:
//     the median, 90th percentile and worst time of one Impact (and the
//     worst processor time it took) and the heap allocations it
//     made itself on its thread (goal: worst under 2 ms, no allocations).
//   BM_FrameAfterImpacts: the processor time of a frame at the spawn point
//     before and after 200 impacts around it (the ratio should stay under 1.1),
//     and the triangles it draws (the leaves over craters draw finer levels).
//
// Run from anywhere: build/release/tests/bench_craters

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <random>
#include <vector>

#include "common/allocationcounter.h"
#include "common/glbench.h"
#include "game/terrain/mipterrain.h"
#include "game/terrain/quadtree.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/resources/heightmapresource.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr int Width = 1024, Height = 768;
constexpr double FieldOfView = 70, NearPlane = 1, FarPlane = 4000;
constexpr float PlasmaCrater = 5.0f;
constexpr int Impacts = 100, ImpactsAroundSpawn = 200;
constexpr float DryLand = 9.0f;
constexpr uint32_t Seed = 421;
const TVector3 SpawnEye = {64, 40, 40}, SpawnTarget = {200, 200, 20};

double Milliseconds(std::chrono::steady_clock::time_point Since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Since).count();
}

// Processor time, of this thread or of the whole program (the software
// renderer draws on threads of its own): on a busy machine the wall clock
// also counts the time other programs had the processor.
double CPUMilliseconds(clockid_t Clock) {
    timespec T;
    clock_gettime(Clock, &T);
    return double(T.tv_sec) * 1e3 + double(T.tv_nsec) / 1e6;
}
double ThreadMilliseconds() { return CPUMilliseconds(CLOCK_THREAD_CPUTIME_ID); }

class tCraterBench : public tGLDeviceBench<tVBOVertexArrayManager> {
public:
    tCraterBench() : tGLDeviceBench({"Terrain", "Shaders", "Textures", "Tree"}) {
        Terrain = InstantiateClassAs<tMipTerrain>("tMipTerrain", "Terrain\\island.zhm");
    }
    ~tCraterBench() override { Engine->GetWorld()->ResetWorld(); }

    // The terrain as the level draws it (its uploads first), left queued.
    void Frame(const TVector3& Eye, const TVector3& Target) {
        LookAt(Eye, Target, Width, Height, FieldOfView, NearPlane, FarPlane);
        Device->BeginFrame(ZRT_BACKBUFFER);
        Device->R_Triangles = 0;
        Terrain->QuadTree->LastFrameCameraPos = Eye;
        Terrain->GroundColors.Upload();
        Terrain->QuadTree->Render();
        glFlush();
    }
    // Random land points (X, Y) within Low..High on both axes.
    std::vector<TVector3> LandPoints(int Count, int32_t Low, int32_t High) {
        std::vector<TVector3> Points;
        std::uniform_int_distribution<int32_t> Coordinate(Low, High);
        while (int(Points.size()) < Count) {
            const int32_t X = Coordinate(Random), Y = Coordinate(Random);
            const float H = Terrain->HeightMap->LandscapeHeight(X, Y);
            if (H > DryLand) Points.push_back({float(X), float(Y), H});
        }
        return Points;
    }

    tMipTerrain* Terrain = nullptr;
    std::mt19937 Random{Seed};
};

OffscreenContext& Context() {
    static OffscreenContext GL(Width, Height);
    return GL;
}
tCraterBench& Island() {
    static tCraterBench Bench;
    return Bench;
}

void BM_Impact(benchmark::State& State) {
    if (!Context().Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    std::vector<double> Times, CPUTimes;
    Times.reserve(Impacts);
    CPUTimes.reserve(Impacts);
    int64_t Allocations = 0, AllocatingImpacts = 0;
    for (auto _ : State) {
        const int32_t Size = Island().Terrain->HeightMap->Size;
        for (const TVector3& P : Island().LandPoints(Impacts, 2, Size - 2)) {
            Island().Frame(P + TVector3{0, -60, 40}, P);
            const int64_t Before = ThreadHeapAllocations;
            const auto Start = std::chrono::steady_clock::now();
            const double CPUStart = ThreadMilliseconds();
            Island().Terrain->Impact(P, PlasmaCrater);
            const double Took = Milliseconds(Start);
            CPUTimes.push_back(ThreadMilliseconds() - CPUStart);
            Allocations += ThreadHeapAllocations - Before;
            AllocatingImpacts += ThreadHeapAllocations > Before;
            Times.push_back(Took);
        }
    }
    std::sort(Times.begin(), Times.end());
    std::sort(CPUTimes.begin(), CPUTimes.end());
    State.counters["median_ms"] = Times[Times.size() / 2];
    State.counters["p90_ms"] = Times[Times.size() * 9 / 10];
    State.counters["worst_ms"] = Times.back();
    State.counters["worst_cpu_ms"] = CPUTimes.back();
    State.counters["allocs/impact"] = double(Allocations) / double(Times.size());
    State.counters["allocating"] = double(AllocatingImpacts);
    if (Allocations > 0) State.SkipWithError("Impact allocated on the heap");
}
BENCHMARK(BM_Impact)->Iterations(1)->Unit(benchmark::kMillisecond);

// The processor time of a frame at the spawn point, drawn to the end.
double SpawnFrameMs(int Frames) {
    Island().Frame(SpawnEye, SpawnTarget);
    glFinish();
    const double Start = CPUMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
    for (int I = 0; I < Frames; ++I) Island().Frame(SpawnEye, SpawnTarget);
    glFinish();
    return (CPUMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - Start) / Frames;
}

void BM_FrameAfterImpacts(benchmark::State& State) {
    if (!Context().Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    constexpr int Frames = 20;
    double Before = 0, After = 0;
    int64_t TrianglesBefore = 0, TrianglesAfter = 0;
    for (auto _ : State) {
        Before = SpawnFrameMs(Frames);
        TrianglesBefore = Island().Device->R_Triangles;
        for (const TVector3& P : Island().LandPoints(ImpactsAroundSpawn, 40, 260)) Island().Terrain->Impact(P, PlasmaCrater);
        After = SpawnFrameMs(Frames);
        TrianglesAfter = Island().Device->R_Triangles;
    }
    // The craters are real detail: the leaves over them draw finer levels.
    State.counters["triangles_before"] = double(TrianglesBefore);
    State.counters["triangles_after"] = double(TrianglesAfter);
    State.counters["before_cpu_ms"] = Before;
    State.counters["after_cpu_ms"] = After;
    State.counters["ratio"] = After / Before;
}
BENCHMARK(BM_FrameAfterImpacts)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
