#pragma once
// Tangent bases of textured triangles, for bump mapping: the tangent points
// along growing u, the binormal along growing v of texture set 0.

#include "kernel/renderer/va/vertexarray.h"

struct TTangentBasis {
    TVector3 Tangent;
    TVector3 Binormal;
};

TTangentBasis TriangleTangentBasis(const TVector3& V1, const TVector3& V2, const TVector3& V3, const TVector2& T1,
                                   const TVector2& T2, const TVector2& T3);

// Writes each triangle's basis to its three vertices in the tangent and
// binormal arrays of a triangle list (nothing when VA has none).
void FillTangentBasis(tVertexArray& VA);
