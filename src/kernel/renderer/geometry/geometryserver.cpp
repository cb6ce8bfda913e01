#include "kernel/renderer/geometry/geometryserver.h"

#include <cmath>

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/renderer/geometry/mender.h"

Z_IMPLEMENT_CLASS(tGeometryServer, .Operations = {{"CreateVAMender", ZOP_ABSTRACT},
                                                   {"SetVertexEmitter", ZOP_ABSTRACT},
                                                   {"CreateTriangle", ZOP_ABSTRACT},
                                                   {"CreateBBox_Geometry", ZOP_ABSTRACT},
                                                   {"CreateOBox_Geometry", ZOP_ABSTRACT},
                                                   {"CreateDome", ZOP_ABSTRACT},
                                                   {"CreateRect", ZOP_ABSTRACT},
                                                   {"CreateQuad_CameraFaced", ZOP_ABSTRACT},
                                                   {"CreateRectsArray", ZOP_ABSTRACT},
                                                   {"CreateRectsArray_CameraFacedZParallel", ZOP_ABSTRACT},
                                                   {"CreateRectsArray_CameraFaced", ZOP_ABSTRACT},
                                                   {"CreateBevelRect", ZOP_ABSTRACT},
                                                   {"CalculateTangent", ZOP_ABSTRACT},
                                                   {"MinMaxX", ZOP_ABSTRACT},
                                                   {"Translate", ZOP_ABSTRACT},
                                                   {"Scale", ZOP_ABSTRACT},
                                                   {"TranslateToCenter", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tRGeometryServer, .Operations = {{"CreateVAMender"},
                                                    {"SetVertexEmitter"},
                                                    {"CreateTriangle"},
                                                    {"CreateBBox_Geometry"},
                                                    {"CreateOBox_Geometry"},
                                                    {"CreateDome"},
                                                    {"CreateRect"},
                                                    {"CreateQuad_CameraFaced"},
                                                    {"CreateRectsArray"},
                                                    {"CreateRectsArray_CameraFacedZParallel"},
                                                    {"CreateRectsArray_CameraFaced"},
                                                    {"CreateBevelRect"},
                                                    {"CalculateTangent"},
                                                    {"MinMaxX"},
                                                    {"Translate"},
                                                    {"Scale"},
                                                    {"TranslateToCenter"}})

namespace {

// The active vertices of VA.
struct TActiveVertices {
    TVector3* First;
    int32_t Count;
    TVector3* begin() const { return First; }
    TVector3* end() const { return First + Count; }
};

TActiveVertices ActiveVertices(tVertexArray* VA) {
    if (!VA) Logger->Fatal("VertexArray is NIL");
    const int32_t Count = VA->GetActiveVertexCount();
    return {Count > 0 ? VA->GetVertices() : nullptr, Count > 0 ? Count : 0};
}

}  // namespace

tRGeometryServer::tRGeometryServer()
    : DirectEmitter(NewObject<tDirectRenderer>()), VABuilder(NewObject<tVertexArrayBuilder>()) {
    VertexEmitter = VABuilder;
}

tRGeometryServer::~tRGeometryServer() {
    DisposeObject(DirectEmitter);
    DisposeObject(VABuilder);
}

tVertexArrayMender* tRGeometryServer::CreateVAMender() { return NewObject<tOGLVertexArrayMender>(); }

void tRGeometryServer::SetVertexEmitter(TVertexEmitterTarget Emitter) {
    switch (Emitter) {
        case VE_DIRECT: VertexEmitter = DirectEmitter; break;
        case VE_ARRAY: VertexEmitter = VABuilder; break;
        default: Logger->Fatal("Unknown vertex emitter target");
    }
}

TTangentBasis tRGeometryServer::CalculateTangent(const TVector3& V1, const TVector3& V2, const TVector3& V3,
                                                 const TVector2& T1, const TVector2& T2, const TVector2& T3,
                                                 float BumpFactor) {
    ProcTrace trace("tRGeometryServer.CalculateTangent()");
    return TriangleTangentBasis(V1, V2, V3, T1, T2, T3);
}

void tRGeometryServer::MinMaxX(tVertexArray* VA, float& MinX, float& MaxX) {
    for (const TVector3& V : ActiveVertices(VA)) {
        if (V.x > MaxX) MaxX = V.x;
        if (V.x < MinX) MinX = V.x;
    }
}

void tRGeometryServer::Translate(tVertexArray* VA, const TVector3& Vec) {
    for (TVector3& V : ActiveVertices(VA)) V += Vec;
}

void tRGeometryServer::Scale(tVertexArray* VA, float ScaleFactor) {
    for (TVector3& V : ActiveVertices(VA)) V *= ScaleFactor;
}

TVector3 tRGeometryServer::TranslateToCenter(tVertexArray* VA) {
    const TActiveVertices Vertices = ActiveVertices(VA);
    // An empty array has nothing to move; its centre is the origin.
    if (Vertices.Count == 0) return {};
    double Sum[3] = {0, 0, 0};  // in double, so large meshes keep their precision
    for (const TVector3& V : Vertices) {
        Sum[0] += V.x;
        Sum[1] += V.y;
        Sum[2] += V.z;
    }
    const TVector3 Mean = {float(Sum[0] / Vertices.Count), float(Sum[1] / Vertices.Count),
                           float(Sum[2] / Vertices.Count)};
    Translate(VA, -Mean);
    return Mean;
}
