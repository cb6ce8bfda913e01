#pragma once
// A recorded flight (Demos\<name>.dem): the text a recording writes and a
// replay reads. The first line names the format and its version; then come
// the settings the flight began with and, tick by tick (0.01 s each), what
// steered it from outside (the input device's keys, the pointer, the pauses,
// the console lines, and in a match hosted for other machines the pilots
// who joined and left and what each of them steered) and where every
// aircraft was once a second. The file ends with "end", so a cut-off file
// is told from a finished one. Version 1 knows no network; it still reads.
//
//   HalvardineFlight 2
//   seed 7                          match seed
//   sun 12.25                       seconds the sky's start is taken from
//   window 1024 768
//   noplayer                        the machine's own player flew no aircraft
//                                   (a dedicated server's match)
//   weather tStormyDay 16
//   set BotSkill f 0.5              variable, type (b s i f), value
//   ticks 12000
//   k 0 70 1                        tick, key code, down
//   m 0 12 -3                       tick, pointer offset from the window centre
//   p 40 1                          tick, pause flags (1 engine, 2 menu,
//                                   4 the updates go on under the menu)
//   c 10 0 1 Toggle ShowFPS         tick, phase, pressed, line
//   j 30 4 tBiplane tRailGun Ace    tick, pilot, aircraft, gun, name: joins
//   i 30 4 5 -12 40                 tick, pilot, its controls and pointer
//   l 700 4                         tick, pilot: leaves
//   a 99 1 64 64.5 199.2            tick, pilot, position
//   end

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct tRecordedFlight {
    static constexpr int32_t Version = 2;
    static constexpr int32_t TicksPerSecond = 100;
    static constexpr int32_t MaxTicks = TicksPerSecond * 60 * 60 * 4;  // four hours
    static constexpr int32_t MaxPilot = 16;

    // Where a console line ran: before its tick's update, or in the console's
    // step of its scripts within that update.
    enum tPhase : uint8_t { BeforeTick = 0, InConsole = 1 };
    enum tPauseFlags : uint8_t { EnginePaused = 1, MenuPaused = 2, RunsUnderMenu = 4 };
    static constexpr uint8_t AllPauseFlags = EnginePaused | MenuPaused | RunsUnderMenu;

    struct tSetting {
        std::string Name;
        char Type = 's';  // b boolean, s string, i integer, f real
        std::string Value;
    };
    struct tKey { int32_t Tick; uint8_t Code; bool Down; };
    struct tPointer { int32_t Tick; int32_t X, Y; };
    struct tPause { int32_t Tick; uint8_t Flags; };
    struct tLine { int32_t Tick; uint8_t Phase; bool Pressed; std::string Text; };
    struct tPosition { int32_t Tick; int32_t Pilot; float X, Y, Z; };
    // A pilot joining (with its aircraft, gun and name) or leaving over the network.
    struct tRosterChange {
        int32_t Tick;
        int32_t Pilot;
        bool Joins;
        std::string Chassis, Weapon, Name;
    };
    // What a remote pilot steers from this tick on: its controls and pointer.
    struct tRemoteInput { int32_t Tick; int32_t Pilot; uint16_t Controls; int16_t X, Y; };

    int32_t Seed = 1;
    bool PlayerFlies = true;
    double SunStart = 0;
    int32_t Width = 0, Height = 0;
    std::string Weather;
    int32_t WeatherHour = 0;
    std::vector<tSetting> Settings;
    int32_t Ticks = 0;
    // Each in tick order.
    std::vector<tKey> Keys;
    std::vector<tPointer> Pointer;
    std::vector<tPause> Pauses;
    std::vector<tLine> Lines;
    std::vector<tPosition> Positions;
    std::vector<tRosterChange> Roster;
    std::vector<tRemoteInput> RemoteInputs;
};

std::string WriteFlight(const tRecordedFlight& Flight);
// Reads Text into Flight; the error ("line 12: ...") when it is no recording,
// a recording of a later version, or damaged, and then Flight is unusable.
std::string ReadFlight(std::string_view Text, tRecordedFlight& Flight);
// Whether Text begins as a recording does (of any version).
bool LooksLikeFlight(std::string_view Text);
