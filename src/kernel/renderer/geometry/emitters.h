#pragma once
// Vertex emitters: the shape generators describe geometry one vertex at a time
// (normal and texture coordinates first, as in immediate mode) and the emitter
// decides where it goes: straight to OpenGL (tDirectRenderer) or into a vertex
// array allocated beforehand (tVertexArrayBuilder).

#include <cstdint>

#include "kernel/renderer/va/vertexarray.h"

enum TVertexEmitterTarget : int32_t {
    VE_DIRECT = 0,  // immediate-mode drawing
    VE_ARRAY = 1,   // write into a vertex array
};

class tVertexEmitter : public tZObject {
    Z_DECLARE_CLASS(tVertexEmitter, tZObject)
public:
    // Starts a primitive (nesting is fatal); the normal restarts at zero.
    virtual void BeginPrimitive(uint32_t PrimType, tVertexArray* VA);
    virtual void EndPrimitive();
    virtual void EmitVertex(float X, float Y, float Z) { EmitVertexV({X, Y, Z}); }
    virtual void EmitVertexV(const TVector3& V) = 0;
    // Sets the coordinates of unit Index and of every unit above it, so unit 0
    // sets all four.
    virtual void SetTexCoord(int32_t Index, float U, float V);
    virtual void SetNormal(float X, float Y, float Z) { SetNormalV({X, Y, Z}); }
    virtual void SetNormalV(const TVector3& V);

protected:
    TVector2 CurrentTexCoords[MaxTextureSets];
    TVector3 CurrentNormal;
    bool PrimitiveStarted = false;
};

// Draws at once with glBegin/glVertex/glEnd; normals and texture coordinates
// are not sent.
class tDirectRenderer : public tVertexEmitter {
    Z_DECLARE_CLASS(tDirectRenderer, tVertexEmitter)
public:
    void BeginPrimitive(uint32_t PrimType, tVertexArray* VA) override;
    void EndPrimitive() override;
    void EmitVertexV(const TVector3& V) override;
};

// Fills the array given to BeginPrimitive from its first vertex on, with the
// current normal and texture coordinates where the array has those. The
// array's own primitive type counts, not the one given here.
class tVertexArrayBuilder : public tVertexEmitter {
    Z_DECLARE_CLASS(tVertexArrayBuilder, tVertexEmitter)
public:
    void BeginPrimitive(uint32_t PrimType, tVertexArray* VA) override;
    void EndPrimitive() override;
    void EmitVertexV(const TVector3& V) override;

private:
    tVertexArray* VertexArray = nullptr;  // not owned
    int32_t CurrentVertex = 0;
};
