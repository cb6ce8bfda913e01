// One engine frame with the subsystems of an idle game (console, null world
// and camera) and the frame-rate lines, against a render device that only
// records: the cost of the engine's own frame work, and its heap allocations
// (there must be none).

#include <benchmark/benchmark.h>

#include "common/allocationcounter.h"
#include "common/enginehost.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "libraries/classes/console.h"

static void BM_IdleEngineFrame(benchmark::State& State) {
    tEngineHost Host;
    tWinGameEngine& E = Host.StartActiveEngine();
    Linker->BroadcastEngineInit();  // the console joins the subsystems
    E.GetWorld();
    E.EngineConfig.ShowFPS = true;
    Console->Display("A message the console draws");
    RunFrames(State, [&] { E.Tick(0.016f); });
    State.counters["subsystems"] = E.ActiveSubsystems;
}
BENCHMARK(BM_IdleEngineFrame);
