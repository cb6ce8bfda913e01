#include "kernel/renderer/frustum.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/va/vagl.h"

namespace {

constexpr float PlaneDistance(const TVector4& Plane, float X, float Y, float Z) {
    return Plane.x * X + Plane.y * Y + Plane.z * Z + Plane.w;
}

TVector4 Normalized(const TVector4& Plane) {
    const float Length = std::sqrt(Plane.x * Plane.x + Plane.y * Plane.y + Plane.z * Plane.z);
    return Length > 0 ? Plane / Length : Plane;
}

}  // namespace

void tFrustumCuller::ExtractFrustum() {
    ProcTrace trace("tFrustumCuller.ExtractFrustum()");
    TMatrix4 ModelView, Projection;
    glGetFloatv(GL_MODELVIEW_MATRIX, ModelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, Projection.data());
    ExtractFrustum(ModelView, Projection);
}

void tFrustumCuller::ExtractFrustum(const TMatrix4& ModelView, const TMatrix4& Projection) {
    // Clip = Projection.ModelView; row k of it gives the clip coordinate k,
    // and each plane is w +- one of x, y, z.
    const TMatrix4 Clip = ModelView * Projection;
    auto Row = [&Clip](int K) { return Vector4(Clip[K], Clip[4 + K], Clip[8 + K], Clip[12 + K]); };
    const TVector4 X = Row(0), Y = Row(1), Z = Row(2), W = Row(3);
    Frustum[FP_RIGHT] = Normalized(W - X);
    Frustum[FP_LEFT] = Normalized(W + X);
    Frustum[FP_BOTTOM] = Normalized(W + Y);
    Frustum[FP_TOP] = Normalized(W - Y);
    Frustum[FP_FAR] = Normalized(W - Z);
    Frustum[FP_NEAR] = Normalized(W + Z);
    NumberOfClipPlanes = 6;
}

TCullFrustum tFrustumCuller::CullBoxAgainstFrustum(const TBoundingBox& Box) const {
    const TVector3 Corner[2] = {Box.Min, Box.Max};
    for (int32_t P = 0; P < SidePlanes; ++P) {
        bool AnyInFront = false;
        for (int32_t C = 0; C < 8 && !AnyInFront; ++C)
            AnyInFront = PlaneDistance(Frustum[P], Corner[C & 1].x, Corner[(C >> 1) & 1].y, Corner[C >> 2].z) > 0;
        if (!AnyInFront) return OUTSIDE_FRUSTUM;
    }
    return INSIDE_FRUSTUM;
}

TCullFrustum tFrustumCuller::CullSphereAgainstFrustum(const TBoundingSphere& Sphere) const {
    for (int32_t P = 0; P < SidePlanes; ++P)
        if (Sphere.Radius >= PlaneDistance(Frustum[P], Sphere.Center.x, Sphere.Center.y, Sphere.Center.z))
            return OUTSIDE_FRUSTUM;
    return INSIDE_FRUSTUM;
}
