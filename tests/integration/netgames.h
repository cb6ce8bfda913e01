#pragma once
// The games the network tests run: the dedicated server, fed console lines
// on its standard input, and real games joining it as clients under Xvfb,
// whose consoles the test drives while they run.

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "gamerun.h"

// The dedicated server in a working directory of its own, with no X server
// and no sound device, its standard input a pipe the test writes lines to.
class tDedicatedServer {
public:
    explicit tDedicatedServer(int Port, int TimeoutSeconds = 90);
    ~tDedicatedServer();
    bool Started() const { return Input != nullptr; }
    void Type(const std::string& Line);
    std::string Stdout() const;
    const std::filesystem::path& WorkDir() const { return Game.WorkDir(); }
    // Waits (Seconds at most) for Text on its standard output.
    bool WaitFor(const std::string& Text, int Seconds = 20) const;
    // Types "Quit" and waits for the end; the exit code.
    int Quit();

private:
    tGameRun Game;  // for its working directory with the game's level
    std::thread Runner;
    FILE* Input = nullptr;
};

// The real game joining 127.0.0.1:Port at start-up under Name, with
// "--no-menu", in the game's smallest window (800 x 600) and at 30 frames
// a second, so that three of them and a server share two cores.
class tClientGame {
public:
    tClientGame(int Port, const std::string& Name, const std::vector<std::string>& Arguments = {},
                int TimeoutSeconds = 120);
    ~tClientGame();
    // Runs Lines in the game's console, as a script; returns once they ran
    // (false when the game did not run them within Seconds).
    bool Run(const std::string& Lines, int Seconds = 20);
    // Runs a shell line against the game's X display (xdotool...), once
    // the driver finds it; returns when it has run.
    bool Drive(const std::string& ShellLine, int Seconds = 10);
    // The game's log and standard output so far, and waiting (Seconds at
    // most) for Text in the log.
    std::string Log() const;
    std::string Stdout() const;
    bool WaitForLog(const std::string& Text, int Seconds = 20) const;
    // Waits for the game to end (after a "Quit" it ran).
    tGameResult Finish();
    bool Finished() const { return Ended; }

private:
    tGameRun Game;
    std::thread Runner;
    tGameResult Result;
    bool Ended = false;
    int Steps = 0;
};

// How many lines of Text hold Part.
int CountLinesWith(const std::string& Text, const std::string& Part);

// The heights "GroundHeight" printed, in order.
std::vector<double> GroundHeights(const std::string& Output);
