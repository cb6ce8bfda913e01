#include "common/testworld.h"

#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"

Z_IMPLEMENT_CLASS(tTickingWorld, .Operations = {{"Tick"}, {"RenderFrame"}, {"GetWaterlinePlane"}, {"GetWorldTime"}})
Z_IMPLEMENT_CLASS(tFlatTerrain, .Operations = {{"Render"}, {"GetLowestCameraHeight"}, {"Impact"}})

void RegisterTestWorldClasses() {
    Linker->AddClass(tTickingWorld::StaticClass());
    Linker->AddClass(tFlatTerrain::StaticClass(CT_SpawnableConstructor));
}
