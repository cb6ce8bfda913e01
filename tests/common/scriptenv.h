#pragma once
// The console with everything a script needs: the class registry, the file
// system over the Data/ written by the test, the start-up INI file and an
// engine whose timer paces demos.

#include "common/consoleenv.h"
#include "common/testengine.h"
#include "kernel/os/ossystem.h"
#include "libraries/classes/filesystem.h"

class ScriptTest : public ConsoleTest {
protected:
    void SetUp() override;
    void DisposeServices() override;
    // Builds the file system's tree from Data/, reads the INI file and creates
    // the engine; call after writing the files.
    void MapData();
    void WriteData(const std::string& VirtualPath, const std::string& Contents);
};
