#pragma once
// Counts heap allocations through a replaced global operator new, for the
// benchmarks' "allocs/frame" counters. Include it in exactly one source of
// a benchmark program.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

inline std::atomic<int64_t> HeapAllocations{0};
// The calling thread's share: the driver's own threads allocate as they please.
inline thread_local int64_t ThreadHeapAllocations = 0;

// GCC takes the malloc/free pair below for a mismatch once operator new is inlined.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t Size) {
    ++HeapAllocations;
    ++ThreadHeapAllocations;
    if (void* P = std::malloc(Size ? Size : 1)) return P;
    throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

// Runs Frame once to warm up, then times it and reports the allocations made
// by the timed frames.
template <class F>
void RunFrames(benchmark::State& State, F Frame) {
    Frame();
    const int64_t Before = HeapAllocations.load();
    for (auto _ : State) Frame();
    State.counters["allocs/frame"] =
        benchmark::Counter(double(HeapAllocations.load() - Before) / double(State.iterations()));
}
