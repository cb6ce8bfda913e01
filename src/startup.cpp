#include "startup.h"

#include "game/terrain/mipterrain.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/options.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/math/mathserver.h"

namespace {

// The service of the given base class, created by the class name under Key in
// the INI file's section Core.
template <class T>
T* CreateCoreService(const char* Key) {
    return InstantiateClassAs<T>(EngineINI->GetValue("Core", Key));
}

template <class T>
void FreeIfAlive(T*& Service) {
    if (Service) tZObject::DisposeObject(Service);
}

template <class T>
void Delete(T*& Service) {
    delete Service;
    Service = nullptr;
}

}  // namespace

void StartLogging() {
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
}

void StartBaseServices() {
    OSSystem = new tWinOSSystem();
    Linker = new tObjectsLinker();
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    Linker->RegisterClasses();
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
}

void StartCoreServices() {
    MathServer = CreateCoreService<tMathServer>("MathServer");
    Console = CreateCoreService<tConsole>("Console");
    EngineVars = CreateCoreService<tVarsManager>("EngineVars");
    Resources = CreateCoreService<tResourcesManager>("Resources");
    // Game variables exist with their defaults before the engine runs its script.
    tMipTerrain::RegisterVariables();
    Engine = CreateCoreService<tEngine>("Engine");
}

void SaveSession() {
    StoreOptions();
    EngineINI->SaveINI();
    // Measured again (and logged) now, as long runs drift from the start-up figure.
    DumpProfileInfo(static_cast<double>(Engine->Timer->GetCyclesPerSecond()), OSSystem->GetOSVersion());
}

void FreeCoreServices() {
    FreeIfAlive(EngineVars);
    FreeIfAlive(Console);
    FreeIfAlive(Resources);
    FreeIfAlive(Engine);
    FreeIfAlive(MathServer);
}

void FreeFiles() {
    Delete(EngineINI);
    FreeIfAlive(FileSystem);
}

void FreeObjectModel() {
    FreeIfAlive(Linker);
    Delete(OSSystem);
}

void StopLogging() {
    Delete(Warning);
    Delete(Logger);
}

void StartUp() {
    StartLogging();
    StartBaseServices();
    StartCoreServices();
}

void ShutDown() {
    SaveSession();
    FreeCoreServices();
    FreeFiles();
    FreeObjectModel();
    StopLogging();
}
