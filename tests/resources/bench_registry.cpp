// Cost of a class lookup by name over a full class table (1000 records).

#include <benchmark/benchmark.h>

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"

namespace {

struct FullRegistry {
    FullRegistry() {
        Logger = new tCoreLogger("engine.log", LOG_DISABLED);
        Linker = NewObject<tObjectsLinker>();
        tZClass C = tZObject::StaticClass();
        for (int I = 1; I <= tObjectsLinker::MAX_CLASSES; ++I) {
            C.ClassName = "tRegisteredClass" + Int2Str(I);
            Linker->AddClass(C);
        }
    }
    ~FullRegistry() {
        tZObject::DisposeObject(Linker);
        delete Logger;
        Logger = nullptr;
    }
    TempWorkDir Work;
};

void Lookup(benchmark::State& State, const char* Name) {
    FullRegistry Registry;
    ShortString Wanted(Name);
    tZClass C;
    for (auto _ : State) {
        bool Found = Linker->FindClass(Wanted, C);
        benchmark::DoNotOptimize(Found);
        benchmark::DoNotOptimize(C);
    }
}

}  // namespace

BENCHMARK_CAPTURE(Lookup, FirstRecord, "tRegisteredClass1");
BENCHMARK_CAPTURE(Lookup, MiddleRecord, "tregisteredclass500");
BENCHMARK_CAPTURE(Lookup, LastRecord, "TREGISTEREDCLASS1000");
BENCHMARK_CAPTURE(Lookup, Missing, "tNoSuchClass");
