// An ordinary command line runs without touching the heap: lines, tokens and
// messages are fixed-size values. Counted by replacing the global allocator in
// this test program.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "common/consoleenv.h"

namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t Size) {
    ++Allocations;
    if (void* p = std::malloc(Size ? Size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }  // NOLINT: pairs with the malloc above
void operator delete(void* P, std::size_t) noexcept { std::free(P); }

using ConsoleAllocationTest = ConsoleTest;

TEST_F(ConsoleAllocationTest, AnOrdinaryLineAllocatesNothing) {
    const ShortString ordinary = "Set Foo 5; Echo a";
    const ShortString mixed = "echo %Foo; Add Nope 1; Bind VK_F1 +Fire; Frobnicate";
    Console->SendCommand(ordinary, true);  // the first run may size the profiler's stack
    const long before = Allocations.load();
    for (int i = 0; i < 100; ++i) {
        Console->SendCommand(ordinary, true);
        Console->SendCommand(mixed, true);
    }
    EXPECT_EQ(Allocations.load() - before, 0);
}
