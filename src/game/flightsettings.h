#pragma once
// How a recorded flight begins: the settings, match seed, sun, window and
// weather it was recorded under, taken from the game and checked and put
// back before a replay.

#include "kernel/console/flightfile.h"
#include "kernel/core/shortstring.h"

// What the game is set to now: the flight's settings, seed, sun, window
// and weather.
void CaptureFlightStart(tRecordedFlight& Flight);
// Why the flight cannot begin as recorded: a setting, the window's size or
// the weather; empty when it can.
ShortString FlightStartError(const tRecordedFlight& Flight);
// The flight's settings, as console lines would set them.
void ApplyFlightSettings(const tRecordedFlight& Flight);
// A variable's value as text; empty when it is not defined.
ShortString SettingValue(const char* Name);
