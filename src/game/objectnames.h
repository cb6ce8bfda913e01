#pragma once
// Game objects made by class name carry their numbers in the object name:
// positions and velocities written with two decimals, separated by single
// blanks, as the constructors read them back with GetToken.

#include "kernel/core/shortstring.h"
#include "libraries/math/vector.h"

// "x y z"
ShortString PositionText(const TVector3& V);
// "x y z vx vy vz"
ShortString PositionText(const TVector3& Position, const TVector3& Velocity);
// The three numbers of Name starting at token First.
TVector3 VectorFromName(const ShortString& Name, int First);
