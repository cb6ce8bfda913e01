#include "kernel/resources/resource.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tCacheable, .Operations = {{"GetFileName", ZOP_ABSTRACT},
                                             {"GetCachedFileName"},
                                             {"GetCachingDir", ZOP_ABSTRACT},
                                             {"IsCached"},
                                             {"CacheTo"},
                                             {"CacheFrom"},
                                             {"SetFileName", ZOP_ABSTRACT}})
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

void tCacheable::CacheFrom() {}

ShortString tResource::GetFileName() { return FileName; }

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
