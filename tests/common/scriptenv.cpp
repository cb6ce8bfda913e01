#include "common/scriptenv.h"

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"

void ScriptTest::SetUp() {
    ConsoleTest::SetUp();
    OSSystem = new tWinOSSystem();
    Linker = NewObject<tObjectsLinker>();
    Linker->RegisterClasses();
    WriteData("StdConfig\\engine.ini", "[Engine]\nTimer=tWinTimer\nRunsCount=0\n");
}

void ScriptTest::DisposeServices() {
    if (Engine) tZObject::DisposeObject(Engine);
    delete EngineINI;
    EngineINI = nullptr;
    if (FileSystem) tZObject::DisposeObject(FileSystem);
    ConsoleTest::DisposeServices();
    // Last, so everything built after it has left its object graph.
    if (Linker) tZObject::DisposeObject(Linker);
    delete OSSystem;
    OSSystem = nullptr;
}

void ScriptTest::MapData() {
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
    Engine = NewObject<tScriptTestEngine>();
}

void ScriptTest::WriteData(const std::string& VirtualPath, const std::string& Contents) {
    std::string path = "Data/" + VirtualPath;
    for (char& c : path)
        if (c == '\\') c = '/';
    Work.WriteFile(path, Contents);
}
