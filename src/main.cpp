// The halvardine executable: creates the global services in their fixed order
// from "StdConfig\engine.ini", runs the main loop and shuts down in the
// reverse order. No arguments are read.

#include "kernel/core/console.h"
#include "kernel/core/crashreport.h"
#include "kernel/core/globals.h"
#include "kernel/core/inifile.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/core/varsmanager.h"
#include "kernel/platform/mainloop.h"
#include "kernel/platform/ossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/resources/instantiateas.h"
#include "kernel/vfs/filesystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/math/mathserver.h"

namespace {

// The service of the given base class, created by the class name under Key in
// the INI file's section Core.
template <class T>
T* CreateCoreService(const char* Key) {
    return InstantiateClassAs<T>(EngineINI->GetValue("Core", Key));
}

void StartUp() {
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
    OSSystem = new tWinOSSystem();
    Linker = new tObjectsLinker();
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    Linker->RegisterClasses();
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
    MathServer = CreateCoreService<tMathServer>("MathServer");
    Console = CreateCoreService<tConsole>("Console");
    EngineVars = CreateCoreService<tVarsManager>("EngineVars");
    Resources = CreateCoreService<tResourcesManager>("Resources");
    Engine = CreateCoreService<tEngine>("Engine");
}

void ShutDown() {
    EngineINI->SaveINI();
    // Measured again (and logged) now, as long runs drift from the start-up figure.
    DumpProfileInfo(static_cast<double>(Engine->Timer->GetCyclesPerSecond()), OSSystem->GetOSVersion());
    tZObject::DisposeObject(EngineVars);
    tZObject::DisposeObject(Console);
    tZObject::DisposeObject(Resources);
    tZObject::DisposeObject(Engine);
    tZObject::DisposeObject(MathServer);
    delete EngineINI;
    EngineINI = nullptr;
    tZObject::DisposeObject(FileSystem);
    tZObject::DisposeObject(Linker);
    delete OSSystem;
    OSSystem = nullptr;
    delete Warning;
    Warning = nullptr;
    delete Logger;
    Logger = nullptr;
}

}  // namespace

int main() {
    InstallCrashHandlers();
    StartUp();
    MainLoop(Engine);
    ShutDown();
    return 0;
}
