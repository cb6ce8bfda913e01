#pragma once
// The math server: the few numeric services that are chosen by class name at
// start-up ("MathServer" in the start-up INI file).

#include "kernel/objects/zobject.h"
#include "libraries/math/vector.h"

// A 3 x 3 matrix, rows first.
using TMatrix3 = float[3][3];

class tMathServer : public tZObject {
    Z_DECLARE_CLASS(tMathServer, tZObject)
public:
    // Eigenvectors of a symmetric matrix, or the coordinate axes when the
    // method does not converge.
    virtual void GetEigenVectors_Symm(const TMatrix3& M, TVector3& V1, TVector3& V2, TVector3& V3) = 0;
    // Parameters of the mutually closest points of the lines P1 + T1 D1 and
    // P2 + T2 D2; T2 is 0 for parallel lines.
    virtual void GetClosestPointsOnLines(const TVector3& P1, const TVector3& P2, const TVector3& D1,
                                         const TVector3& D2, float& T1, float& T2) = 0;
    // (R cos A, R sin A, R sin B), angles in degrees.
    virtual TVector3 SphericalToOrtho(float R, float A, float B) = 0;
};

class tGenericMathServer : public tMathServer {
    Z_DECLARE_CLASS(tGenericMathServer, tMathServer)
public:
    static constexpr int MaxSweeps = 50;
    static constexpr int MaxRotations = 50;

    void GetEigenVectors_Symm(const TMatrix3& M, TVector3& V1, TVector3& V2, TVector3& V3) override;
    void GetClosestPointsOnLines(const TVector3& P1, const TVector3& P2, const TVector3& D1, const TVector3& D2,
                                 float& T1, float& T2) override;
    TVector3 SphericalToOrtho(float R, float A, float B) override;
};
