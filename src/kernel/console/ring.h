#pragma once
// Slot arithmetic of the console's fixed rings, whose slots run 1..Capacity and
// whose write position moves down, from 1 back to Capacity.

#include <cstdint>

constexpr int32_t RingSlotBelow(int32_t Slot, int32_t Capacity) { return Slot == 1 ? Capacity : Slot - 1; }

// The slot N places above Slot, wrapping within 1..Capacity.
constexpr int32_t RingSlotAbove(int32_t Slot, int32_t N, int32_t Capacity) {
    int32_t r = (Slot + N - 1) % Capacity;
    return (r < 0 ? r + Capacity : r) + 1;
}
