#include "game/crashsite.h"

#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/world/sealevel.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/effects/explosion.h"

void MarkCrashSite(const TVector3& Position) {
    tWorld* World = Engine->World;
    // An aircraft goes down below the water line, or where it touched the ground.
    const bool Sea = Position.z < SeaLevel;
    const TVector3 Site = Sea ? TVector3{Position.x, Position.y, SeaLevel} : Position;
    if (Sea)
        Linker->InstantiateClassByName("tSplash", PositionText(Site) + " " + Flt2Str(CrashSplashSize, 2));
    else if (World->HasTerrain())
        World->GetTerrainForPoint(Site)->Impact(Site, CrashCraterRadius);
    tExplosion::Detonate(Site, CrashBlastSize);
    Linker->InstantiateClassByName("tBurningWreck", PositionText(Site) + " " + Flt2Str(WreckBurnSeconds, 2));
}
