#pragma once
// Vertex and index arrays in OpenGL buffer objects. An array is mapped
// (locked) while it is written through its getters and unmapped (unlocked)
// when it is drawn; any getter maps it again. All attributes of a vertex array
// share one buffer laid out as VertexLayout says. Needs a current context.

#include "kernel/renderer/va/vertexarray.h"

// One buffer object and its mapping.
class tGLBuffer {
public:
    // Target is GL_ARRAY_BUFFER_ARB or GL_ELEMENT_ARRAY_BUFFER_ARB; the two
    // messages report a failed map and unmap.
    tGLBuffer(uint32_t Target, const char* MapError, const char* UnmapError);
    ~tGLBuffer() { Delete(); }
    tGLBuffer(const tGLBuffer&) = delete;
    tGLBuffer& operator=(const tGLBuffer&) = delete;

    // A new buffer of Bytes bytes (replacing the old one), then mapped.
    void Create(std::size_t Bytes, uint32_t Usage);
    // Maps the buffer unless it is mapped or does not exist, leaving no
    // buffer bound to the target; the mapped address or nullptr.
    void* Map();
    // Binds the buffer (it stays bound) and unmaps it when mapped; true when
    // it was mapped.
    bool Unmap();
    void Delete();
    bool IsMapped() const { return Locked; }

private:
    uint32_t Target;
    const char* MapError;
    const char* UnmapError;
    uint32_t ID = 0;  // 0 when there is no buffer
    bool Locked = false;
    void* Address = nullptr;
};

class tVBOVertexArray : public tVertexArrayFeeder {
    Z_DECLARE_CLASS(tVBOVertexArray, tVertexArrayFeeder)
public:
    tVBOVertexArray();

    void AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) override;
    void FeedIntoGPU() override;
    TVector3* GetVertices() override;
    TVector3* GetNormals() override;
    TVector3* GetBinormals() override;
    TVector3* GetTangents() override;
    TVector2* GetTexCoords(int32_t Index) override;

    // Maps the buffer; the pointers become addresses.
    void Lock();
    // Unmaps it; the buffer stays bound and the pointers become offsets.
    void Unlock();
    void RemoveVertices();

private:
    tGLBuffer Buffer;
};

class tVBOElementsArray : public tElementsArray {
    Z_DECLARE_CLASS(tVBOElementsArray, tElementsArray)
public:
    tVBOElementsArray();

    // Unmaps the buffer and leaves it bound for the draw.
    void FeedIntoGPU() override { Unlock(); }
    void AllocIndices(int32_t Count) override;
    // Maps the buffer again, to write indices into it.
    uint32_t* GetIndices() override { return static_cast<uint32_t*>(Buffer.Map()); }
    // The draw reads the indices from the bound buffer, from its start: no
    // mapping per draw, and nothing for the driver to copy or scan.
    const void* IndexData() override { return nullptr; }
    int32_t GetIndicesCount() override { return FCount; }

    void Lock() { Buffer.Map(); }
    void Unlock() { Buffer.Unmap(); }
    void RemoveIndices();

private:
    tGLBuffer Buffer;
    int32_t FCount = 0;
};
