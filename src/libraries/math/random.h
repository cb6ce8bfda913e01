#pragma once
// The engine's dice: Random(N) is uniform in 0..N-1. Each user keeps its own
// generator, seeded by a constant, so a run repeats exactly and tests can
// predict it.

#include <cstdint>
#include <random>

class tRandom {
public:
    explicit tRandom(uint32_t Seed) : Generator(Seed) {}

    // The match seed every generator the game steers by starts from; the
    // match sets it, and so do a recording and a replay as they begin.
    static inline uint32_t MatchSeed = 1;
    // The seed of one generator's stream under the match seed; the first
    // match seed leaves it as it is.
    static uint32_t Seeded(uint32_t Stream) { return Stream + (MatchSeed - 1u) * 1000003u; }

    // 0 for N <= 1.
    int32_t operator()(int32_t N) {
        if (N <= 1) return 0;
        return int32_t(Generator() % uint32_t(N));
    }

private:
    std::minstd_rand Generator;
};
