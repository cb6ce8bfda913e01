#pragma once
// The engine class of this program: it owns the window, renderer, GUI, audio,
// world and timer, ticks every registered subsystem in fixed steps of 0.01 s
// and renders one frame per main-loop iteration.

#include "libraries/classes/commandbindings.h"
#include "libraries/classes/engine.h"

class tWinGameEngine : public tEngine {
    Z_DECLARE_CLASS(tWinGameEngine, tEngine)
public:
    static constexpr int32_t MaxSubsystems = 100;
    static constexpr float UpdateStep = 0.01f;  // seconds of engine time per subsystem tick
    // After a stall (a long load, a debugger, a suspended machine) at most this
    // much simulated time is caught up; the rest is dropped.
    static constexpr float MaxReplaySeconds = 0.25f;
    static constexpr uint32_t InactiveSleepMilliseconds = 1;
    static constexpr int32_t FPSColumnWidth = 140;  // the frame-rate lines' distance from the right edge
    static constexpr int32_t FPSLineHeight = 16;

    // Logs the banner and runs "StdConfig\engine.cfg".
    tWinGameEngine();
    // Disposes the world, GUI, viewport and renderer, then the other
    // subsystems and the timer.
    ~tWinGameEngine() override;

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override;
    ShortString GetEngineName() override { return "Halvardine 3D Engine"; }
    float GetEngineTime() override { return EngineTime; }
    // Creates the null world when there is none.
    tWorld* GetWorld() override;
    void SetWorld(tWorld* W) override;
    void InitGame() override;
    void DoneGame() override {}
    bool RunsUnderMenu() override;
    void RegisterSubsystem(tSubSystem* S) override;
    void UnregisterSubsystem(tSubSystem* S) override;
    void DebugDump() override;

    // Ascending priority class; equal classes keep their order.
    void OrganizeSubsystems();
    void EnumSubsystemsC(const ShortString& Args);
    // "ObjectStats": the live engine objects and OpenGL objects, as one line
    // on standard output, for a long run watched from outside.
    void ObjectStatsC(const ShortString& Args);

    tSubSystem* Subsystems[MaxSubsystems] = {};  // the first ActiveSubsystems are registered
    int32_t ActiveSubsystems = 0;
    float EngineTime = 0;     // seconds of engine time while active
    float ExecutionTime = 0;  // not yet consumed remainder of the fixed steps

private:
    void LogBanner();
    void ShowFrameRate(float DeltaSeconds, int32_t Updates);
    // One fixed update of every subsystem, inside the tick driver's hooks.
    void Update();

    // "EnumSubSystems" and "ObjectStats", from InitGame on.
    tCommandBindings Commands;
};
