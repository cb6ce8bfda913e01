#pragma once
// tZResourcesManager: the resources of the running engine in two lists, the
// active ones and the purged ones (set aside until used again). A request by
// name returns the active resource of that name or creates, loads and keeps
// a new one; the manager owns every resource in its lists.

#include <functional>

#include "kernel/objects/lists.h"
#include "kernel/resources/resource.h"
#include "libraries/classes/resourcesmanager.h"

class tResourcesList : public tList {
public:
    tResourcesList() : tList("tResource") {}
    tResource* GetResource(int32_t I) const;
    // The first resource whose file name is Name in upper case, or nullptr.
    tResource* FindResource(const ShortString& Name) const;
    // The first mesh of that name resized to exactly Size, or nullptr.
    tMeshResource* FindMeshResource(const ShortString& Name, float Size) const;
};

class tZResourcesManager : public tResourcesManager {
    Z_DECLARE_CLASS(tZResourcesManager, tResourcesManager)
public:
    // Makes a new, empty resource for a file name.
    using tResourceCreator = std::function<tResource*(const ShortString& Name)>;

    // Disposes the purged resources, then the active ones.
    ~tZResourcesManager() override;

    tTextureResource* LoadTexture(const ShortString& Name) override;
    tShaderResource* LoadShader(const ShortString& Name) override;
    tMeshResource* LoadMesh(const ShortString& Name, float Size) override;
    tWaveformResource* LoadWaveform(const ShortString& Name) override;
    void ConvertName(ShortString& Name) override { Name = ConvertResourceName(Name); }
    void PurgeResource(tResource* R) override;
    void PrecacheResource(tResource* R) override;
    // Purges every active resource not used within the last Age seconds.
    void PurgeEverything(float Age) override;
    // R itself, or a new resource from Creator, loaded from Name and kept.
    virtual tResource* FeedResource(tResource* R, const ShortString& Name, const tResourceCreator& Creator);

    // The texture kind comes from the file: the image loader for its
    // extension tells 2D, 3D or cube map.
    tResource* CreateTexture(const ShortString& Name);
    tResource* CreateShader(const ShortString& Name);
    tResource* CreateMesh(const ShortString& Name);
    tResource* CreateWaveform(const ShortString& Name);

    tResourcesList Resources;
    tResourcesList Purged;
};
