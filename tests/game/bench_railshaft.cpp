// The rail gun's shaft at its fullest: the update that lays its 1000
// particles along the helix, and the drawing that turns them into
// camera-facing quads and draws them with the rail shader of Data/, on an
// offscreen 1024 x 768 context through the render device, its geometry
// server and buffer-object arrays. Reports time per update and per drawing
// and heap allocations per frame (there must be none); the drawing also
// reports how many pixels of the frame the beam lit.
//
// Run from anywhere: build/release/tests/bench_railshaft

#include <benchmark/benchmark.h>

#include <vector>

#include "common/allocationcounter.h"
#include "common/glbench.h"
#include "game/projectiles.h"
#include "kernel/objects/registry.h"
#include "renderer/vagl/offscreencontext.h"

namespace {

constexpr int Width = 1024, Height = 768;
constexpr double FieldOfView = 70, NearPlane = 1, FarPlane = 4000;
constexpr float Step = 0.01f;  // the engine's fixed update step

// Fired north from the origin; the camera looks at the beam's middle from
// the side, as the orbit camera swings around it.
constexpr const char* ShotName = "0.00 0.00 0.00 0.00 400.00 0.00";
constexpr TVector3 Eye = {-300, 400, 60}, Target = {0, 400, 0};

// The engine's services over a data directory whose shaders and textures
// are the repository's own, a render device on the current context, and one
// rail shaft in the world.
class tRailShaftBench : public tGLDeviceBench<tVBOVertexArrayManager> {
public:
    tRailShaftBench() : tGLDeviceBench({"Shaders", "Textures"}) {
        Device->GeometryServer = NewObject<tRGeometryServer>();
        // A black sky: what is lit, the beam lit.
        Device->SetFogColor({0, 0, 0, 1});

        Shaft = static_cast<tRailShaft*>(Linker->InstantiateClassByName("tRailShaft", ShotName));
        // The orbit camera the shaft starts on its first updates is a spawn,
        // not part of a steady frame: this shaft has started it already. At
        // the end of its life the beam holds all of its particles.
        Shaft->Orbited = true;
        Shaft->LifeTime = Shaft->TTL;
        Shaft->Update(Step);
    }
    ~tRailShaftBench() override {
        Engine->SetWorld(nullptr);  // with the shaft in it
    }

    void Update() { Shaft->Update(Step); }

    void Draw() {
        LookAt(Eye, Target, Width, Height, FieldOfView, NearPlane, FarPlane);
        Device->BeginFrame(ZRT_BACKBUFFER);
        Shaft->Render();
        glFinish();
    }

    // Pixels of the last frame the beam lit.
    static int32_t LitPixels() {
        std::vector<uint8_t> RGB(size_t(Width) * Height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, Width, Height, GL_RGB, GL_UNSIGNED_BYTE, RGB.data());
        int32_t Lit = 0;
        for (size_t I = 0; I < RGB.size(); I += 3) Lit += RGB[I] > 32 || RGB[I + 1] > 32 || RGB[I + 2] > 32;
        return Lit;
    }

    tRailShaft* Shaft = nullptr;
};

// The context and the shaft, made by the first benchmark and kept to the end.
OffscreenContext& Context() {
    static OffscreenContext GL(Width, Height);
    return GL;
}
tRailShaftBench& Bench() {
    static tRailShaftBench Shaft;
    return Shaft;
}

void BM_RailShaftUpdate(benchmark::State& State) {
    if (!Context().Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    RunFrames(State, [] { Bench().Update(); });
    State.counters["particles"] = Bench().Shaft->ParticlesCount;
}
BENCHMARK(BM_RailShaftUpdate)->Unit(benchmark::kMicrosecond);

void BM_RailShaftRender(benchmark::State& State) {
    if (!Context().Valid()) {
        State.SkipWithError("no OpenGL context");
        return;
    }
    RunFrames(State, [] { Bench().Draw(); });
    const int32_t Lit = tRailShaftBench::LitPixels();
    if (Lit == 0) State.SkipWithError("the beam drew nothing");
    State.counters["particles"] = Bench().Shaft->ParticlesCount;
    State.counters["lit_pixels"] = Lit;
}
BENCHMARK(BM_RailShaftRender)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
