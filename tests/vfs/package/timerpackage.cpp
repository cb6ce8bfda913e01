// A small package for the package tests: one new class derived from the
// built-in tWinTimer, and a patch that replaces tWinTimer itself.
// PATCH_DATE sets the patch's compilation date (a date older than the
// built-in class's makes the engine refuse the patch). VERSION_NEEDED gives
// the new class the engine version it was built for.

#include <cstring>

#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/platform/timer.h"

#ifndef PATCH_DATE
#define PATCH_DATE "2024/03/01 12:00:00"
#endif

namespace {

constexpr const char* PackageDate = "2024/03/01 12:00:00";

}  // namespace

// A timer that says so when it calibrates.
class tPackageTimer : public tWinTimer {
    Z_DECLARE_CLASS(tPackageTimer, tWinTimer)
public:
    int64_t GetCyclesPerSecond() override {
        Logger->Log("tPackageTimer calibrating");
        return tWinTimer::GetCyclesPerSecond();
    }
};
Z_IMPLEMENT_CLASS(tPackageTimer, .Operations = {{"GetCyclesPerSecond"}})

// Registered under the built-in name "tWinTimer".
class tPatchedWinTimer : public tWinTimer {
    Z_DECLARE_CLASS(tPatchedWinTimer, tWinTimer)
public:
    int64_t GetCyclesPerSecond() override {
        Logger->Log("patched tWinTimer calibrating");
        return tWinTimer::GetCyclesPerSecond();
    }
};
tStaticClass tPatchedWinTimer::ClassInfo =
    tStaticClass::Make<tPatchedWinTimer>("tWinTimer", &tWinTimer::ClassInfo, tClassOptions{});

extern "C" {

bool InitPackage(tPluginAPIStruct* API) {
    // The package shares the program's services: the record must name the
    // very objects the package sees through the engine's globals.
    return API->_SIZE == sizeof(tPluginAPIStruct) && PluginAPIVersion(*API) == EngineVersionText &&
           API->_LINKER == Linker && API->_LOGGER == Logger && API->_FILESYSTEM == FileSystem;
}

int32_t GetPackageContent() { return 2; }

void GetPackage(uint8_t* Record, int32_t Index) {
    tZClass C = Index == 1 ? tPackageTimer::StaticClass() : tPatchedWinTimer::StaticClass();
    C.CompilationDate = Index == 1 ? PackageDate : PATCH_DATE;
    C.Patch = Index == 2;
#ifdef VERSION_NEEDED
    if (Index == 1) C.VersionNeeded = VERSION_NEEDED;
#endif
    WritePackageRecord(Record, C);
}

}  // extern "C"
