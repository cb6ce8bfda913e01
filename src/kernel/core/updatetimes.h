#pragma once
// How long the engine's fixed updates take: the main loop records the
// processor time of each (the work, not the time other programs on the
// machine took from it), and whoever watches the server's load
// ("NetStats") reads the spread since it last looked. Counted in buckets,
// so recording allocates nothing and costs two clock reads.

#include <array>
#include <cstdint>

class tUpdateTimes {
public:
    static constexpr int32_t BucketMicroseconds = 10;
    static constexpr int32_t Buckets = 2000;  // up to 20 ms; longer ones go in the last

    // The calling thread's processor time so far.
    static double ThreadSeconds();

    void Record(double Seconds);
    // Adds the other's counts, as for a whole run's spread.
    void Add(const tUpdateTimes& Other);
    // The time under which Fraction (0 ... 1) of the updates since the last
    // Restart stayed, in milliseconds (a bucket's upper edge); 0 with none.
    double PercentileMilliseconds(double Fraction) const;
    double LongestMilliseconds() const { return Longest * 1000.0; }
    int64_t Count() const { return Total; }
    void Restart();

private:
    std::array<int64_t, Buckets> Counts{};
    int64_t Total = 0;
    double Longest = 0;
};

// The main loop's.
extern tUpdateTimes UpdateTimes;
