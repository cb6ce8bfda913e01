#pragma once
// What the command line asks of one run of the game, read before any script
// runs. "--no-menu" starts straight into the match (tests, benchmarks and
// timed replays use it); each "+" group is a console line run after the
// start-up scripts, as if typed:
//
//   halvardine --no-menu +Set PlaneChassis tPursuitPlane +Exec my.cfg
//
// A word that starts with "+" opens a group; the words after it, up to the
// next "+" word or option, join it with blanks. A word holding a blank, tab or
// ";" is put in double quotes, so it stays one token of the console line, as
// the shell kept it one word. An option ("--..." or "-h") is read wherever it
// stands; any other word outside a group is an error.

#include <string>
#include <vector>

struct TCommandLine {
    bool SkipMenu = false;
    // "--dedicated": the match hosted with no window, sound or menu, driven
    // from standard input; "--port N" the port it is hosted on (0: ServerPort).
    bool Dedicated = false;
    int Port = 0;
    // "--headless": a client with no window, sound or menu, console lines
    // from standard input and messages on standard output, as the server's;
    // "--autopilot": the computer pilots' judgement flies a joined match.
    bool Headless = false;
    bool Autopilot = false;
    // "--data DIR": the installed game data; "--home DIR": the one folder the
    // player's files are written to (empty: found as kernel/os/gamepaths.h says).
    std::string DataDir;
    std::string HomeDir;
    std::vector<std::string> ConsoleLines;
};

extern TCommandLine CommandLine;

enum class tCommandLineAction { Run, ShowHelp, ShowVersion, Refuse };

struct tCommandLineResult {
    tCommandLineAction Action = tCommandLineAction::Run;
    TCommandLine Options;
    std::string Error;  // why the line was refused
};

// The console's lines are at most this long.
inline constexpr std::size_t MaxCommandLineGroup = 255;

// Reads the arguments after the program's name.
tCommandLineResult ParseCommandLine(const std::vector<std::string>& Args);

// The options and "+" groups, as --help prints them.
std::string CommandLineUsage(const std::string& Program);

// Reads the program's arguments into CommandLine. Help, the version and a
// refused line are printed here (standard output, or standard error for a
// refusal); the answer is the exit code the program ends with before it opens
// anything, or -1 when it runs.
int ReadCommandLine(int argc, const char* const* argv);
