#include "kernel/core/updatetimes.h"

#include <algorithm>
#include <cmath>
#include <ctime>

tUpdateTimes UpdateTimes;

double tUpdateTimes::ThreadSeconds() {
    timespec Now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &Now);
    return double(Now.tv_sec) + double(Now.tv_nsec) * 1.0e-9;
}

void tUpdateTimes::Add(const tUpdateTimes& Other) {
    for (std::size_t B = 0; B < Counts.size(); ++B) Counts[B] += Other.Counts[B];
    Total += Other.Total;
    Longest = std::max(Longest, Other.Longest);
}

void tUpdateTimes::Record(double Seconds) {
    const double Microseconds = std::max(0.0, Seconds * 1.0e6);
    const auto Bucket = static_cast<int32_t>(std::min<double>(Buckets - 1, Microseconds / BucketMicroseconds));
    ++Counts[static_cast<std::size_t>(Bucket)];
    ++Total;
    Longest = std::max(Longest, Seconds);
}

double tUpdateTimes::PercentileMilliseconds(double Fraction) const {
    if (Total == 0) return 0;
    const auto Wanted = static_cast<int64_t>(std::ceil(std::clamp(Fraction, 0.0, 1.0) * double(Total)));
    int64_t Seen = 0;
    for (int32_t B = 0; B < Buckets; ++B) {
        Seen += Counts[static_cast<std::size_t>(B)];
        if (Seen >= std::max<int64_t>(1, Wanted)) return double((B + 1) * BucketMicroseconds) / 1000.0;
    }
    return LongestMilliseconds();
}

void tUpdateTimes::Restart() {
    Counts.fill(0);
    Total = 0;
    Longest = 0;
}
