#include "startup.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include "game/flightrecorder.h"
#include "game/match.h"
#include "game/terrain/mipterrain.h"
#include "kernel/console/histories.h"
#include "kernel/console/historyfile.h"
#include "kernel/core/commandline.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/os/gamepaths.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/options.h"
#include "kernel/platform/savedbindings.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/math/mathserver.h"
#include "net/client/netclient.h"
#include "net/diagnostics/netdiagnostics.h"
#include "net/server/netserver.h"

namespace {

constexpr int LargeBlockBytes = 128 * 1024;
constexpr int NoGameFolders = 1;

// This run's folders; a test host that never calls FindGameFolders runs from
// the working directory's "Data\".
TGamePaths GamePaths;

// The service of the given base class, created by the class name under Key in
// the INI file's section Core.
template <class T>
T* CreateCoreService(const char* Key) {
    return InstantiateClassAs<T>(EngineINI->GetValue("Core", Key));
}

// The engine console's typed-line history, which outlives the run; none for
// another console class.
tCommandsHistory* KeptHistory() {
    return Console ? dynamic_cast<tCommandsHistory*>(Console->GetCommandsHistory()) : nullptr;
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

int FindGameFolders(const char* Program) {
    TGamePathsResult Found = FindGamePaths(ProcessPathsContext(CommandLine.DataDir, CommandLine.HomeDir));
    if (Found.Error.empty()) CreateUserFolders(Found.Paths, Found.Error);
    // The logs, the profiler's report and whatever else a run leaves in its
    // working directory belong to the player too.
    if (Found.Error.empty() && !Found.Paths.Portable && chdir(Found.Paths.UserData.c_str()) != 0)
        Found.Error = "cannot enter the user folder " + Found.Paths.UserData;
    if (!Found.Error.empty()) {
        std::fprintf(stderr, "%s: %s\n", Program, Found.Error.c_str());
        return NoGameFolders;
    }
    GamePaths = Found.Paths;
    return -1;
}

void StartLogging() {
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
}

void StartBaseServices() {
    OSSystem = new tWinOSSystem();
    Linker = new tObjectsLinker();
    auto* Files = NewObject<tVirtualFileSystem>();
    FileSystem = Files;
    if (GamePaths.InstalledData.empty() || GamePaths.Portable) {
        Files->SetRootDir("Data\\");
    } else {
        Logger->Log("Game data: " + ShortString(GamePaths.InstalledData) + ", the player's files: " +
                    ShortString(GamePaths.UserData) + ", " + ShortString(GamePaths.UserConfig) + ", " +
                    ShortString(GamePaths.UserCache));
        Files->SetRoots(ShortString(GamePaths.InstalledData), {{ShortString(), ShortString(GamePaths.UserData)},
                                                              {ConfigTopDir, ShortString(GamePaths.UserConfig)},
                                                              {CacheTopDir, ShortString(GamePaths.UserCache)}});
    }
    Linker->RegisterClasses();
    // The dedicated server and the headless client name their own,
    // windowless and silent, services.
    EngineINI = new tZINIFile(CommandLine.Dedicated  ? "StdConfig\\server.ini"
                              : CommandLine.Headless ? "StdConfig\\headless.ini"
                                                     : "StdConfig\\engine.ini");
}

void StartCoreServices() {
    MathServer = CreateCoreService<tMathServer>("MathServer");
    Console = CreateCoreService<tConsole>("Console");
    for (const ShortString& Skipped : EngineINI->SkippedLines)
        Console->DisplayError(EngineINI->IniFileName + ": " + Skipped + " skipped");
    EngineVars = CreateCoreService<tVarsManager>("EngineVars");
    Resources = CreateCoreService<tResourcesManager>("Resources");
    // Game variables exist with their defaults before the engine runs its script.
    tMipTerrain::RegisterVariables();
    // The interface's size, an option like the window's.
    RegisterUIScaleVariable();
    // The match's variables too.
    NewObject<tMatch>();
    // Recording and replaying flights, with the match it restarts.
    NewObject<tFlightRecorder>();
    // Hosting the match for other machines.
    NewObject<tNetServer>();
    // Joining another machine's match.
    NewObject<tNetClient>();
    // "NetStats" and the bad link made on purpose, for both.
    NewObject<tNetDiagnostics>();
    Engine = CreateCoreService<tEngine>("Engine");
}

void SaveSession() {
    StoreOptions();
    StoreBindings();
    EngineINI->SaveINI();
    if (tCommandsHistory* History = KeptHistory()) SaveCommandsHistory(*History);
    // Measured again (and logged) now, as long runs drift from the start-up figure.
    DumpProfileInfo(static_cast<double>(Engine->Timer->GetCyclesPerSecond()), OSSystem->GetOSVersion());
}

void FreeCoreServices() {
    FreeIfAlive(EngineVars);
    FreeIfAlive(Console);
    FreeIfAlive(Resources);
    FreeIfAlive(Engine);
    // Normally gone with the engine's subsystems; not when the game never began.
    FreeIfAlive(Match);
    FreeIfAlive(FlightRecorder);
    FreeIfAlive(NetServer);
    FreeIfAlive(NetClient);
    FreeIfAlive(NetDiagnostics);
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
    // Height maps, terrain index arrays and images take megabytes each and
    // come and go with the world. A fixed threshold keeps such blocks in
    // mappings of their own, returned to the system when freed; the C
    // library would otherwise raise it at the first such free and the heap
    // would grow with every terrain built again.
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);
    StartLogging();
    StartBaseServices();
    StartCoreServices();
    if (tCommandsHistory* History = KeptHistory()) LoadCommandsHistory(*History);
}

void ShutDown() {
    SaveSession();
    FreeCoreServices();
    FreeFiles();
    FreeObjectModel();
    StopLogging();
}
