#pragma once
// The mesh loader family: what mesh resources ask the registry for
// ("tMeshLoader" + a file name). Its loaders build the renderer's sub-meshes,
// so they live with the mesh resource (kernel/renderer/mesh/aseloader.h).

#include "kernel/resources/loader.h"

class tMeshLoader : public tLoader {
    Z_DECLARE_CLASS(tMeshLoader, tLoader)
public:
    using tLoader::tLoader;
    bool CanSave() const override { return false; }
};
