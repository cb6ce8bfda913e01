// Plug-in packages: shared libraries in "Packages\" whose classes join the
// class table or patch built-in ones.

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/objects/registry.h"
#include "kernel/os/ossystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/filesystem.h"

namespace {

constexpr const char* PackagesDir = "Packages\\";
constexpr const char* PackagePattern = "*.so";

}  // namespace

void tObjectsLinker::LoadAllPackages() {
    ProcTrace trace("tObjectsLinker.LoadAllPackages()");
    Logger->Log("");
    const ShortString loading = ShortString("Loading packages from: ") + PackagesDir;
    if (Console) Console->DisplayInfoTip(loading);
    Logger->Log(loading);
    FileSystem->CreateDirs(PackagesDir);
    ShortString Dir = FileSystem->VirtualNameToPhysical(PackagesDir);
    if (Dir.empty() || Dir[Dir.size() - 1] != '/') Dir += '/';
    Logger->Log("Loading packages from: " + Dir);

    tSearchRec Search;
    for (int32_t Status = OSSystem->FindFirst(Dir + PackagePattern, Search); Status == 0;
         Status = OSSystem->FindNext(Search))
        LoadPackage(Dir + Search.Name);

    if (Console) {
        Console->RegisterCommand("EnumClasses", ConsoleProc<&tObjectsLinker::EnumClassesC>(this));
        Console->RegisterCommand("SpawnClass", ConsoleProc<&tObjectsLinker::SpawnClassC>(this));
        Console->RegisterCommand("ClassInfo", ConsoleProc<&tObjectsLinker::ClassInfoC>(this));
    }
}

void tObjectsLinker::LoadPackage(const ShortString& FileName) {
    ProcTrace trace("tObjectsLinker.LoadPackage(" + FileName + ")");
    if (Console) Console->DisplayInfoTip("...loading package: " + FileName);
    Logger->Log("...loading package: " + FileName);

    std::unique_ptr<tOSLibrary> Library = OSSystem->LoadLibrary(FileName);
    if (!Library) {
        Logger->Log("Error code: " + Int2Str(OSSystem->GetSysLastError()));
        Logger->Fatal("LoadPackage() failed to load " + FileName);
    }
    auto InitPackage = reinterpret_cast<tInitPackageProc>(Library->GetProc("InitPackage"));
    auto GetPackageContent = reinterpret_cast<tGetPackageContentProc>(Library->GetProc("GetPackageContent"));
    auto GetPackage = reinterpret_cast<tGetPackageProc>(Library->GetProc("GetPackage"));
    Logger->Guard(InitPackage != nullptr, "Unable to find InitPackage() proc in " + FileName);
    Logger->Guard(GetPackageContent != nullptr, "Unable to find GetPackageContent() proc in " + FileName);
    Logger->Guard(GetPackage != nullptr, "Unable to find GetPackage() proc in " + FileName);

    Logger->Log("Initializing package...");
    tPluginAPIStruct API = MakePluginAPI();
    Logger->Guard(InitPackage(&API), "Unable to init package: " + FileName);

    // The table keeps the library: its records point into it.
    tOSLibrary* PackageID = Library.get();
    Packages.push_back(std::move(Library));

    Logger->Log("Retrieving classes...");
    int32_t Count = GetPackageContent();
    for (int32_t I = 1; I <= Count; ++I) {
        uint8_t Record[PackageRecordSize] = {};
        GetPackage(Record, I);
        tZClass C = ReadPackageRecord(Record);
        Logger->Guard(C.StaticClass != nullptr, "Unable to determine class ancestor");
        C.PackageID = PackageID;
        C.PackageName = FileName;
        AddClass(C);
    }
}
