#pragma once
// The player's options: console variables (registered with their defaults
// in code before "engine.cfg" runs) whose values are written to the engine's
// INI file, section [Options], at shutdown and applied after "engine.cfg" at
// the next start. A saved value that does not parse, or lies outside what the
// option can take, is a console error and leaves the option as it was.

#include "kernel/core/shortstring.h"

inline constexpr const char* OptionsSection = "Options";

// Each saved option through "Set"; false for each one refused.
void ApplySavedOptions();
// The current value of every option into the INI file (not yet saved to disk).
void StoreOptions();
// Whether Value is one the option Name can take (true for names that are no option).
bool IsValidOptionValue(const ShortString& Name, const ShortString& Value);
