#pragma once
// The vertex-array mender assembles a mesh that a loader reads with separately
// numbered positions, normals, texture coordinates, faces and texture faces
// (the numbers are the file's own, in any order) into one triangle list.

#include <cstdint>
#include <memory>

#include "kernel/renderer/va/vertexarray.h"

// A growable store of vectors addressed by index.
class tVectorsArray {
public:
    // Small meshes (and damaged files) fit; big ones double it a few times.
    static constexpr int32_t InitialCapacity = 125;
    // Indices beyond this come only from damaged files.
    static constexpr int32_t MaxEntries = 1048576;

    tVectorsArray();

    // Fatal for an index below 0 or above FUsed.
    TVector3 GetVector(int32_t I) const;
    // Grows the store (doubling) as needed; slots skipped over read as zero.
    void SetVector(int32_t I, const TVector3& Vec);

    // The highest index written, -1 when none.
    int32_t Used() const { return FUsed; }
    int32_t Allocated() const { return FAllocated; }

private:
    std::unique_ptr<TVector3[]> FVectors;
    int32_t FAllocated;
    int32_t FUsed = -1;
};

class tVertexArrayMender : public tZObject {
    Z_DECLARE_CLASS(tVertexArrayMender, tZObject)
public:
    virtual void EmitVertex(int32_t Index, const TVector3& V) = 0;
    virtual void EmitNormal(int32_t Index, const TVector3& V) = 0;
    // A triangle of vertex numbers.
    virtual void EmitFace(int32_t Index, int32_t A, int32_t B, int32_t C) = 0;
    virtual void EmitTextureVertex(int32_t Index, const TVector3& V) = 0;
    // The texture-vertex numbers of face Index's corners.
    virtual void EmitTextureFace(int32_t Index, int32_t A, int32_t B, int32_t C) = 0;
    // The mesh as a new array, owned by the caller.
    virtual tVertexArray* CreateVertexArray() = 0;
};

class tOGLVertexArrayMender : public tVertexArrayMender {
    Z_DECLARE_CLASS(tOGLVertexArrayMender, tVertexArrayMender)
public:
    void EmitVertex(int32_t Index, const TVector3& V) override { FVertices.SetVector(Index, V); }
    void EmitNormal(int32_t Index, const TVector3& V) override { FNormals.SetVector(Index, V); }
    void EmitFace(int32_t Index, int32_t A, int32_t B, int32_t C) override;
    void EmitTextureVertex(int32_t Index, const TVector3& V) override { FTextureVertices.SetVector(Index, V); }
    void EmitTextureFace(int32_t Index, int32_t A, int32_t B, int32_t C) override;
    // One vertex per face corner (triangles, texture set 0 copied to all four
    // units). Meshes with normals get a tangent basis, filled per triangle;
    // a face, texture face, texture vertex or normal that is missing is fatal.
    tVertexArray* CreateVertexArray() override;

private:
    tVectorsArray FVertices, FNormals, FTextureVertices, FTextureFaces, FFaces;
};
