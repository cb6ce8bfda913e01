// The halvardine executable: creates the global services in their fixed order
// from "StdConfig\engine.ini", runs the main loop and shuts down in the
// reverse order. No arguments are read.

#include "kernel/core/crashreport.h"
#include "kernel/core/globals.h"
#include "kernel/platform/mainloop.h"
#include "startup.h"

int main() {
    InstallCrashHandlers();
    StartUp();
    MainLoop(Engine);
    ShutDown();
    return 0;
}
