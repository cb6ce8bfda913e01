#include "kernel/world/terrain.h"

Z_IMPLEMENT_CLASS(tTerrain,
    .Operations = {{"SetPosition"}, {"GetLowestCameraHeight", ZOP_ABSTRACT}, {"Impact", ZOP_ABSTRACT}})
