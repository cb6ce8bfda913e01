#pragma once
// What the command line asks of one run of the game, read before any script
// runs. "--no-menu" starts straight into the match (tests, benchmarks and
// timed replays use it); each "+" group is a console line run after the
// start-up scripts, as if typed.

#include <string>
#include <vector>

struct TCommandLine {
    bool SkipMenu = false;
    std::vector<std::string> ConsoleLines;
};

extern TCommandLine CommandLine;

// Fills CommandLine from the program's arguments.
void ReadCommandLine(int argc, const char* const* argv);
