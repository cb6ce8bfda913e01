// The spread of update times "NetStats" reports: the percentile is the
// upper edge of the bucket it falls in, and a run's counts add up.

#include <gtest/gtest.h>

#include "kernel/core/updatetimes.h"

TEST(UpdateTimes, PercentilesLongestAndRuns) {
    tUpdateTimes T;
    EXPECT_EQ(T.PercentileMilliseconds(0.95), 0);
    for (int I = 0; I < 95; ++I) T.Record(0.000105);
    for (int I = 0; I < 5; ++I) T.Record(0.004);
    T.Record(1.0);  // beyond the last bucket: counted there, kept as the longest
    EXPECT_NEAR(T.PercentileMilliseconds(0.94), 0.11, 1e-9);
    EXPECT_NEAR(T.PercentileMilliseconds(0.97), 4.01, 1e-9);
    EXPECT_NEAR(T.PercentileMilliseconds(1.0), 20.0, 1e-9);
    EXPECT_NEAR(T.LongestMilliseconds(), 1000.0, 1e-6);
    tUpdateTimes Run;
    Run.Add(T);
    Run.Add(T);
    T.Restart();
    EXPECT_EQ(T.Count(), 0);
    EXPECT_EQ(Run.Count(), 202);
    EXPECT_NEAR(Run.PercentileMilliseconds(0.5), 0.11, 1e-9);
    const double Before = tUpdateTimes::ThreadSeconds();
    volatile double Sink = 0;
    for (int I = 0; I < 1000000; ++I) Sink = Sink + I;
    EXPECT_GT(tUpdateTimes::ThreadSeconds(), Before);
}
