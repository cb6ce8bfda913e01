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
    float Last = Timer->GetSeconds();
    float RateStart = Last;
    int64_t Frames = 0;
    while (!Engine->RequestingExit) {
        const float Now = Timer->GetSeconds();
        const float Delta = Now - Last;
        Last = Now;
        ++Frames;
        if (DispatchWindowMessages()) Engine->RequestingExit = true;
        Engine->Tick(Delta * Engine->TimeCompression);
        if (Last > RateStart + TickRateMeasurePeriod) {
            Engine->CurrentTickRate = std::max(MinMeasuredTickRate, static_cast<float>(Frames) / (Last - RateStart));
            RateStart = Last;
            Frames = 0;
        }
        if (Engine->GetMaxTickRate() > 1)
            Timer->SleepSeconds(std::max(0.0f, 1.0f / Engine->GetMaxTickRate() - (Timer->GetSeconds() - Last)));
    }
}
