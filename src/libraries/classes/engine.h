#pragma once
// The engine: owner of the window, renderer, GUI, audio, world and timer, and
// driver of every registered subsystem. This is the abstract service; the
// engine class of the program implements it.

#include <cstdint>
#include <utility>

#include "kernel/core/shortstring.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"

class tAudioSubSystem;
class tRenderDevice;
class tViewport;
struct tViewportParams;
class tGUIManager;
class tWorld;
class tTimer;

struct tEngineConfiguration {
    ShortString ConsoleFontName = "Lucida Console";
    int32_t ScreenWidth = 1024;
    int32_t ScreenHeight = 768;
    int32_t BitsPerPixel = 32;
    int32_t ZBufferBits = 24;
    int32_t Frequency = 75;
    bool FullScreen = false;
    bool Stereo = false;
    int32_t MaxTickRate = 0;  // 0: no limit
    bool ShowFPS = false;
    // The player's options: volumes in percent, the mouse's steering factor.
    int32_t EffectsVolume = 100;
    int32_t MusicVolume = 70;
    float MouseSensitivity = 1.0f;
};

// Takes over the engine's updates while a flight is recorded or replayed.
class tTickDriver {
public:
    virtual ~tTickDriver() = default;
    // The updates the coming frame runs whatever time passed; -1 lets time decide.
    virtual int32_t FixedUpdates() { return -1; }
    // Whether time a stall held back is all run, never dropped.
    virtual bool KeepsStalledTime() { return false; }
    // Whether the window's keys, buttons and focus changes stay away from the game.
    virtual bool HoldsInput() { return false; }
    // Around each fixed update of every subsystem.
    virtual void BeforeUpdate() = 0;
    virtual void AfterUpdate() = 0;
    // After each frame has been shown.
    virtual void FrameShown() {}
    // Whether the updates go on under the main menu, as a match hosted for
    // other machines does (and its recording, replayed, must).
    virtual bool RunsUnderMenu() { return false; }
};

class tEngine : public tSubSystem {
    Z_DECLARE_CLASS(tEngine, tSubSystem)
public:
    // Binds the configuration to console variables, counts the run in the INI
    // file and creates the timer.
    tEngine();
    ~tEngine() override;

    virtual ShortString GetEngineName() = 0;
    virtual float GetEngineTime() = 0;
    virtual tWorld* GetWorld() = 0;
    virtual void SetWorld(tWorld* W) = 0;
    virtual void InitGame() = 0;
    virtual void DoneGame() = 0;
    virtual void RegisterSubsystem(tSubSystem* S) = 0;
    virtual void UnregisterSubsystem(tSubSystem* S) = 0;
    virtual void DebugDump() = 0;
    // Whether the updates go on under the main menu: a match hosted for
    // other machines does not stop for its own player's menu.
    virtual bool RunsUnderMenu() { return false; }

    // The window the configuration asks for, feeding InputDevice; the
    // viewport that takes the parameters frees them.
    tViewportParams* NewViewportParams(tInputDevice* InputDevice) const;

    void Reset() { Audio = nullptr; Renderer = nullptr; Viewport = nullptr; GUI = nullptr; World = nullptr; Timer = nullptr; }

    // Driver takes over the updates; letting go leaves another driver alone.
    void TakeTicks(tTickDriver* Driver) { TickDriver = Driver; }
    void ReleaseTicks(const tTickDriver* Driver) {
        if (TickDriver == Driver) TickDriver = nullptr;
    }
    // The sky's sun starts from Seconds since start-up, until it is let go.
    void FixSunStart(double Seconds) { SunStartSeconds = Seconds; }
    void FreeSunStart() { SunStartSeconds = -1; }
    void SetPauses(bool Engine, bool Menu) {
        EnginePaused = Engine;
        MenuPaused = Menu;
    }
    // The window's size the next "ApplyDisplay" opens.
    void AskScreenSize(int32_t Width, int32_t Height) {
        EngineConfig.ScreenWidth = Width;
        EngineConfig.ScreenHeight = Height;
    }
    // Silences effects and music; RestoreVolumes gives back what Mute took.
    struct tVolumes {
        int32_t Effects = 0, Music = 0;
    };
    tVolumes Mute() {
        return {std::exchange(EngineConfig.EffectsVolume, 0), std::exchange(EngineConfig.MusicVolume, 0)};
    }
    void RestoreVolumes(const tVolumes& V) {
        EngineConfig.EffectsVolume = V.Effects;
        EngineConfig.MusicVolume = V.Music;
    }
    // The main loop ends after this frame; the program exits with Code.
    void Quit(int32_t Code) {
        ExitCode = Code;
        RequestingExit = true;
    }
    float GetMaxTickRate() const { return static_cast<float>(EngineConfig.MaxTickRate); }

    bool EngineActive = false;
    bool EnginePaused = false;
    // The main menu's own pause: orbit cameras and focus changes leave it alone.
    bool MenuPaused = false;
    float TimeCompression = 1.0f;  // factor applied to every frame's time
    bool RequestingExit = false;   // the main loop ends when it is set
    float CurrentTickRate = 1.0f;  // frames per second, as last measured
    tEngineConfiguration EngineConfig;
    tAudioSubSystem* Audio = nullptr;
    tRenderDevice* Renderer = nullptr;
    tViewport* Viewport = nullptr;
    tGUIManager* GUI = nullptr;
    tWorld* World = nullptr;
    tTimer* Timer = nullptr;
    tTickDriver* TickDriver = nullptr;  // not owned
    // The seconds since start-up the sky's sun starts from, when a recorded
    // flight fixes them (negative: the timer's).
    double SunStartSeconds = -1;
    int32_t ExitCode = 0;  // the program's, once the main loop ends

private:
    void RegisterConfigurationVars();
    void CountRun();

    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
};
