#include "kernel/renderer/geometry/tangents.h"

TTangentBasis TriangleTangentBasis(const TVector3& V1, const TVector3& V2, const TVector3& V3, const TVector2& T1,
                                   const TVector2& T2, const TVector2& T3) {
    // The edges in space are P = s1 T + t1 B and Q = s2 T + t2 B in terms of
    // the texture-space edges; solved for T and B up to the determinant, whose
    // sign keeps the basis pointing along growing u and v on mirrored maps.
    const TVector3 P = V2 - V1, Q = V3 - V1;
    const float s1 = T2.x - T1.x, t1 = T2.y - T1.y;
    const float s2 = T3.x - T1.x, t2 = T3.y - T1.y;
    const float Sign = s1 * t2 - s2 * t1 < 0 ? -1.0f : 1.0f;
    return {Normalize((t2 * P - t1 * Q) * Sign), Normalize((s1 * Q - s2 * P) * Sign)};
}

void FillTangentBasis(tVertexArray& VA) {
    TVector3* Tangents = VA.GetTangents();
    TVector3* Binormals = VA.GetBinormals();
    const TVector3* Vertices = VA.GetVertices();
    const TVector2* UV = VA.GetTexCoords(0);
    if (!Tangents || !Binormals || !UV) return;
    const int32_t Count = VA.GetActiveVertexCount();
    for (int32_t I = 0; I + 2 < Count; I += 3) {
        const TTangentBasis B =
            TriangleTangentBasis(Vertices[I], Vertices[I + 1], Vertices[I + 2], UV[I], UV[I + 1], UV[I + 2]);
        for (int32_t K = I; K < I + 3; ++K) {
            Tangents[K] = B.Tangent;
            Binormals[K] = B.Binormal;
        }
    }
}
