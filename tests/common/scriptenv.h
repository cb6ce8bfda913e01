#pragma once
// The console with everything a script needs: the file system over the Data/
// written by the test and an engine whose timer paces demos.

#include "common/consoleenv.h"
#include "kernel/platform/ossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/vfs/filesystem.h"
#include "libraries/classes/engine.h"

// An engine that only holds what the console reaches: its timer and its exit flag.
class tScriptTestEngine : public tEngine {
public:
    tScriptTestEngine() { Timer = NewObject<tWinTimer>(); }
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

class ScriptTest : public ConsoleTest {
protected:
    void SetUp() override;
    void DisposeServices() override;
    // Builds the file system's tree from Data/; call after writing the files.
    void MapData();
    void WriteData(const std::string& VirtualPath, const std::string& Contents);
};
