#pragma once
// Bounding volumes the renderer tests for visibility and builds geometry from.

#include <cstdint>

#include "libraries/math/vector.h"

struct TBoundingBox {
    TVector3 Min, Max, Center;
    float W = 0, H = 0, D = 0;
};

struct TBoundingSphere {
    TVector3 Center;
    float Radius = 0;
};

// Where a bounding volume lies against the view frustum.
enum TCullFrustum : int32_t { OUTSIDE_FRUSTUM = 0, INSIDE_FRUSTUM = 1, PARTIALLY_INSIDE_FRUSTUM = 2 };
