#pragma once
// Which file "PlayDemo" and "TimeDemo" replay as a recorded flight.

#include "kernel/core/shortstring.h"

// The virtual name of the recording Name stands for, or empty when there is
// none: the file Name itself when it begins as a recording does (a script
// that merely ends in ".dem" stays a script), else, when no file has that
// name, Demos\Name or Demos\Name.dem.
ShortString RecordedFlightFile(const ShortString& Name);
