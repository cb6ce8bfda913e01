#pragma once
// A recorded flight (Demos\<name>.dem): the text a recording writes and a
// replay reads. The first line names the format and its version; then come
// the settings the flight began with and, tick by tick (0.01 s each), what
// steered it from outside (the input device's keys, the pointer, the pauses,
// the console lines) and where every aircraft was once a second. The file
// ends with "end", so a cut-off file is told from a finished one.
//
//   HalvardineFlight 1
//   seed 7                          match seed
//   sun 12.25                       seconds the sky's start is taken from
//   window 1024 768
//   weather tStormyDay 16
//   set BotSkill f 0.5              variable, type (b s i f), value
//   ticks 12000
//   k 0 70 1                        tick, key code, down
//   m 0 12 -3                       tick, pointer offset from the window centre
//   p 40 1                          tick, pause flags (1 engine, 2 menu)
//   c 10 0 1 Toggle ShowFPS         tick, phase, pressed, line
//   a 99 1 64 64.5 199.2            tick, pilot, position
//   end

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct tRecordedFlight {
    static constexpr int32_t Version = 1;
    static constexpr int32_t TicksPerSecond = 100;
    static constexpr int32_t MaxTicks = TicksPerSecond * 60 * 60 * 4;  // four hours
    static constexpr int32_t MaxPilot = 16;

    // Where a console line ran: before its tick's update, or in the console's
    // step of its scripts within that update.
    enum tPhase : uint8_t { BeforeTick = 0, InConsole = 1 };
    enum tPauseFlags : uint8_t { EnginePaused = 1, MenuPaused = 2 };

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

    int32_t Seed = 1;
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
};

std::string WriteFlight(const tRecordedFlight& Flight);
// Reads Text into Flight; the error ("line 12: ...") when it is no recording,
// a recording of a later version, or damaged, and then Flight is unusable.
std::string ReadFlight(std::string_view Text, tRecordedFlight& Flight);
// Whether Text begins as a recording does (of any version).
bool LooksLikeFlight(std::string_view Text);
