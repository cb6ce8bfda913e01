// Building shapes and working on vertex arrays, as the renderer does each
// frame (billboards, particles, boxes, domes), into arrays allocated once, and
// drawing camera-faced particles through OpenGL (offscreen context) from
// buffer objects and from memory. Each benchmark reports the heap allocations
// per frame ("allocs/frame"), counted by the replaced global operator new;
// the goal is zero.

#include <benchmark/benchmark.h>

#include <vector>

#include "common/allocationcounter.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr int32_t Particles = 1000;

// The services a frame needs, with arrays allocated before the timing starts.
struct GeometryFrame {
    tCoreLogger Log{"engine.log", LOG_DISABLED};
    tVertexArrayManager* Manager;
    tRGeometryServer* Server;

    GeometryFrame() {
        Logger = &Log;
        Manager = NewObject<tStdVertexArrayManager>();
        Server = NewObject<tRGeometryServer>();
    }
    ~GeometryFrame() {
        tZObject::DisposeObject(Server);
        tZObject::DisposeObject(Manager);
        Logger = nullptr;
    }
};

void BM_ParticleRects(benchmark::State& State) {
    GeometryFrame G;
    tVertexArray* VA = G.Manager->AllocateVA(4 * Particles, 0, GN_FALSE, PRIM_QUADS);
    std::vector<TVector3> Centers(Particles);
    for (int32_t I = 0; I < Particles; ++I) Centers[I] = {float(I), float(I % 17), float(I % 5)};
    RunFrames(State, [&] {
        G.Server->CreateRectsArray(VA, Particles, Centers.data(), 0.5f, 0.5f);
        benchmark::DoNotOptimize(VA->GetVertices()[0]);
    });
    State.SetItemsProcessed(State.iterations() * 4 * Particles);
    tZObject::DisposeObject(VA);
}
BENCHMARK(BM_ParticleRects);

void BM_BoxesAndRects(benchmark::State& State) {
    GeometryFrame G;
    tVertexArray* Box = G.Manager->AllocateVA(24, 0, GN_TRUE, PRIM_QUADS);
    tVertexArray* Rect = G.Manager->AllocateVA(4, 0, GN_TRUE, PRIM_QUADS);
    tVertexArray* Bevel = G.Manager->AllocateVA(12, 0, GN_TRUE, PRIM_POLYGON);
    TBoundingBox B;
    B.Min = {-1, -2, -3};
    B.Max = {1, 2, 3};
    RunFrames(State, [&] {
        G.Server->CreateBBox_Geometry(Box, B);
        G.Server->CreateOBox_Geometry(Box, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1});
        G.Server->CreateRect(Rect, 0, 0, 100, 20, 0);
        G.Server->CreateBevelRect(Bevel, 0, 0, 100, 20, 0, 4);
        benchmark::DoNotOptimize(Bevel->GetVertices()[0]);
    });
    for (tVertexArray* VA : {Box, Rect, Bevel}) tZObject::DisposeObject(VA);
}
BENCHMARK(BM_BoxesAndRects);

void BM_Dome(benchmark::State& State) {
    GeometryFrame G;
    tVertexArray* VA = G.Manager->AllocateVA(36 * 9 * 4, 0, GN_FALSE, PRIM_TRIANGLE_STRIP);  // 10-degree steps
    RunFrames(State, [&] {
        G.Server->CreateDome(VA, 1000, 10, 10, 1, 1, 0, 0, 0);
        benchmark::DoNotOptimize(VA->GetVertices()[0]);
    });
    tZObject::DisposeObject(VA);
}
BENCHMARK(BM_Dome);

void BM_MoveAndMeasure(benchmark::State& State) {
    GeometryFrame G;
    tVertexArray* VA = G.Manager->AllocateVA(4 * Particles, 0, GN_FALSE, PRIM_QUADS);
    RunFrames(State, [&] {
        G.Server->Translate(VA, {1, 2, 3});
        G.Server->Scale(VA, 1.0f);
        float MinX = 1e21f, MaxX = -1e21f;
        G.Server->MinMaxX(VA, MinX, MaxX);
        benchmark::DoNotOptimize(G.Server->TranslateToCenter(VA));
    });
    tZObject::DisposeObject(VA);
}
BENCHMARK(BM_MoveAndMeasure);

// Arg 1: buffer objects, 0: ordinary memory.
void BM_DrawCameraFacedParticles(benchmark::State& State) {
    OffscreenContext GL;
    if (!GL.Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    tCoreLogger Log{"engine.log", LOG_DISABLED};
    Logger = &Log;
    tVertexArrayManager* Manager;
    if (State.range(0))
        Manager = NewObject<tVBOVertexArrayManager>();
    else
        Manager = NewObject<tStdVertexArrayManager>();
    tRGeometryServer* Server = NewObject<tRGeometryServer>();
    tVertexArray* VA = Manager->AllocateVA(4 * Particles, 0, GN_FALSE, PRIM_QUADS);
    std::vector<TVector3> Centers(Particles);
    for (int32_t I = 0; I < Particles; ++I) Centers[I] = {float(I % 64), float(I / 16), 0};
    RunFrames(State, [&] {
        Server->CreateRectsArray_CameraFaced(VA, Particles, Centers.data(), 0.5f, 0.5f);
        VA->FeedIntoGPU();
        glFinish();
    });
    State.SetItemsProcessed(State.iterations() * 4 * Particles);
    tZObject::DisposeObject(VA);
    tZObject::DisposeObject(Server);
    tZObject::DisposeObject(Manager);
    Logger = nullptr;
}
BENCHMARK(BM_DrawCameraFacedParticles)->ArgName("VBO")->Arg(1)->Arg(0);

}  // namespace
