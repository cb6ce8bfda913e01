#pragma once
// The engine's clock: the processor's time-stamp counter converted to seconds
// with a cycles-per-second figure measured once, when the timer is created.
// Seconds count from a reference taken when the program started, so single
// precision keeps microsecond resolution over any session however long the
// machine has been up.

#include <cstdint>

#include "kernel/objects/zobject.h"

class tTimer : public tZObject {
    Z_DECLARE_CLASS(tTimer, tZObject)
public:
    // Measures the counter's rate (abstract here).
    virtual int64_t GetCyclesPerSecond() = 0;

    // The time-stamp counter, read directly.
    static int64_t GetCycles();
    float GetSeconds() const;
    // Seconds since this timer was created.
    float GetSystemTime() const;
    // Seconds since the previous call (the first time: since creation).
    float GetDeltaSeconds();
    // The seconds a number of counts stands for. Durations are measured as
    // counter differences: a difference of two absolute seconds readings
    // loses resolution as the session grows long (about 8 ms after a day).
    double CyclesToSeconds(int64_t Cycles) const;
    // Wait until more than Cycles counts, or more than Seconds, have passed.
    // The processor is given back to the system for all but the last
    // fraction of a millisecond, which is spun for precision.
    void SleepCycles(int64_t Cycles) const;
    void SleepSeconds(float Seconds) const;

    float RecipCyclesPerSecond = 0;
    int64_t OldCycles = 0;
    int64_t NewCycles = 0;
    float WorldUptime = 0;

protected:
    tTimer() = default;
    // Takes the measured rate and starts the clock. tWinTimer's constructor
    // calls it; as a constructor's virtual calls reach only the class being
    // built, a timer deriving from it that measures in its own way calls it
    // again from its own constructor.
    void Calibrate();

private:
    // Waits until more than Cycles counts have passed since Start.
    void WaitUntilPassed(int64_t Start, double Cycles) const;
};

