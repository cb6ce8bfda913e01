#pragma once
// Writes down, update by update, what steers a flight being recorded: the
// game's key table, the pauses and the pointer as they change, the pilots
// who join and leave over the network and what each of them steers, and
// where every aircraft is once a second.

#include <array>
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
    // Before update Tick: the keys (Input, if any) and pauses now in force;
    // Pauses holds tRecordedFlight's pause flags.
    void UpdateStarts(tRecordedFlight& Flight, int32_t Tick, const tInputDevice* Input, uint8_t Pauses);
    // After update Tick: the pointer it read, the remote pilots who joined
    // or left in it and the input each flew by, and, once a second, the
    // aircraft.
    void UpdateEnds(tRecordedFlight& Flight, int32_t Tick, const tMouseCursorInformation& Pointer);
    // Writes Flight to Path (making its folder); false when it cannot.
    static bool Save(const tRecordedFlight& Flight, const std::string& Path);

private:
    void NoteRemotePilots(tRecordedFlight& Flight, int32_t Tick);

    // The last values written down.
    bool Keys[256] = {};
    uint8_t PauseFlags = 0xFF;
    int32_t PointerX = 0, PointerY = 0;
    bool PointerKnown = false;
    struct tRemoteSeen {
        bool InUse = false;
        std::string Name;
        uint16_t Controls = 0;
        int16_t X = 0, Y = 0;
    };
    std::array<tRemoteSeen, tRecordedFlight::MaxPilot + 1> Remote{};  // by pilot number
};
