#pragma once
// The resources manager (the global Resources): textures, shaders, meshes and
// waveforms by file name, each loaded once and shared by everybody who asks
// for the same name; meshes come back as private replicas of a given size.

#include "kernel/objects/zobject.h"

class tMeshResource;
class tResource;
class tShaderResource;
class tTextureResource;
class tWaveformResource;

class tResourcesManager : public tZObject {
    Z_DECLARE_CLASS(tResourcesManager, tZObject)
public:
    virtual tTextureResource* LoadTexture(const ShortString& Name) = 0;
    virtual tShaderResource* LoadShader(const ShortString& Name) = 0;
    // A new replica, owned by the caller.
    virtual tMeshResource* LoadMesh(const ShortString& Name, float Size) = 0;
    virtual tWaveformResource* LoadWaveform(const ShortString& Name) = 0;
    virtual void ConvertName(ShortString& Name) = 0;
    virtual void PurgeResource(tResource* R) = 0;
    virtual void PrecacheResource(tResource* R) = 0;
    virtual void PurgeEverything(float Age) = 0;
};
