#pragma once
// Plays back, update by update, what steered a recorded flight: the keys,
// pauses and pointer in force at each update, the pilots who joined and
// left over the network and their inputs, and checks every aircraft
// against its recorded position. Also the screenshots asked for by update
// ("ReplayShot update file"), taken as the replay passes them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kernel/console/flightfile.h"
#include "kernel/core/shortstring.h"

class tInputDevice;

class tFlightReplay {
public:
    // How far a replayed aircraft may stray from its recorded position.
    static constexpr float DriftTolerance = 0.001f;

    // The flight plays from its first update.
    void Begin();
    // Before update Tick: the keys (into Input, if any), pauses and pointer
    // the flight recorded for it.
    void StepInputs(const tRecordedFlight& Flight, int32_t Tick, tInputDevice* Input);
    // Before update Tick: the network's pilots who joined or left then and
    // what each steers; why one could not join as recorded, empty when all did.
    ShortString StepRemotePilots(const tRecordedFlight& Flight, int32_t Tick);
    // The network's pilots the replay brought leave with it.
    void RemoteLeave();
    // Whether the recorded match went on under the menu (it was hosted).
    bool RunsUnderMenu() const { return UnderMenu; }
    // The first of the console lines not yet passed; after update Tick they
    // are all passed.
    std::size_t NextLine() const { return NextLineIndex; }
    void LinesPassed(const tRecordedFlight& Flight, int32_t Tick);
    // After update Tick: why an aircraft is not where it was recorded (the
    // replay drifted); empty when all are.
    ShortString CheckPositions(const tRecordedFlight& Flight, int32_t Tick);

    void AddShot(int32_t Tick, const ShortString& File);
    // The screenshots of the updates up to Tick are due; Take says whether
    // they are taken or passed over (the replay ended).
    void TakeShots(int32_t Tick, bool Take);

private:
    // The values in force.
    bool Keys[256] = {};
    int32_t PointerX = 0, PointerY = 0;
    bool UnderMenu = false;
    // The next record of each kind.
    std::size_t NextKey = 0, NextPointer = 0, NextPause = 0, NextLineIndex = 0, NextPosition = 0;
    std::size_t NextRoster = 0, NextRemoteInput = 0;
    uint32_t Brought = 0;  // the pilots the replay let join, a bit each
    // Screenshots asked for by update, in update order; the next to take.
    struct tShot {
        int32_t Tick;
        ShortString File;
    };
    std::vector<tShot> Shots;
    std::size_t NextShot = 0;
};
