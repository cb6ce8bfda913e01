#pragma once
// What is left of an aircraft that explodes: the one place an aircraft's
// end is shown and heard, in the air or on the ground.

#include "libraries/math/vector.h"

void ExplodeAircraft(const TVector3& Where);
