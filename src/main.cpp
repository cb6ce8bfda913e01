// The halvardine executable: reads its command line, creates the global
// services in their fixed order from "StdConfig\engine.ini", runs the main
// loop and shuts down in the reverse order.

#include "kernel/core/commandline.h"
#include "kernel/core/crashreport.h"
#include "kernel/core/globals.h"
#include "kernel/platform/mainloop.h"
#include "libraries/classes/engine.h"
#include "startup.h"

int main(int argc, char** argv) {
    // Help, the version and a refused command line need no window, log or data.
    if (int ExitCode = ReadCommandLine(argc, argv); ExitCode >= 0) return ExitCode;
    if (int ExitCode = FindGameFolders("halvardine"); ExitCode >= 0) return ExitCode;
    InstallCrashHandlers();
    StartUp();
    MainLoop(Engine);
    const int ExitCode = Engine->ExitCode;
    ShutDown();
    return ExitCode;
}
