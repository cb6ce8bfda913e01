#include "libraries/math/mathserver.h"

#include <cmath>
#include <numbers>

Z_IMPLEMENT_CLASS(tMathServer,
    .Operations = {{"GetEigenVectors_Symm", ZOP_ABSTRACT}, {"GetClosestPointsOnLines", ZOP_ABSTRACT},
                   {"SphericalToOrtho", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tGenericMathServer,
    .Operations = {{"GetEigenVectors_Symm"}, {"GetClosestPointsOnLines"}, {"SphericalToOrtho"}})

namespace {

// Applies the rotation to the pair (G, H).
void Rotate(double& G, double& H, double S, double Tau) {
    const double OldG = G, OldH = H;
    G = OldG - S * (OldH + OldG * Tau);
    H = OldH + S * (OldG - OldH * Tau);
}

}  // namespace

// The cyclic Jacobi method in double precision; indices are 0-based here.
void tGenericMathServer::GetEigenVectors_Symm(const TMatrix3& M, TVector3& V1, TVector3& V2, TVector3& V3) {
    double A[3][3], V[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, D[3];
    for (int I = 0; I < 3; ++I) {
        for (int J = 0; J < 3; ++J) A[I][J] = M[I][J];
        D[I] = A[I][I];
    }
    constexpr int Pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    int NRot = 0;
    for (int Sweep = 1; Sweep <= MaxSweeps; ++Sweep) {
        const double SM = std::fabs(A[0][1]) + std::fabs(A[0][2]) + std::fabs(A[1][2]);
        if (SM == 0) break;
        const double Tresh = Sweep < 4 ? 0.2 * SM / 9 : 0;
        for (const auto& Pair : Pairs) {
            const int P = Pair[0], Q = Pair[1];
            const double G = 100 * std::fabs(A[P][Q]);
            if (Sweep > 4 && std::fabs(D[P]) + G == std::fabs(D[P]) && std::fabs(D[Q]) + G == std::fabs(D[Q])) {
                A[P][Q] = 0;
                continue;
            }
            if (std::fabs(A[P][Q]) <= Tresh) continue;
            double H = D[Q] - D[P];
            double T;
            if (std::fabs(H) + G == std::fabs(H)) {
                T = A[P][Q] / H;
            } else {
                const double Theta = 0.5 * H / A[P][Q];
                T = 1 / (std::fabs(Theta) + std::sqrt(1 + Theta * Theta));
                if (Theta < 0) T = -T;
            }
            const double C = 1 / std::sqrt(1 + T * T), S = T * C, Tau = S / (1 + C);
            H = T * A[P][Q];
            D[P] -= H;
            D[Q] += H;
            A[P][Q] = 0;
            for (int J = 0; J < P; ++J) Rotate(A[J][P], A[J][Q], S, Tau);
            for (int J = P + 1; J < Q; ++J) Rotate(A[P][J], A[J][Q], S, Tau);
            for (int J = Q + 1; J < 3; ++J) Rotate(A[P][J], A[Q][J], S, Tau);
            for (int J = 0; J < 3; ++J) Rotate(V[J][P], V[J][Q], S, Tau);
            ++NRot;
        }
    }
    if (NRot >= MaxRotations) {
        V1 = {1, 0, 0};
        V2 = {0, 1, 0};
        V3 = {0, 0, 1};
        return;
    }
    auto Column = [&](int C) { return TVector3{float(V[0][C]), float(V[1][C]), float(V[2][C])}; };
    V1 = Column(0);
    V2 = Column(1);
    V3 = Column(2);
}

void tGenericMathServer::GetClosestPointsOnLines(const TVector3& P1, const TVector3& P2, const TVector3& D1,
                                                 const TVector3& D2, float& T1, float& T2) {
    const TVector3 W = P2 - P1;
    const float A = Dot(D1, D1), B = Dot(D1, D2), C = Dot(D2, D2), D = Dot(W, D1), E = Dot(W, D2);
    const float Det = B * B - A * C;
    if (Det != 0) {
        T1 = (B * E - C * D) / Det;
        T2 = (A * E - B * D) / Det;
    } else {
        T1 = A != 0 ? D / A : 0;  // a zero direction is no line: its point is P1
        T2 = 0;
    }
}

TVector3 tGenericMathServer::SphericalToOrtho(float R, float A, float B) {
    constexpr float DegToRad = std::numbers::pi_v<float> / 180.0f;
    return {R * std::cos(A * DegToRad), R * std::sin(A * DegToRad), R * std::sin(B * DegToRad)};
}
