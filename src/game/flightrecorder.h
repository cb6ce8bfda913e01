#pragma once
// Records a flight and plays it back tick for tick.
//
// "RecordDemo name" begins the level and the match anew under the match seed
// and writes Demos\name.dem when "StopRecording" is given or the game ends:
// the settings the flight began with, what steered it tick by tick (the game's
// key table, the pointer, the pauses, the console lines given from outside,
// and on a server the pilots who join and leave over the network and their
// inputs) and where every aircraft was once a second. A server's recording
// replays on one machine, without the network. "PlayDemo name" replays it in
// real time, "TimeDemo name [seconds]" as fast as frames can be drawn, two
// updates a frame and without sound, then prints the frame rate; with
// "TimeDemoQuit" set the game then quits (exit 1 when the replay drifted).
// "TimeDemoFrames file.csv" writes each frame's time of the last and the
// following TimeDemo runs. "TimeDemoUpdates" sets how many updates a TimeDemo
// runs per frame (2): more pass through a long flight quickly. "ReplayShot
// update file" takes a screenshot of the first frame drawn after that update
// of a replay, so pictures of a flight compare from build to build. A replay
// begins exactly as the recording did and reads no clock for anything that
// steers the game; where an aircraft is found away from its recorded position,
// it reports the tick and stops.

#include <algorithm>
#include <cstdint>
#include <string>

#include "game/flightrecording.h"
#include "game/flightreplay.h"
#include "game/timedemoreport.h"
#include "kernel/console/flightfile.h"
#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"

class tInputDevice;

class tFlightRecorder : public tZObject, public tConsoleTap, public tTickDriver {
    Z_DECLARE_CLASS(tFlightRecorder, tZObject)
public:
    static constexpr int32_t UpdatesPerSecond = tRecordedFlight::TicksPerSecond;
    static constexpr int32_t TimeDemoUpdatesPerFrame = 2;

    // Registers the commands and "TimeDemoQuit"; the console exists.
    tFlightRecorder();
    ~tFlightRecorder() override;

    bool IsRecording() const { return Mode == tMode::Recording || Mode == tMode::StartRecording; }
    bool IsReplaying() const { return Mode == tMode::Replaying || Mode == tMode::StartReplay; }

    // tConsoleTap
    void LineRun(const ShortString& Line, bool Pressed) override;
    void ScriptsStepping() override;
    void ScriptsStepped() override;
    // tTickDriver
    int32_t FixedUpdates() override;
    // A recording keeps the time of a slow machine too: the flight lasts as
    // long as it was flown.
    bool KeepsStalledTime() override { return Mode != tMode::Idle; }
    bool HoldsInput() override { return IsReplaying(); }
    bool RunsUnderMenu() override { return Mode == tMode::Replaying && Replay.RunsUnderMenu(); }
    void BeforeUpdate() override;
    void AfterUpdate() override;
    void FrameShown() override;

    bool TimeDemoQuit = false;  // console variable
    int32_t TimeDemoUpdates = TimeDemoUpdatesPerFrame;  // console variable

private:
    enum class tMode { Idle, StartRecording, Recording, StartReplay, Replaying };

    void RecordDemoC(const ShortString& Args);
    void StopRecordingC(const ShortString& Args);
    void PlayFlightC(const ShortString& Args);
    void TimeDemoC(const ShortString& Args);
    void TimeDemoFramesC(const ShortString& Args);
    void ReplayShotC(const ShortString& Args);

    // Why Command cannot begin a flight now; empty when it can.
    ShortString BusyError(const char* Command) const;
    // Loads the recording for a replay; false (with a console error) when it
    // cannot be played.
    bool LoadFlight(const ShortString& Name);
    // Begins level and match from the flight's settings, as recorded.
    void BeginFlight();
    void ReplayLines(uint8_t Phase);
    // The replay is found away from the recording: it says what and stops.
    void Drift(const ShortString& What);
    void StopRecording();
    void EndReplay(bool Completed);
    void WriteFrameTimes();
    tInputDevice* GameInput();
    int32_t TimedUpdatesPerFrame() const { return std::clamp(TimeDemoUpdates, 1, UpdatesPerSecond); }

    tMode Mode = tMode::Idle;
    tRecordedFlight Flight;
    ShortString FlightName;  // as named in the command
    std::string FlightPath;  // the recording's file on the disk
    int32_t Tick = 0;        // the update being run or next to run, from 0
    bool InUpdate = false;
    bool InScripts = false;
    bool ConsoleLinesReplayed = false;  // this update's, already
    tFlightRecording Recording;
    tFlightReplay Replay;
    bool Drifted = false;
    // TimeDemo.
    bool Timed = false;
    int32_t TimedTicks = 0;  // updates to run
    tTimeDemoReport Report;
    std::string FramesFile;  // where the frame times go, when named
    tEngine::tVolumes SavedVolumes;
    tCommandBindings Commands;  // declared last: its commands go first
};

extern tFlightRecorder* FlightRecorder;
