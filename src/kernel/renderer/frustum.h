#pragma once
// Visibility tests against the view frustum of the current OpenGL matrices.
// Only the four side planes are tested: whatever lies beyond the far plane
// or before the near plane but between the sides counts as inside.
//   box:    outside as soon as one side plane has all eight corners on or
//           behind it; any overlap is inside
//   sphere: inside only when its centre lies more than one radius inside
//           every side plane

#include <cstdint>

#include "libraries/math/bounds.h"
#include "libraries/math/matrix.h"

class tFrustumCuller {
public:
    enum TFrustumPlane : int32_t { FP_RIGHT = 0, FP_LEFT, FP_BOTTOM, FP_TOP, FP_FAR, FP_NEAR };
    static constexpr int32_t SidePlanes = 4;
    static constexpr int32_t MaxPlanes = 7;

    // Reads the model-view and projection matrices from OpenGL.
    void ExtractFrustum();
    // The planes of the frustum that ModelView followed by Projection sees,
    // normalised, their normals pointing into the visible volume.
    void ExtractFrustum(const TMatrix4& ModelView, const TMatrix4& Projection);
    TCullFrustum CullBoxAgainstFrustum(const TBoundingBox& Box) const;
    TCullFrustum CullSphereAgainstFrustum(const TBoundingSphere& Sphere) const;

    TVector4 Frustum[MaxPlanes];  // (a, b, c, d) of a.x + b.y + c.z + d = 0
    int32_t NumberOfClipPlanes = 0;
};
