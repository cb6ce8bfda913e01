#pragma once
// Bounding volumes the renderer tests for visibility and builds geometry from.

#include "libraries/math/vector.h"

struct TBoundingBox {
    TVector3 Min, Max, Center;
    float W = 0, H = 0, D = 0;
};

struct TBoundingSphere {
    TVector3 Center;
    float Radius = 0;
};
