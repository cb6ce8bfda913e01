#include "kernel/renderer/geometry/emitters.h"

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/renderer/va/vagl.h"

Z_IMPLEMENT_CLASS(tVertexEmitter, .Operations = {{"BeginPrimitive"},
                                                  {"EndPrimitive"},
                                                  {"EmitVertex"},
                                                  {"EmitVertexV", ZOP_ABSTRACT},
                                                  {"SetTexCoord"},
                                                  {"SetNormal"},
                                                  {"SetNormalV"}})
Z_IMPLEMENT_CLASS(tDirectRenderer, .Operations = {{"BeginPrimitive"}, {"EndPrimitive"}, {"EmitVertexV"}})
Z_IMPLEMENT_CLASS(tVertexArrayBuilder, .Operations = {{"BeginPrimitive"}, {"EndPrimitive"}, {"EmitVertexV"}})

// ---- tVertexEmitter --------------------------------------------------------

void tVertexEmitter::BeginPrimitive(uint32_t PrimType, tVertexArray* VA) {
    if (PrimitiveStarted) Logger->Fatal("Primitive already active");
    PrimitiveStarted = true;
    CurrentNormal = {};
}

void tVertexEmitter::EndPrimitive() {
    if (!PrimitiveStarted) Logger->Fatal("No active primitive");
    PrimitiveStarted = false;
}

void tVertexEmitter::SetTexCoord(int32_t Index, float U, float V) {
    for (int32_t Unit = Index < 0 ? 0 : Index; Unit < MaxTextureSets; ++Unit) CurrentTexCoords[Unit] = {U, V};
}

void tVertexEmitter::SetNormalV(const TVector3& V) { CurrentNormal = V; }

// ---- tDirectRenderer -------------------------------------------------------

void tDirectRenderer::BeginPrimitive(uint32_t PrimType, tVertexArray* VA) {
    tVertexEmitter::BeginPrimitive(PrimType, VA);
    glBegin(PrimType);
}

void tDirectRenderer::EndPrimitive() {
    tVertexEmitter::EndPrimitive();
    glEnd();
}

void tDirectRenderer::EmitVertexV(const TVector3& V) { glVertex3fv(&V.x); }

// ---- tVertexArrayBuilder ---------------------------------------------------

void tVertexArrayBuilder::BeginPrimitive(uint32_t PrimType, tVertexArray* VA) {
    tVertexEmitter::BeginPrimitive(PrimType, VA);
    VertexArray = VA;
    CurrentVertex = 0;
}

void tVertexArrayBuilder::EndPrimitive() {
    tVertexEmitter::EndPrimitive();
    VertexArray = nullptr;
}

void tVertexArrayBuilder::EmitVertexV(const TVector3& V) {
    if (!VertexArray) Logger->Fatal("VertexArray is NIL");
    TVector3* Vertices = VertexArray->GetVertices();
    if (!Vertices) Logger->Fatal("VertexArray.Vertices is nil");
    if (VertexArray->GetActiveVertexCount() < CurrentVertex + 1) Logger->Fatal("Unable to emit a vertex");

    Vertices[CurrentVertex] = V;
    if (TVector3* Normals = VertexArray->GetNormals()) Normals[CurrentVertex] = CurrentNormal;
    for (int32_t Unit = 0; Unit < MaxTextureSets; ++Unit)
        if (TVector2* Set = VertexArray->GetTexCoords(Unit)) Set[CurrentVertex] = CurrentTexCoords[Unit];
    ++CurrentVertex;
}
