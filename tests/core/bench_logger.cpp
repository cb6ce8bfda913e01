// Cost of one PushProc / PopProc bracket with a live logger writing "engine.log"
// in a temporary directory; nothing is logged inside the bracket, so no line
// is written and only the nesting and the profiler are paid for.

#include <benchmark/benchmark.h>

#include "common/testenv.h"
#include "kernel/console/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/core/strutils.h"

namespace {

// The logger and the profiler as a running engine has them: a few brackets
// open and, optionally, many section names already charged (the profiler
// searches them on every pop).
class LiveLogger {
public:
    explicit LiveLogger(int chargedNames) {
        ResetProfiler();
        Logger = new tCoreLogger("engine.log", LOG_FILE);
        for (int i = 0; i < chargedNames; ++i) {
            Logger->PushProc("tSection" + Int2Str(i) + ".Run()");
            Logger->PopProc();
        }
        Logger->PushProc("MainLoop()");
        Logger->PushProc("tWinGameEngine.Tick(0.010)");
    }
    ~LiveLogger() {
        Logger->PopProc();
        Logger->PopProc();
        delete Logger;
        Logger = nullptr;
        ResetProfiler();
    }

private:
    TempWorkDir Work;
};

void BM_PushPopPair(benchmark::State& state) {
    LiveLogger live(static_cast<int>(state.range(0)));
    const ShortString name = "tEngineConsole.SendCommand(Set CameraSpeed 50)";
    for (auto _ : state) {
        Logger->PushProc(name);
        Logger->PopProc();
    }
}
BENCHMARK(BM_PushPopPair)->Arg(0)->Arg(100)->Arg(999);

void BM_ProcTraceFromLiteral(benchmark::State& state) {
    LiveLogger live(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ProcTrace trace("tFreeCamera.Tick()");
        benchmark::DoNotOptimize(&trace);
    }
}
BENCHMARK(BM_ProcTraceFromLiteral)->Arg(0)->Arg(100);

}  // namespace
