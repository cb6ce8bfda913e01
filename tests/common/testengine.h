#pragma once
// A stand-in engine for tests and fuzz targets that drive the console.

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/timer.h"

// An engine that only holds what the console reaches: its timer (made by the
// engine from the INI file), its exit flag and, from the first request for
// it, a world for the objects "SpawnClass" makes.
class tScriptTestEngine : public tEngine {
public:
    ~tScriptTestEngine() override {
        if (World) tZObject::DisposeObject(World);
        tZObject::DisposeObject(Timer);
    }
    ShortString GetEngineName() override { return "test engine"; }
    float GetEngineTime() override { return 0; }
    // A world makes itself the current one while it is built.
    tWorld* GetWorld() override {
        if (!World) Linker->InstantiateClassByName("tNullWorld", "");
        return World;
    }
    void SetWorld(tWorld* W) override {
        if (World) tZObject::DisposeObject(World);
        World = W;
    }
    void InitGame() override {}
    void DoneGame() override {}
    void RegisterSubsystem(tSubSystem*) override {}
    void UnregisterSubsystem(tSubSystem*) override {}
    void DebugDump() override {}
    void Tick(float) override {}
    void RenderFrame() override {}
};
