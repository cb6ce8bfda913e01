#pragma once
// The ground under a point as a computer pilot reads it: the terrain of the
// world, the sea's surface included (see GroundUnder).

#include "game/botbrain.h"
#include "game/match.h"

class TWorldGround : public TGroundProbe {
public:
    float GroundHeight(float X, float Y) const override { return GroundUnder(X, Y); }
};
