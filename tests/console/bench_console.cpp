// Lines per second through the console's interpreter.

#include <benchmark/benchmark.h>

#include "common/testenv.h"
#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

namespace {

void RunLines(benchmark::State& State, const char* Line) {
    TempWorkDir work;
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
    Console = NewObject<tEngineConsole>();
    EngineVars = NewObject<tEngineVarsManager>();
    EngineVars->SetVar("Foo", 1);
    const ShortString line = Line;
    for (auto _ : State) {
        Console->SendCommand(line, true);
        // Keep the history from measuring its own wrap-around only.
        if ((State.iterations() & 63) == 0) Console->GetMessagesHistory()->Clear();
    }
    State.SetItemsProcessed(State.iterations());
    State.SetLabel("lines");
    tZObject::DisposeObject(EngineVars);
    tZObject::DisposeObject(Console);
    delete Warning;
    delete Logger;
    Warning = nullptr;
    Logger = nullptr;
}

void BM_SetAndEcho(benchmark::State& State) { RunLines(State, "Set Foo 5; Echo a"); }
void BM_PercentAndPlus(benchmark::State& State) { RunLines(State, "+Fire; Set Bar %Foo; Echo \"x; y\""); }

}  // namespace

BENCHMARK(BM_SetAndEcho);
BENCHMARK(BM_PercentAndPlus);
