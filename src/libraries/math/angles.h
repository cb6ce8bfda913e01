#pragma once
// Word angles: the 16-bit angle unit of the fast rotation routines and of the
// camera. One full turn is 65536 units, one unit is pi / 32768 radians, so
// angles wrap for free when they are reduced to 16 bits.

#include <cmath>
#include <cstdint>
#include <numbers>

using TWordAngle = uint16_t;

constexpr int WordAnglesPerTurn = 65536;
constexpr double WordAngleUnit = std::numbers::pi / 32768.0;  // radians
// The game converts radians with 65535 / 2pi units per radian (not 65536 / 2pi).
constexpr double WordAnglesPerRadian = 10430.2192;

// The arcsine table covers -1 ... 1 in steps of 1/32768.
constexpr int ArcSinTableSteps = 32768;
constexpr int ArcSinTableSize = 2 * ArcSinTableSteps + 1;

// Entry i is sin / cos of the word angle i; ArcSinTable[i] is arcsin(i / 32768 - 1)
// in radians. Zero until InitTrigTables has run.
extern float SinTable[WordAnglesPerTurn];
extern float CosTable[WordAnglesPerTurn];
extern float ArcSinTable[ArcSinTableSize];

// Fills the tables on its first call; later calls only return true.
bool InitTrigTables();

namespace {
// Each source that uses the tables fills them before its own static objects
// are built, so even start-up code sees them filled whatever the link order.
[[maybe_unused]] const bool TrigTablesReady = InitTrigTables();
}  // namespace

inline float WordSin(TWordAngle a) { return SinTable[a]; }
inline float WordCos(TWordAngle a) { return CosTable[a]; }

// round(radians * 10430.2192); a full turn is 65535 units. Not reduced to 16 bits.
inline int32_t RadToWordAngle(double radians) {
    return static_cast<int32_t>(std::lround(radians * WordAnglesPerRadian));
}
