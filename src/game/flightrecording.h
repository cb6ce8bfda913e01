#pragma once
// Writes down, update by update, what steers a flight being recorded: the
// game's key table, the pauses and the pointer as they change, and where
// every aircraft is once a second.

#include <cstdint>
#include <string>

#include "kernel/console/flightfile.h"

class tInputDevice;
struct tMouseCursorInformation;

class tFlightRecording {
public:
    static constexpr int32_t PositionEveryTicks = tRecordedFlight::TicksPerSecond;

    // Nothing has been written down yet: every value counts as a change.
    void Begin();
    // Before update Tick: the keys (Input, if any) and pauses now in force.
    void UpdateStarts(tRecordedFlight& Flight, int32_t Tick, const tInputDevice* Input, bool EnginePaused, bool MenuPaused);
    // After update Tick: the pointer it read and, once a second, the aircraft.
    void UpdateEnds(tRecordedFlight& Flight, int32_t Tick, const tMouseCursorInformation& Pointer);
    // Writes Flight to Path (making its folder); false when it cannot.
    static bool Save(const tRecordedFlight& Flight, const std::string& Path);

private:
    // The last values written down.
    bool Keys[256] = {};
    uint8_t PauseFlags = 0xFF;
    int32_t PointerX = 0, PointerY = 0;
    bool PointerKnown = false;
};
