#pragma once
// What a crashed aircraft leaves where it came down: an explosion with a
// crater on land or a splash at sea, and a wreck that burns and smokes
// through the countdown to the next round.

#include "libraries/math/vector.h"

inline constexpr float CrashCraterRadius = 6.0f;
inline constexpr float CrashBlastSize = 5.0f;
inline constexpr float CrashSplashSize = 4.0f;
inline constexpr float WreckBurnSeconds = 10.0f;

void MarkCrashSite(const TVector3& Position);
