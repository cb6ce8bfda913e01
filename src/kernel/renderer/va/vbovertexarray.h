#pragma once
// Vertex and index arrays in OpenGL buffer objects. An array is mapped
// (locked) while it is written through its getters and unmapped (unlocked)
// when it is drawn; any getter maps it again. All attributes of a vertex array
// share one buffer laid out as VertexLayout says. Needs a current context.

#include "kernel/renderer/va/vertexarray.h"

class tVBOVertexArray : public tVertexArrayFeeder {
    Z_DECLARE_CLASS(tVBOVertexArray, tVertexArrayFeeder)
public:
    ~tVBOVertexArray() override;

    void AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, uint32_t PrimType) override;
    void FeedIntoGPU() override;
    TVector3* GetVertices() override;
    TVector3* GetNormals() override;
    TVector3* GetBinormals() override;
    TVector3* GetTangents() override;
    TVector2* GetTexCoords(int32_t Index) override;

    // Maps the buffer (when it exists and is not mapped yet).
    void Lock();
    // Unmaps it; the buffer stays bound and the pointers become offsets.
    void Unlock();
    void RemoveVertices();

private:
    uint32_t FID = 0;  // buffer name, 0 when none
    bool FLocked = false;
};

class tVBOElementsArray : public tElementsArray {
    Z_DECLARE_CLASS(tVBOElementsArray, tElementsArray)
public:
    ~tVBOElementsArray() override;

    // Unmaps the buffer before drawing.
    void FeedIntoGPU() override { Unlock(); }
    void AllocIndices(int32_t Count) override;
    uint32_t* GetIndices() override;
    int32_t GetIndicesCount() override { return FCount; }

    void Lock();
    void Unlock();
    void RemoveIndices();

private:
    uint32_t FID = 0;
    bool FLocked = false;
    int32_t FCount = 0;
    uint32_t* FIndices = nullptr;  // the mapped address while locked
};
