#include "kernel/loaders/scriptloaders.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "kernel/resources/resource.h"

Z_IMPLEMENT_CLASS(tShaderLoader)
Z_IMPLEMENT_CLASS(tZSSLoader, .Operations = {{"FileExtension"}, {"CanSave"}})
Z_IMPLEMENT_CLASS(tHeightMapLoader, .Operations = {{"LoadZHM", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tZHMLoader, .Operations = {{"FileExtension"}, {"CanSave"}, {"LoadZHM"}})

tResource* tZHMLoader::LoadZHM(tIStream& Stream) {
    ProcTrace trace("tZHMLoader.LoadZHM()");
    tOwned<tZObject> Obj(Linker->InstantiateClassByName("tHeightMapResource", ""));
    auto* HeightMap = dynamic_cast<tResource*>(Obj.get());
    Logger->Guard(HeightMap != nullptr, Obj->ClassName() + " isn't a tResource");
    Load(Stream, *HeightMap);
    Obj.release();
    return HeightMap;
}
