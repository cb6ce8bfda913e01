#pragma once
// The console with everything a script needs: the class registry, the file
// system over the Data/ written by the test, the start-up INI file and an
// engine whose timer paces demos.

#include "common/consoleenv.h"
#include "kernel/platform/ossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/vfs/filesystem.h"
#include "libraries/classes/engine.h"

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

class ScriptTest : public ConsoleTest {
protected:
    void SetUp() override;
    void DisposeServices() override;
    // Builds the file system's tree from Data/, reads the INI file and creates
    // the engine; call after writing the files.
    void MapData();
    void WriteData(const std::string& VirtualPath, const std::string& Contents);
};
