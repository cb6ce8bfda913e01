#pragma once
// The characters text files and messages are made of, and the small helpers
// every reader and message writer of the engine shares.

#include "kernel/core/shortstring.h"

// Line ends: files are written with CR LF; readers take LF, CR or both.
inline constexpr char CR = 13;
inline constexpr char LF = 10;

// What separates the words of a command line.
inline bool IsBlank(char C) { return C == ' ' || C == '\t'; }

// S in double quotes, as messages show names.
inline ShortString Quoted(const ShortString& S) { return "\"" + S + "\""; }
