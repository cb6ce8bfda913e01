#pragma once
// A stand-in engine for tests and fuzz targets that drive the console.

#include "libraries/classes/engine.h"
#include "libraries/classes/timer.h"

// An engine that only holds what the console reaches: its timer (made by the
// engine from the INI file) and its exit flag.
class tScriptTestEngine : public tEngine {
public:
    ~tScriptTestEngine() override { tZObject::DisposeObject(Timer); }
    ShortString GetEngineName() override { return "test engine"; }
    float GetEngineTime() override { return 0; }
    tWorld* GetWorld() override { return nullptr; }
    void SetWorld(tWorld*) override {}
    void InitGame() override {}
    void DoneGame() override {}
    void RegisterSubsystem(tSubSystem*) override {}
    void UnregisterSubsystem(tSubSystem*) override {}
    void DebugDump() override {}
    void Tick(float) override {}
    void RenderFrame() override {}
};
