// Instructions per second of the script machine on a counting loop.

#include <benchmark/benchmark.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "vm/vmasm.h"

namespace {

constexpr int32_t InstructionsPerRun = 1000000;

// counter := 0; loop: counter += 1; if counter < limit goto loop. The limit is
// never reached: the budget ends each run after a million instructions.
void BM_CountingLoop(benchmark::State& state) {
    tCoreLogger logger("engine.log", LOG_DISABLED);
    Logger = &logger;
    {
        VMProgram prog(4096);
        prog.Emit(OP_PUSH, Imm(0));   // 0: the counter
        prog.Emit(OP_INC);            // 1: loop
        prog.Emit(OP_LS, Imm(1e12));  // 2: counter, counter < limit
        prog.Emit(OP_JNZ, Imm(1));    // 3
        prog.Emit(OP_HLT);
        VMMachine machine;
        for (auto _ : state) {
            prog.Load(*machine);
            machine->Execute(0, InstructionsPerRun);
            benchmark::DoNotOptimize(prog.Cell(prog.SizeBytes() / 8 - 1));
        }
    }
    Logger = nullptr;
    state.SetItemsProcessed(state.iterations() * InstructionsPerRun);
}
BENCHMARK(BM_CountingLoop)->Unit(benchmark::kMillisecond);

}  // namespace
