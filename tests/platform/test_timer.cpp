#include <chrono>
#include <time.h>

#include <cmath>
#include <ctime>
#include <string>

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/objects/registry.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/timer.h"

namespace {

double MonotonicNow() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

class TimerTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Timer = NewObject<tWinTimer>();
    }
    void TearDown() override {
        tZObject::DisposeObject(Timer);
        EngineTest::TearDown();
    }
    std::string Log() { return ReadWholeFile(Work.Path() / "engine.log"); }
    tWinTimer* Timer = nullptr;
};

TEST_F(TimerTest, CalibrationIsLoggedAndSecondsStartNearZero) {
    std::string log = Log();
    EXPECT_NE(log.find("tWinTimer.GetCyclesPerSecond()->\"CPUCycles="), std::string::npos) << log;
    EXPECT_NE(log.find("\"CPU clock at "), std::string::npos) << log;
    EXPECT_GT(Timer->RecipCyclesPerSecond, 0.0f);

    // Counted from the program's start, not from the processor's reset: a
    // test run is seconds old however long the machine has been up.
    EXPECT_LT(Timer->GetSeconds(), 600.0f);
    EXPECT_GE(Timer->GetSystemTime(), 0.0f);
    EXPECT_LT(Timer->GetSystemTime(), 5.0f);
    EXPECT_NEAR(Timer->WorldUptime + Timer->GetSystemTime(), Timer->GetSeconds(), 1e-3f);
}

// Bounds are generous: a loaded machine may stretch the calibration's
// 100 ms; a wrong rate is off by a factor, not by percents.
TEST_F(TimerTest, MeasuredRateMatchesTheMonotonicClock) {
    double before = MonotonicNow();
    float start = Timer->GetSeconds();
    Timer->SleepSeconds(0.2f);
    double wall = MonotonicNow() - before;
    const double measured = Timer->GetSeconds() - start;
    EXPECT_GT(measured, wall * 0.5);
    EXPECT_LT(measured, wall * 2.0);
}

TEST_F(TimerTest, DeltasAddUpToTheSystemTime) {
    float first = Timer->GetDeltaSeconds();  // since construction
    float sum = first;
    for (int i = 0; i < 20; ++i) {
        Timer->SleepSeconds(0.002f);
        sum += Timer->GetDeltaSeconds();
    }
    EXPECT_NEAR(sum, Timer->GetSystemTime(), 1e-3f);
    EXPECT_GT(sum, 0.04f);
    // Each delta is the time since the one before, however long that was.
    Timer->GetDeltaSeconds();
    const double Before = MonotonicNow();
    const float Delta = Timer->GetDeltaSeconds();
    EXPECT_LE(Delta, MonotonicNow() - Before + 0.01);
}

TEST_F(TimerTest, SleepsNeverReturnEarly) {
    for (float seconds : {0.001f, 0.01f, 0.03f}) {
        double before = MonotonicNow();
        int64_t cycles = tTimer::GetCycles();
        Timer->SleepSeconds(seconds);
        int64_t slept = tTimer::GetCycles() - cycles;
        EXPECT_GT(static_cast<double>(slept) * Timer->RecipCyclesPerSecond, seconds);
        EXPECT_GE(MonotonicNow() - before, seconds * 0.5);
    }
    int64_t start = tTimer::GetCycles();
    Timer->SleepCycles(1000);
    EXPECT_GT(tTimer::GetCycles() - start, 1000);

    double before = MonotonicNow();
    Timer->SleepSeconds(0.0f);
    Timer->SleepSeconds(-5.0f);
    Timer->SleepCycles(-1);
    // Nothing to wait for (a negative wait taken as a huge one would hang);
    // the bound leaves room for a loaded machine.
    EXPECT_LT(MonotonicNow() - before, 2.0);
}

// The waits give the processor back: a long sleep costs little processor time.
TEST_F(TimerTest, SleepsDoNotSpinTheProcessor) {
    const std::clock_t before = std::clock();
    Timer->SleepSeconds(0.3f);
    Timer->SleepCycles(static_cast<int64_t>(0.2 / Timer->RecipCyclesPerSecond));
    EXPECT_LT(static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC, 0.1);
}

TEST_F(TimerTest, ClockSpeedLinesAndTheMinimalSpeed) {
    Timer->LogCPUSpeed(1'000'000'000);
    Timer->LogCPUSpeed(2'400'000'000);
    Timer->AcceptCyclesPerSecond(950'000'000);  // slow, but the program goes on
    std::string log = Log();
    EXPECT_NE(log.find("\"CPU clock at 1000 MHz\""), std::string::npos);
    EXPECT_NE(log.find("\"CPU clock at 2.4 GHz\""), std::string::npos);
    EXPECT_NE(log.find("\"CPUCycles=950000000\""), std::string::npos);
    EXPECT_NE(log.find("\"CPU clock at 950 MHz\""), std::string::npos);
    EXPECT_EXIT(Timer->AcceptCyclesPerSecond(899'999'999), ::testing::ExitedWithCode(255), "Needs at least 1GHz CPU");
}

TEST_F(TimerTest, ProfilerReportUsesTheMeasuredRateAndTheOSVersion) {
    tWinOSSystem os;
    ResetProfiler();
    // Compared with the wall clock, not with the requested 0.2 s: a busy
    // machine may oversleep by more than the report's precision.
    auto start = std::chrono::steady_clock::now();
    {
        ProcTrace trace("tTimerTest.Sleep()");
        Timer->SleepSeconds(0.2f);
    }
    double slept = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    DumpProfileInfo(static_cast<double>(Timer->GetCyclesPerSecond()), os.GetOSVersion());
    ResetProfiler();

    std::string report = ReadWholeFile(Work.Path() / "profiler.log");
    EXPECT_NE(report.find("Running on: " + os.GetOSVersion().str() + "\n"), std::string::npos) << report;
    std::size_t row = report.find("TTIMERTEST.SLEEP");
    ASSERT_NE(row, std::string::npos) << report;
    double seconds = std::stod(report.substr(row + 45, 15));
    EXPECT_GE(seconds, 0.19) << report;
    EXPECT_NEAR(seconds, slept, 0.5 * slept) << report;
}

}  // namespace

namespace {

using TimerClasses = EngineTest;

TEST_F(TimerClasses, TheEngineCreatesItsTimerByName) {
    Linker = NewObject<tObjectsLinker>();
    Linker->RegisterClasses();

    tZClass timerClass;
    ASSERT_TRUE(Linker->FindClass("tTimer", timerClass));
    EXPECT_TRUE(tZObject::IsAbstractClass(timerClass));
    tZObject* timer = Linker->InstantiateClassByName("tWinTimer", "");
    EXPECT_EQ(timer->ClassName(), "TWINTIMER");
    EXPECT_TRUE(timer->DynamicCast("tTimer"));
    EXPECT_GT(static_cast<tTimer*>(timer)->RecipCyclesPerSecond, 0.0f);

    tZObject::DisposeObject(timer);
    tZObject::DisposeObject(Linker);
}

}  // namespace
