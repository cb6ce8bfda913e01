#include "kernel/platform/mainloop.h"

#include <algorithm>
#include <cstdint>

#include "kernel/core/logger.h"
#include "kernel/platform/winviewport.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/timer.h"

void MainLoop(tEngine* Engine) {
    ProcTrace trace("MainLoop()");
    Engine->InitGame();
    tTimer* Timer = Engine->Timer;
    // Frame times are counter differences, precise however long the game runs.
    int64_t Last = tTimer::GetCycles();
    int64_t RateStart = Last;
    int64_t Frames = 0;
    while (!Engine->RequestingExit) {
        const int64_t Now = tTimer::GetCycles();
        const auto Delta = static_cast<float>(Timer->CyclesToSeconds(Now - Last));
        Last = Now;
        ++Frames;
        if (DispatchWindowMessages()) Engine->RequestingExit = true;
        Engine->Tick(Delta * Engine->TimeCompression);
        const double RatePeriod = Timer->CyclesToSeconds(Last - RateStart);
        if (RatePeriod > TickRateMeasurePeriod) {
            Engine->CurrentTickRate = std::max(MinMeasuredTickRate, static_cast<float>(Frames / RatePeriod));
            RateStart = Last;
            Frames = 0;
        }
        if (Engine->GetMaxTickRate() > 1) {
            const double FrameShare = 1.0 / Engine->GetMaxTickRate();
            const double Spent = Timer->CyclesToSeconds(tTimer::GetCycles() - Last);
            Timer->SleepSeconds(static_cast<float>(std::max(0.0, FrameShare - Spent)));
        }
    }
    // One more frame, with no time passing: screenshots are taken from a
    // finished frame, and one asked for right before quitting (or by the
    // start-up scripts of a run that quits at once) is taken from this one.
    Engine->Tick(0.0f);
}
