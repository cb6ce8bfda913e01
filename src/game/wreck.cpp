#include "game/wreck.h"

#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"

namespace {
constexpr const char* BlastSample = "sounds\\hit.wav";
}  // namespace

void ExplodeAircraft(const TVector3& Where) {
    Logger->Log("Aircraft explodes at " + PositionText(Where));
    Linker->InstantiateClassByName("tAnnouncer", BlastSample);
}
