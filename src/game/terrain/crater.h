#pragma once
// The shape a shot leaves in the height field: a bowl half as deep as the
// crater's radius, ringed by a rim thrown up to a tenth of the radius that
// falls back to the untouched ground half a radius further out.

#include <cstdint>
#include <vector>

#include "game/terrain/terrainheights.h"
#include "libraries/math/vector.h"

// Smaller craters would be dimples between the samples (one per unit); larger
// ones would reach across more than two leaves each way.
inline constexpr float MinCraterRadius = 3.0f;
inline constexpr float MaxCraterRadius = 32.0f;
inline constexpr float CraterDepth = 0.5f;   // at the centre, times the radius
inline constexpr float CraterRim = 0.1f;     // the rim's crest, times the radius
inline constexpr float CraterReach = 1.5f;   // the rim's outer edge, times the radius

// The change of height at Distance from the centre of a crater of Radius.
float CraterProfile(float Distance, float Radius);

// The radius actually dug for a requested one (bounded as above).
float CraterRadiusFor(float Requested);
// The side of the largest square of samples a crater changes.
constexpr int32_t LargestCraterRect() { return 2 * int32_t(MaxCraterRadius * CraterReach) + 3; }

// The samples a crater centred at (X, Y) changes on a map of Size samples
// (its inner samples only: the outermost ring always reads the border
// height); empty when it lies off the map or the position is not finite.
TSampleRect CraterRect(float X, float Y, float Radius, int32_t Size);

// Digs the crater into Heights (Size x Size, X the slow index) over Rect;
// no height ends below 0. Returns the lowest and highest heights left in Rect.
struct THeightRange {
    float Low, High;
};
THeightRange DigCrater(std::vector<float>& Heights, int32_t Size, float X, float Y, float Radius,
                       const TSampleRect& Rect);
