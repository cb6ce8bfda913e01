#include "kernel/platform/timer.h"

#include <time.h>

#include <cerrno>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/core/strutils.h"

namespace {

constexpr int64_t CalibrationNanoseconds = 100'000'000;  // 100 ms
constexpr int64_t MinimalCyclesPerSecond = 900'000'000;
constexpr double CyclesPerGHz = 1e9;
constexpr int64_t CyclesPerMHz = 1'000'000;
// An OS sleep may end this much later than asked; the rest of a wait is spun.
constexpr double SpinSeconds = 0.0005;
constexpr int64_t NanosecondsPerSecond = 1'000'000'000;

// Counter value when the program started: the origin of GetSeconds.
const int64_t ProgramStartCycles = GetTSC();

long double MonotonicSeconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long double>(now.tv_sec) + static_cast<long double>(now.tv_nsec) / 1e9L;
}

void SleepNanoseconds(int64_t Nanoseconds) {
    timespec left{static_cast<time_t>(Nanoseconds / NanosecondsPerSecond),
                  static_cast<long>(Nanoseconds % NanosecondsPerSecond)};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace

Z_IMPLEMENT_CLASS(tTimer, .Operations = {{"GetCyclesPerSecond", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tWinTimer, .Operations = {{"GetCyclesPerSecond"}})

// ---- tTimer ----------------------------------------------------------------------

int64_t tTimer::GetCycles() { return GetTSC(); }

void tTimer::Calibrate() {
    RecipCyclesPerSecond = static_cast<float>(1.0 / static_cast<double>(GetCyclesPerSecond()));
    OldCycles = GetCycles();
    WorldUptime = GetSeconds();
}

float tTimer::GetSeconds() const {
    return static_cast<float>(static_cast<double>(GetCycles() - ProgramStartCycles) * RecipCyclesPerSecond);
}

float tTimer::GetSystemTime() const { return GetSeconds() - WorldUptime; }

float tTimer::GetDeltaSeconds() {
    NewCycles = GetCycles();
    float delta = static_cast<float>(static_cast<double>(NewCycles - OldCycles) * RecipCyclesPerSecond);
    OldCycles = NewCycles;
    return delta;
}

double tTimer::CyclesToSeconds(int64_t Cycles) const { return static_cast<double>(Cycles) * RecipCyclesPerSecond; }

void tTimer::SleepCycles(int64_t Cycles) const { WaitUntilPassed(GetCycles(), static_cast<double>(Cycles)); }

void tTimer::SleepSeconds(float Seconds) const {
    const int64_t Start = GetCycles();
    // Before calibration there is no rate: nothing to wait for.
    if (RecipCyclesPerSecond <= 0) return;
    WaitUntilPassed(Start, static_cast<double>(Seconds) / RecipCyclesPerSecond);
}

void tTimer::WaitUntilPassed(int64_t Start, double Cycles) const {
    for (;;) {
        const double Left = Cycles - static_cast<double>(GetCycles() - Start);
        if (Left < 0) return;
        const double LeftSeconds = Left * RecipCyclesPerSecond;
        if (LeftSeconds > SpinSeconds)
            SleepNanoseconds(static_cast<int64_t>((LeftSeconds - SpinSeconds) * static_cast<double>(NanosecondsPerSecond)));
    }
}

// ---- tWinTimer -------------------------------------------------------------------

tWinTimer::tWinTimer() { Calibrate(); }

int64_t tWinTimer::GetCyclesPerSecond() {
    ProcTrace trace("tWinTimer.GetCyclesPerSecond()");
    long double c0 = MonotonicSeconds();
    int64_t t0 = GetCycles();
    SleepNanoseconds(CalibrationNanoseconds);
    int64_t t1 = GetCycles();
    long double c1 = MonotonicSeconds();

    long double elapsed = c1 - c0;
    if (elapsed <= 0) Logger->Fatal("Unable to calibrate the timer: the monotonic clock does not advance");
    auto result = static_cast<int64_t>(std::llrint(static_cast<long double>(t1 - t0) / elapsed));
    AcceptCyclesPerSecond(result);
    return result;
}

void tWinTimer::AcceptCyclesPerSecond(int64_t CyclesPerSecond) {
    Logger->Log("CPUCycles=" + Int2Str(CyclesPerSecond));
    LogCPUSpeed(CyclesPerSecond);
    if (CyclesPerSecond < MinimalCyclesPerSecond) Logger->Fatal("Needs at least 1GHz CPU");
}

void tWinTimer::LogCPUSpeed(int64_t CyclesPerSecond) {
    double gigahertz = static_cast<double>(CyclesPerSecond) / CyclesPerGHz;
    if (gigahertz > 1.0)
        Logger->Log("CPU clock at " + Flt2Str(gigahertz, 1) + " GHz");
    else
        Logger->Log("CPU clock at " + Int2Str(CyclesPerSecond / CyclesPerMHz) + " MHz");
}
