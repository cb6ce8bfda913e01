#include "kernel/resources/resource.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/resources/loader.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tCacheable, .Operations = {{"GetFileName", ZOP_ABSTRACT},
                                             {"GetCachedFileName"},
                                             {"GetCachingDir", ZOP_ABSTRACT},
                                             {"IsCached"},
                                             {"CacheTo"},
                                             {"CacheFrom"},
                                             {"SetFileName", ZOP_ABSTRACT}})
namespace {
float EngineTime() { return Engine ? Engine->GetEngineTime() : 0.0f; }
}  // namespace

Z_IMPLEMENT_CLASS(tResource, .Operations = {{"GetFileName"},
                                            {"SetFileName"},
                                            {"AcceptParameter"},
                                            {"GetLoaderName", ZOP_ABSTRACT},
                                            {"RequestUsage"},
                                            {"Purge"},
                                            {"BeginLoad"},
                                            {"EndLoad"}})

ShortString ConvertResourceName(ShortString Name) {
    for (std::size_t I = 0; I < Name.size(); ++I) {
        if (Name[I] == '/' || Name[I] == '\\') Name[I] = '_';
        else if (Name[I] == ':') Name[I] = '~';
    }
    return Name;
}

ShortString tCacheable::GetCachedFileName() {
    ShortString Dir = GetCachingDir();
    if (Dir.empty() || Dir[Dir.size() - 1] != '\\') Dir += '\\';
    return Dir + ConvertResourceName(GetFileName()) + ".cached";
}

bool tCacheable::IsCached() {
    const ShortString Cache = GetCachedFileName();
    if (!FileSystem->FileExists(Cache)) return false;
    const ShortString Source = GetFileName();
    if (!FileSystem->FileExists(Source)) return true;
    return FileSystem->GetFileTime(Cache) >= FileSystem->GetFileTime(Source);
}

void tCacheable::CacheTo() { FileSystem->CreateDirs(GetCachingDir()); }

void tCacheable::CacheFrom() {}

ShortString tResource::GetFileName() { return FileName; }

void tResource::SetFileName(const ShortString& Name) {
    ProcTrace trace("tResource.SetFileName(" + Name + ")");
    Used = true;
    LastUsedTimeStamp = EngineTime();
    FileName = UpCaseStr(Name);
    if (IsCached()) {
        CacheFrom();
        return;
    }
    LoadFromSource();
}

void tResource::LoadFromSource() {
    tZClass LoaderClass;
    Linker->FindFileLoader(GetLoaderName(), FileName, LoaderClass);
    tOwned<tZObject> Obj(tZObject::Instantiate(LoaderClass, ""));
    auto* Loader = dynamic_cast<tLoader*>(Obj.get());
    Logger->Guard(Loader != nullptr, Obj->ClassName() + " isn't a tLoader");
    Loader->Load(*FileSystem->CreateFileReader(FileName, {RF_HALTONERRORS}), *this);
    Obj.reset();
    CacheTo();
}

bool tResource::RequestUsage() {
    Logger->Guard(Used, "Resource wasn't properly initialized");
    LastUsedTimeStamp = EngineTime();
    if (!Purged) return true;
    Purged = false;
    Resources->PrecacheResource(this);
    return false;
}

void tResource::Purge() {
    if (Purged) return;
    Purged = true;
    Resources->PurgeResource(this);
}

void tResource::AcceptParameter(const ShortString&, const ShortString&) {}

void tResource::BeginLoad() {
    ProcTrace trace("tResource.BeginLoad()");
    Logger->Guard(!Loading, "Already loading");
    Loading = true;
}

void tResource::EndLoad() {
    ProcTrace trace("tResource.EndLoad()");
    Logger->Guard(Loading, "Not loading");
    Loading = false;
}

void tResource::SetBindedFileName(const ShortString& Name) {
    FileName = Name;
    Used = true;
}
