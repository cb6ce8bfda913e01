#pragma once
// An aircraft shot down explodes where it is, in the air: the fireball and
// the boom of a crash, without the crater and the wreck (crashsite.h).

#include "libraries/math/vector.h"

void ExplodeAircraft(const TVector3& Where);
