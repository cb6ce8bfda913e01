#pragma once
// Resources: objects loaded from a virtual file once and then shared by name
// through the resources manager. tCacheable adds the derived cache file kept
// beside the source; tResource carries the file name and the usage state.

#include "kernel/core/shortstring.h"
#include "kernel/vfs/parametrizable.h"

// Name made usable as a flat file name: "/" and "\" become "_", ":" becomes "~".
ShortString ConvertResourceName(ShortString Name);

class tCacheable : public tParametrizable {
    Z_DECLARE_CLASS(tCacheable, tParametrizable)
public:
    using tParametrizable::tParametrizable;

    virtual ShortString GetFileName() = 0;
    // The caching directory, then the file name made flat, then ".cached".
    virtual ShortString GetCachedFileName();
    virtual ShortString GetCachingDir() = 0;
    // Whether a cache file exists that is not older than the source (or
    // exists without a source).
    virtual bool IsCached();
    // Creates the caching directory; kinds that keep caches then write theirs.
    virtual void CacheTo();
    virtual void CacheFrom();
    virtual void SetFileName(const ShortString& Name) = 0;
};

class tResource : public tCacheable {
    Z_DECLARE_CLASS(tResource, tCacheable)
public:
    using tCacheable::tCacheable;

    ShortString GetFileName() override;
    // Loads the resource from Name: from its cache file when that is
    // current, otherwise through the loader its family has for the file's
    // extension, after which the cache is written.
    void SetFileName(const ShortString& Name) override;
    void AcceptParameter(const ShortString& Name, const ShortString& Value) override;

    // The class name of the loader family that reads this kind.
    virtual ShortString GetLoaderName() = 0;
    // Marks the resource used now; false when it had to be brought back from
    // the purged list.
    virtual bool RequestUsage();
    // Moves the resource to the manager's purged list, once.
    virtual void Purge();
    virtual void BeginLoad();
    virtual void EndLoad();

    // Takes over Name without loading anything (a mesh replica does this).
    void SetBindedFileName(const ShortString& Name);

    ShortString FileName;  // upper case
    bool Loading = false;
    bool Purged = false;
    bool Used = false;
    float LastUsedTimeStamp = 0;

protected:
    // Reads FileName through its loader, then writes the cache.
    void LoadFromSource();
};
