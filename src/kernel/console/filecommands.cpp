// The file system's console command: "Mount <physical path> <mount point>".

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/filesystem.h"
#include "libraries/classes/console.h"

namespace {

constexpr std::string_view MountUsage = "Usage: mount [physical path] [mount point]";

// The console's info tip; before the console exists it goes to the warning output.
void ShowConsoleInfoTip(const ShortString& Text) {
    if (Console) Console->DisplayInfoTip(Text);
    else Warning->Log(Text);
}

}  // namespace

void tVirtualFileSystem::MountC(const ShortString& Params) {
    ShortString physical = GetToken(Params, 1);
    ShortString mountPoint = GetToken(Params, 2);
    if (physical.empty() || mountPoint.empty()) {
        ShowConsoleInfoTip(MountUsage);
        return;
    }
    Mount(physical, mountPoint);
}

void tVirtualFileSystem::PostInit() {
    Console->RegisterCommand("Mount", ConsoleProc<&tVirtualFileSystem::MountC>(this), Commands);
}
