#pragma once
// ENet is set up before the first host and taken down after the last one.
// Its memory comes from free lists of a few block sizes that keep what ENet
// frees: a steady flow of packets (each packet, its data and its queued
// command are blocks) takes nothing more from the heap once it is warm.

#include <cstdint>

class tENetLibrary {
public:
    tENetLibrary();
    ~tENetLibrary();
    tENetLibrary(const tENetLibrary&) = delete;
    tENetLibrary& operator=(const tENetLibrary&) = delete;
    bool Ok() const { return Ready; }

    // Blocks ENet's memory took from the heap in this run: the free lists'
    // misses, and every block larger than the largest list's.
    static uint64_t HeapAllocations();

private:
    bool Ready = false;
};
