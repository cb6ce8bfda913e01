#pragma once
// tWinTimer (the interface is in libraries/classes/timer.h).

#include <cstdint>

#include "libraries/classes/timer.h"

// The timer on this platform: calibrated for 100 ms against the monotonic clock.
class tWinTimer : public tTimer {
    Z_DECLARE_CLASS(tWinTimer, tTimer)
public:
    tWinTimer();
    // Measures anew on every call (100 ms) and logs the result.
    int64_t GetCyclesPerSecond() override;
    // "CPU clock at 2.4 GHz" or "CPU clock at 950 MHz".
    void LogCPUSpeed(int64_t CyclesPerSecond);
    // Logs a measured rate and refuses a processor slower than 0.9 GHz.
    void AcceptCyclesPerSecond(int64_t CyclesPerSecond);
};
