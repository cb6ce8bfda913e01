#pragma once
// Runs the real halvardine under Xvfb in a temporary working directory with a
// copy of the repository's Data/ (sound off), driven by console scripts and,
// where keys and the mouse matter, by xdotool against the same X server.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/capture.h"

// A screenshot read back from its BMP file, rows top-down, RGB.
struct tScreenImage {
    int32_t Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;

    // Pixels inside [X0, X1) x [Y0, Y1) whose every channel is at least Level.
    int32_t CountBright(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint8_t Level = 200) const;
    // The colour at (X, Y) as 0xRRGGBB.
    uint32_t At(int32_t X, int32_t Y) const;
};

// Reads a 24-bit uncompressed BMP; an empty image when the file is not one.
tScreenImage ReadScreenImage(const std::filesystem::path& File);

struct tGameResult {
    int ExitCode = -1;
    std::string Stdout, Stderr, EngineLog, ProfilerLog;
    std::filesystem::path DataDir;
    // What OpenAL played (left channel), for a run that captured its sound.
    tCapture Sound;

    bool DataFileExists(const std::string& RelativePath) const;
    std::string ReadDataFile(const std::string& RelativePath) const;
    tScreenImage Screenshot(const std::string& RelativePath) const;
};

class tGameRun {
public:
    static constexpr const char* WindowTitle = "Halvardine 3D Engine";

    // The script console.cfg runs to build the game's level (the island).
    static constexpr const char* LevelScript = "StdConfig/level.cfg";

    // A fresh working directory with the repository's Data/, sound off and no
    // level: each test builds the scene it looks at.
    tGameRun();
    ~tGameRun();
    tGameRun(const tGameRun&) = delete;
    tGameRun& operator=(const tGameRun&) = delete;

    // The game's own level, as the game starts it.
    void UseGameLevel();
    // The game starts with its main menu, as a player sees it (otherwise
    // "--no-menu" starts straight into the match).
    void ShowMainMenu() { WithMenu = true; }

    // Files below Data/ ("test.dem", "StdConfig/console.cfg").
    void WriteDataFile(const std::string& RelativePath, const std::string& Contents);
    void AppendDataFile(const std::string& RelativePath, const std::string& Contents);
    // Replaces the line that starts with Key + "=" in the start-up INI file.
    void SetINIValue(const std::string& Key, const std::string& Value);
    // A demo played once the game has started ("PlayDemo" from console.cfg).
    void PlayDemo(const std::string& Lines);
    // Sound on, through OpenAL into a file at the given rate instead of a
    // sound card: the result's Sound.
    void CaptureSound(int32_t Rate);
    // A package built for the tests, copied into Data/Packages/.
    void AddPackage(const std::filesystem::path& Built);
    // The drawing tests' package (renderscene/) in Data/Packages/.
    void AddRenderScenePackage() { AddPackage(RENDER_SCENE_PACKAGE); }

    // Words given to the game on its command line.
    void AddArguments(const std::vector<std::string>& Words);

    // A shell line run against the X display while the game runs, in order,
    // once its window exists; $WINDOW holds the window's id.
    void AddDriverStep(const std::string& ShellLine);
    // Driver steps that wait for what the game does instead of sleeping: until
    // a shell condition holds (run in the working directory), the game has
    // written a file below Data/ (any one of several), or its log has a line
    // containing Text.
    void WaitUntil(const std::string& ShellCondition, int TimeoutSeconds = 30);
    void WaitForDataFile(const std::string& RelativePath, int TimeoutSeconds = 30);
    void WaitForAnyDataFile(const std::vector<std::string>& RelativePaths, int TimeoutSeconds = 30);
    void WaitForLogLine(const std::string& Text, int TimeoutSeconds = 60);
    // Waits until the game has read everything sent to it so far and run a
    // tick after it (a key bound to a deferred screenshot), so the pointer
    // it polls is where the driver put it. Not while the console window is
    // open: it takes the key.
    void WaitForTick();
    // Appends Lines to console.cfg, ending in a screenshot, and waits for that
    // screenshot: once it exists the lines have run.
    void SignalReady(const std::string& Lines = "");

    // Runs the game to its end (killed after TimeoutSeconds).
    tGameResult Run(int TimeoutSeconds = 60);

    const std::filesystem::path& WorkDir() const { return Work; }

private:
    std::filesystem::path Work;
    std::vector<std::string> DriverSteps;
    std::string Arguments;  // quoted for the shell
    bool CapturingSound = false;
    bool WithMenu = false;
    bool TickKeyBound = false;
};

inline bool Contains(const std::string& Text, const std::string& Part) { return Text.find(Part) != std::string::npos; }

// Whether Text has Line as one of its lines (line ends CR LF or LF).
bool HasLine(const std::string& Text, const std::string& Line);

// The helper program that asks a window to close, as a window manager does.
std::string CloseWindowTool();
