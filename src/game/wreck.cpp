#include "game/wreck.h"

#include "game/crashsite.h"
#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/effects/explosion.h"

void ExplodeAircraft(const TVector3& Where) {
    Logger->Log("Aircraft explodes at " + PositionText(Where));
    tExplosion::Detonate(Where, CrashBlastSize);
}
