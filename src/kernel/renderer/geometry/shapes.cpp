// The shape generators of tRGeometryServer.

#include <cmath>

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vagl.h"

namespace {

constexpr double DegToRad = 0.017453292519943295;
// 1 - sqrt(2)/2: where a corner cut at radius R meets the 45-degree line.
constexpr float BevelInset = 0.292894f;

// Fatal unless VA exists and has exactly Expected active vertices; the message
// is Prefix followed by Expected.
void CheckVertexCount(tVertexArray* VA, int64_t Expected, const char* Prefix) {
    if (!VA) Logger->Fatal("VertexArray is NIL");
    if (VA->GetActiveVertexCount() != Expected) Logger->Fatal(Prefix + Int2Str(Expected));
}

// Corner offsets of a rectangle spanned by Right and Up, counter-clockwise
// from the lower left.
void RectOffsets(const TVector3& Right, const TVector3& Up, float SizeX, float SizeY, TVector3 (&O)[4]) {
    O[0] = -Right * SizeX - Up * SizeY;
    O[1] = Right * SizeX - Up * SizeY;
    O[2] = Right * SizeX + Up * SizeY;
    O[3] = -Right * SizeX + Up * SizeY;
}

// The same facing the camera: Right and Up are the first two rows of the
// current model-view rotation.
void CameraRectOffsets(float SizeX, float SizeY, TVector3 (&O)[4]) {
    float M[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, M);
    RectOffsets({M[0], M[4], M[8]}, {M[1], M[5], M[9]}, SizeX, SizeY, O);
}

// Which corner of the box each face takes, per axis (0 = Min, 1 = Max).
struct TBoxFace {
    TVector3 Normal;
    uint8_t Corners[4][3];
};

constexpr TBoxFace BoxFaces[6] = {
    {{0, -1, 0}, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}},
    {{0, 1, 0}, {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}}},
    {{-1, 0, 0}, {{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}}},
    {{1, 0, 0}, {{1, 0, 0}, {1, 1, 0}, {1, 1, 1}, {1, 0, 1}}},
    {{0, 0, -1}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}},
    {{0, 0, 1}, {{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}},
};

// Signs of the half-axes A, B, C at each corner of an oriented box's faces
// +A, -A, +B, -B, +C, -C.
constexpr int8_t OBoxSigns[6][4][3] = {
    {{1, 1, 1}, {1, 1, -1}, {1, -1, -1}, {1, -1, 1}},
    {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}},
    {{1, 1, 1}, {1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}},
    {{1, -1, 1}, {1, -1, -1}, {-1, -1, -1}, {-1, -1, 1}},
    {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}},
    {{1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
};

constexpr TVector2 QuadUV[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// Unit vector phi degrees down from +Z, theta degrees around it from +X.
TVector3 DomeDirection(double Phi, double Theta) {
    const double P = Phi * DegToRad, T = Theta * DegToRad;
    return {float(std::sin(P) * std::cos(T)), float(std::sin(P) * std::sin(T)), float(std::cos(P))};
}

}  // namespace

void tRGeometryServer::CreateTriangle(tVertexArray* VA, float VX, float VY, float DX, float DY, float Z) {
    ProcTrace trace("tRGeometryServer.CreateTriangle()");
    CheckVertexCount(VA, 3, "Unable to create triangle: VertexCount<>");
    VertexEmitter->BeginPrimitive(GL_TRIANGLES, VA);
    VertexEmitter->SetTexCoord(0, 1, 1);
    VertexEmitter->EmitVertex(VX, VY, Z);
    VertexEmitter->SetTexCoord(0, 1, 0);
    VertexEmitter->EmitVertex(VX, VY - DY, Z);
    VertexEmitter->SetTexCoord(0, 0, 1);
    VertexEmitter->EmitVertex(VX + DX, VY, Z);
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ) {
    ProcTrace trace("tRGeometryServer.CreateRect()");
    CheckVertexCount(VA, QuadCorners, "Unable to create rect: VertexCount<>");
    const TVector3 Corners[4] = {{X1, Y1, DZ}, {X2, Y1, DZ}, {X2, Y2, DZ}, {X1, Y2, DZ}};
    VertexEmitter->BeginPrimitive(GL_QUADS, VA);
    for (int32_t I = 0; I < QuadCorners; ++I) {
        VertexEmitter->SetTexCoord(0, QuadUV[I].x, QuadUV[I].y);
        VertexEmitter->EmitVertexV(Corners[I]);
    }
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateBevelRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ,
                                       float Radius) {
    ProcTrace trace("CreateBevelRectVA()");
    CheckVertexCount(VA, 12, "Unable to create bevel: VertexCount<>");
    const float R = Radius, K = BevelInset * Radius;
    const TVector2 Points[12] = {{X1 + R, Y2}, {X2 - R, Y2}, {X2 - K, Y2 - K}, {X2, Y2 - R},
                                 {X2, Y1 + R}, {X2 - K, Y1 + K}, {X2 - R, Y1}, {X1 + R, Y1},
                                 {X1 + K, Y1 + K}, {X1, Y1 + R}, {X1, Y2 - R}, {X1 + K, Y2 - K}};
    VertexEmitter->BeginPrimitive(GL_POLYGON, VA);
    for (const TVector2& P : Points) {
        VertexEmitter->SetTexCoord(0, (P.x - X1) / (X2 - X1), (P.y - Y1) / (Y2 - Y1));
        VertexEmitter->EmitVertex(P.x, P.y, DZ);
    }
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateBBox_Geometry(tVertexArray* VA, const TBoundingBox& Box) {
    ProcTrace trace("tRGeometryServer.CreateBBox_Geometry()");
    const TVector3 Ends[2] = {Box.Min, Box.Max};
    VertexEmitter->BeginPrimitive(GL_QUADS, VA);
    for (const TBoxFace& Face : BoxFaces) {
        VertexEmitter->SetNormalV(Face.Normal);
        for (const auto& C : Face.Corners) VertexEmitter->EmitVertex(Ends[C[0]].x, Ends[C[1]].y, Ends[C[2]].z);
    }
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateOBox_Geometry(tVertexArray* VA, const TVector3& Center, const TVector3& A,
                                           const TVector3& B, const TVector3& C) {
    VertexEmitter->BeginPrimitive(GL_QUADS, VA);
    for (const auto& Face : OBoxSigns)
        for (const auto& S : Face) VertexEmitter->EmitVertexV(Center + A * S[0] + B * S[1] + C * S[2]);
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateDome(tVertexArray* VA, float Radius, float DTheta, float DPhi, float HTile,
                                  float VTile, float DX, float DY, float DZ) {
    // Steps that are not positive would never finish the rings.
    if (!(DTheta > 0 && DPhi > 0)) Logger->Fatal("Unable to create dome: DTheta and DPhi must be positive");
    const double Expected = std::round((360.0 / DTheta) * (90.0 / DPhi) * 4);
    CheckVertexCount(VA, int64_t(std::fmin(Expected, 1e18)), "Unable to create triangle: VertexCount<>");

    const TVector3 Offset = {DX, DY, DZ};
    auto Spawn = [&](double Phi, double Theta) {
        const TVector3 D = DomeDirection(Phi, Theta);
        VertexEmitter->SetTexCoord(0, D.x, D.y);
        VertexEmitter->EmitVertexV((D * Radius + Offset) * 0.5f);
    };
    VertexEmitter->BeginPrimitive(GL_TRIANGLE_STRIP, VA);
    for (double Phi = 0; Phi <= 90.0 - DPhi; Phi += DPhi) {
        for (double Theta = 0; Theta <= 360.0 - DTheta;) {
            Theta += DTheta;
            Spawn(Phi, Theta);
            Spawn(Phi + DPhi, Theta);
            Spawn(Phi, Theta + DTheta);
            if (Phi > -90 && Phi < 90) Spawn(Phi + DPhi, Theta + DTheta);
        }
    }
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::EmitRects(tVertexArray* VA, int32_t Num, const TVector3* Centers, const TVector3 (&O)[4]) {
    CheckVertexCount(VA, int64_t(Num) * QuadCorners, "Unable to create rects: VertexCount<>");
    if (Num > 0 && !Centers) Logger->Fatal("Centers is NIL");
    VertexEmitter->BeginPrimitive(GL_QUADS, VA);
    for (int32_t I = 0; I < Num; ++I)
        for (int32_t K = 0; K < QuadCorners; ++K) {
            VertexEmitter->SetTexCoord(0, QuadUV[K].x, QuadUV[K].y);
            VertexEmitter->EmitVertexV(Centers[I] + O[K]);
        }
    VertexEmitter->EndPrimitive();
}

void tRGeometryServer::CreateQuad_CameraFaced(tVertexArray* VA, const TVector3& Center, float Size) {
    CreateRectsArray_CameraFaced(VA, 1, &Center, Size, Size);
}

void tRGeometryServer::CreateRectsArray(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                                        float SizeY) {
    TVector3 O[4];
    RectOffsets({1, 0, 0}, {0, 1, 0}, SizeX, SizeY, O);
    EmitRects(VA, Num, Centers, O);
}

void tRGeometryServer::CreateRectsArray_CameraFacedZParallel(tVertexArray* VA, int32_t Num, const TVector3* Centers,
                                                             float SizeX, float SizeY) {
    TVector3 O[4];
    CameraRectOffsets(SizeX, SizeY, O);
    // The lower corners straight below the upper ones: the sides stay vertical.
    O[0].x = O[3].x;
    O[0].y = O[3].y;
    O[1].x = O[2].x;
    O[1].y = O[2].y;
    EmitRects(VA, Num, Centers, O);
}

void tRGeometryServer::CreateRectsArray_CameraFaced(tVertexArray* VA, int32_t Num, const TVector3* Centers,
                                                    float SizeX, float SizeY) {
    TVector3 O[4];
    CameraRectOffsets(SizeX, SizeY, O);
    EmitRects(VA, Num, Centers, O);
}
