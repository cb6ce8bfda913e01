// The world's tick with a crowded scene (1000 actors and 1000 effects that
// move every tick) and the free camera's tick while it flies and turns: their
// cost, and their heap allocations when nothing spawns or dies (there must be
// none).

#include <benchmark/benchmark.h>

#include "common/allocationcounter.h"
#include "common/enginehost.h"
#include "common/testworld.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/world/freecamera.h"
#include "libraries/classes/console.h"

namespace {

constexpr int SceneObjects = 1000;

class tDriftingActor : public tActor {
    Z_DECLARE_CLASS(tDriftingActor, tActor)
public:
    using tActor::tActor;
    void Render() override {}
    void SetPosition(const TVector3& P) override { Position = P; }
    void Update(float DeltaSeconds) override { Position += TVector3{1, 2, 0} * DeltaSeconds; }
    TVector3 Position;
};

class tDriftingEffect : public tEffect {
    Z_DECLARE_CLASS(tDriftingEffect, tEffect)
public:
    using tEffect::tEffect;
    void Render() override {}
    void Update(float DeltaSeconds) override { Age += DeltaSeconds; }
    float Age = 0;
};

}  // namespace

Z_IMPLEMENT_CLASS(tDriftingActor, .Operations = {{"Render"}, {"SetPosition"}})
Z_IMPLEMENT_CLASS(tDriftingEffect, .Operations = {{"Render"}})

static void BM_WorldTick(benchmark::State& State) {
    tEngineHost Host;
    Host.StartActiveEngine();
    RegisterTestWorldClasses();
    Linker->AddClass(tDriftingActor::StaticClass(CT_SpawnableConstructor));
    Linker->AddClass(tDriftingEffect::StaticClass(CT_SpawnableConstructor));
    tZObject* World = Linker->InstantiateClassByName("tTickingWorld", "");
    for (int I = 0; I < SceneObjects; ++I) {
        Linker->InstantiateClassByName("tDriftingActor", "");
        Linker->InstantiateClassByName("tDriftingEffect", "");
    }
    RunFrames(State, [&] { static_cast<tWorld*>(World)->Tick(0.01f); });
    State.counters["objects"] = 2 * SceneObjects;
}
BENCHMARK(BM_WorldTick);

static void BM_FreeCameraTick(benchmark::State& State) {
    tEngineHost Host;
    Host.StartActiveEngine();
    RegisterTestWorldClasses();
    Linker->InstantiateClassByName("tFlatTerrain", "10");
    auto* Camera = static_cast<tFreeCamera*>(Linker->InstantiateClassByName("tFreeCamera", ""));
    Console->SendCommand("+MoveUp; +LookLeft; +RaiseCamera", true);
    RunFrames(State, [&] { Camera->Tick(0.01f); });
}
BENCHMARK(BM_FreeCameraTick);
