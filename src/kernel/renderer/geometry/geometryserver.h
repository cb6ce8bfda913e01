#pragma once
// The geometry server turns numbers into drawable geometry: shape generators
// that write through the selected vertex emitter (into a vertex array
// allocated with the right vertex count, or straight to OpenGL), utilities
// that move and measure the active vertices of an array, the per-triangle
// tangent basis, and the mender that assembles loaded meshes. The render
// device owns one (its GeometryServer).

#include <cstdint>

#include "kernel/renderer/geometry/emitters.h"
#include "kernel/renderer/geometry/tangents.h"
#include "kernel/renderer/va/vertexarray.h"
#include "libraries/math/bounds.h"

class tVertexArrayMender;

class tGeometryServer : public tZObject {
    Z_DECLARE_CLASS(tGeometryServer, tZObject)
public:
    // A new mender; the caller owns it.
    virtual tVertexArrayMender* CreateVAMender() = 0;
    // VE_ARRAY after construction; a caller that switches to VE_DIRECT switches back.
    virtual void SetVertexEmitter(TVertexEmitterTarget Emitter) = 0;

    // Shape generators. Each checks the array's active vertex count where a
    // fixed count applies (the count the array must have been allocated with
    // is given with each).
    // Right triangle with the right angle at (VX, VY); 3 vertices, triangles.
    virtual void CreateTriangle(tVertexArray* VA, float VX, float VY, float DX, float DY, float Z) = 0;
    // The six faces of an axis-aligned box with their normals; 24 vertices, quads.
    virtual void CreateBBox_Geometry(tVertexArray* VA, const TBoundingBox& Box) = 0;
    // The six faces of the box Center +- A +- B +- C; 24 vertices, quads.
    virtual void CreateOBox_Geometry(tVertexArray* VA, const TVector3& Center, const TVector3& A,
                                     const TVector3& B, const TVector3& C) = 0;
    // The upper hemisphere in steps of DTheta (around) and DPhi (down from
    // the top) degrees as one strip; (360 / DTheta) x (90 / DPhi) x 4 vertices.
    virtual void CreateDome(tVertexArray* VA, float Radius, float DTheta, float DPhi, float HTile, float VTile,
                            float DX, float DY, float DZ) = 0;
    // Rectangle in the plane z = DZ; 4 vertices, quads.
    virtual void CreateRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ) = 0;
    // One billboard of half-size Size facing the camera; 4 vertices, quads.
    virtual void CreateQuad_CameraFaced(tVertexArray* VA, const TVector3& Center, float Size) = 0;
    // Num rectangles of half-size SizeX x SizeY around Centers[0..Num-1];
    // 4 x Num vertices, quads. Axis-aligned in the XY plane, facing the
    // camera with vertical sides, or facing the camera.
    virtual void CreateRectsArray(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                                  float SizeY) = 0;
    virtual void CreateRectsArray_CameraFacedZParallel(tVertexArray* VA, int32_t Num, const TVector3* Centers,
                                                       float SizeX, float SizeY) = 0;
    virtual void CreateRectsArray_CameraFaced(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                                              float SizeY) = 0;
    // Rectangle with its corners cut at Radius, as one polygon; 12 vertices.
    virtual void CreateBevelRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ,
                                 float Radius) = 0;

    // Unit tangent (direction of growing u) and binormal (growing v) of a
    // textured triangle.
    virtual TTangentBasis CalculateTangent(const TVector3& V1, const TVector3& V2, const TVector3& V3,
                                           const TVector2& T1, const TVector2& T2, const TVector2& T3,
                                           float BumpFactor) = 0;
    // Widens [MinX, MaxX] to the X range of the active vertices.
    virtual void MinMaxX(tVertexArray* VA, float& MinX, float& MaxX) = 0;
    virtual void Translate(tVertexArray* VA, const TVector3& Vec) = 0;
    virtual void Scale(tVertexArray* VA, float ScaleFactor) = 0;
    // Moves the vertices so that their mean is the origin; returns the old mean.
    virtual TVector3 TranslateToCenter(tVertexArray* VA) = 0;
};

class tRGeometryServer : public tGeometryServer {
    Z_DECLARE_CLASS(tRGeometryServer, tGeometryServer)
public:
    tRGeometryServer();
    ~tRGeometryServer() override;

    tVertexArrayMender* CreateVAMender() override;
    void SetVertexEmitter(TVertexEmitterTarget Emitter) override;
    void CreateTriangle(tVertexArray* VA, float VX, float VY, float DX, float DY, float Z) override;
    void CreateBBox_Geometry(tVertexArray* VA, const TBoundingBox& Box) override;
    void CreateOBox_Geometry(tVertexArray* VA, const TVector3& Center, const TVector3& A, const TVector3& B,
                             const TVector3& C) override;
    void CreateDome(tVertexArray* VA, float Radius, float DTheta, float DPhi, float HTile, float VTile, float DX,
                    float DY, float DZ) override;
    void CreateRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ) override;
    void CreateQuad_CameraFaced(tVertexArray* VA, const TVector3& Center, float Size) override;
    void CreateRectsArray(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                          float SizeY) override;
    void CreateRectsArray_CameraFacedZParallel(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                                               float SizeY) override;
    void CreateRectsArray_CameraFaced(tVertexArray* VA, int32_t Num, const TVector3* Centers, float SizeX,
                                      float SizeY) override;
    void CreateBevelRect(tVertexArray* VA, float X1, float Y1, float X2, float Y2, float DZ, float Radius) override;
    TTangentBasis CalculateTangent(const TVector3& V1, const TVector3& V2, const TVector3& V3, const TVector2& T1,
                                   const TVector2& T2, const TVector2& T3, float BumpFactor) override;
    void MinMaxX(tVertexArray* VA, float& MinX, float& MaxX) override;
    void Translate(tVertexArray* VA, const TVector3& Vec) override;
    void Scale(tVertexArray* VA, float ScaleFactor) override;
    TVector3 TranslateToCenter(tVertexArray* VA) override;

private:
    // Billboards: Num quads around Centers with the corner offsets O[0..3].
    void EmitRects(tVertexArray* VA, int32_t Num, const TVector3* Centers, const TVector3 (&O)[4]);

    tDirectRenderer* DirectEmitter = nullptr;
    tVertexArrayBuilder* VABuilder = nullptr;
    tVertexEmitter* VertexEmitter = nullptr;  // one of the two above
};
