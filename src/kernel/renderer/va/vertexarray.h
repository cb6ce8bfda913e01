#pragma once
// Vertex arrays: what the render device draws. An array holds positions and,
// as allocated, normals (or a whole tangent basis) and up to four texture
// coordinate sets; it is drawn through an index array, normally the manager's
// shared identity list. The arrays of one vertex array share one block laid
// out attribute by attribute (see VertexLayout), in ordinary memory or in an
// OpenGL buffer object.
//
// Class tree: tGPUBuffer > tVertexArray > tVertexArraySerializer (allocation
// record, index array, stream image, replicas) > tVertexArrayFeeder (pointers
// and the OpenGL draw) > tStdVertexArray / tVBOVertexArray.

#include <cstddef>
#include <cstdint>

#include "kernel/objects/zobject.h"
#include "libraries/math/vector.h"

enum TGenNormals : int32_t {
    GN_TRUE = 0,           // a normal array
    GN_FALSE = 1,          // no normal array
    GN_TANGENT_BASIS = 2,  // normal, tangent and binormal arrays
};

// What an array's vertices are drawn as: OpenGL's own primitive codes, stored
// unchanged in stream images.
enum TPrimitiveType : uint32_t {
    PRIM_TRIANGLES = 4,
    PRIM_TRIANGLE_STRIP = 5,
    PRIM_QUADS = 7,
    PRIM_POLYGON = 9,  // the highest code an array may have
};

// The vertices of one quad of a PRIM_QUADS array.
inline constexpr int32_t QuadCorners = 4;

// Texture units 0..3; an array has texture sets 0..Tex.
inline constexpr int32_t MaxTextureSets = 4;

// What an array was allocated for; also the head of its stream image.
struct TVAAllocationInfo {
    int32_t FActiveVertexCount = 0;
    int32_t FTex = -1;  // highest texture set, -1 for none
    TGenNormals FGenNormals = GN_FALSE;
    TPrimitiveType FPrimitive = PRIM_TRIANGLES;
};

// Byte offsets of the attribute arrays inside one block of Count vertices:
// positions, texture sets 0..Tex, normals, tangents, binormals. An attribute
// the array does not have is marked Absent.
struct TVertexLayout {
    static constexpr std::size_t Absent = SIZE_MAX;
    std::size_t Positions = 0;
    std::size_t TexCoords[MaxTextureSets] = {Absent, Absent, Absent, Absent};
    std::size_t Normals = Absent;
    std::size_t Tangents = Absent;
    std::size_t Binormals = Absent;
    std::size_t Bytes = 0;  // the whole block
};

// Bytes one vertex takes with texture sets 0..Tex and the given normals.
int32_t VertexStride(int32_t Tex, TGenNormals GenNormals);
TVertexLayout VertexLayout(int32_t Count, int32_t Tex, TGenNormals GenNormals);
// Fatal unless the three values describe an array that can be allocated.
void CheckAllocationInfo(int32_t Count, int32_t Tex, TGenNormals GenNormals);

// Anything that can be handed to OpenGL.
class tGPUBuffer : public tZObject {
    Z_DECLARE_CLASS(tGPUBuffer, tZObject)
public:
    virtual void FeedIntoGPU() = 0;
};

// A list of 32-bit vertex indices.
class tElementsArray : public tGPUBuffer {
    Z_DECLARE_CLASS(tElementsArray, tGPUBuffer)
public:
    virtual void AllocIndices(int32_t Count) = 0;
    virtual uint32_t* GetIndices() = 0;
    virtual int32_t GetIndicesCount() = 0;
    // What the draw after FeedIntoGPU hands OpenGL as its indices: their
    // address, or an offset into the buffer FeedIntoGPU bound.
    virtual const void* IndexData() { return GetIndices(); }

    // How many indices a draw through this list reads. A list of its own
    // (a terrain leaf's strip) keeps the count here, so that the vertex
    // array it indexes holds only its vertices; NoDrawCount (the common
    // identity list) draws as many indices as the vertex array has active
    // vertices.
    static constexpr int32_t NoDrawCount = -1;
    void SetDrawCount(int32_t Count) { DrawCount = Count; }
    int32_t GetDrawCount() const { return DrawCount; }

private:
    int32_t DrawCount = NoDrawCount;
};

class tVertexArray : public tGPUBuffer {
    Z_DECLARE_CLASS(tVertexArray, tGPUBuffer)
public:
    virtual TVector3* GetVertices() = 0;
    // The optional arrays; nullptr when not allocated.
    virtual TVector3* GetNormals() = 0;
    virtual TVector3* GetBinormals() = 0;
    virtual TVector3* GetTangents() = 0;
    virtual TVector2* GetTexCoords(int32_t Index) = 0;
    virtual TPrimitiveType Primitive() = 0;
    // Only the active vertices are drawn, saved and iterated.
    virtual int32_t GetActiveVertexCount() = 0;
    virtual tElementsArray* GetIndices() = 0;
    virtual void SetActiveVertexCount(int32_t Count) = 0;
    // The index array is not owned.
    virtual void SetIndices(tElementsArray* Indices) = 0;
    virtual void AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) = 0;
    // The indices a draw reads: the index array's own draw count, or the
    // active vertex count, never past the end of the index array.
    int32_t DrawnIndexCount();
    // A copy of the active vertices from the render device's manager, sharing
    // this array's index array; the caller owns it.
    tVertexArray* Replicate() override = 0;
};

// One attribute array of a vertex array seen as plain floats.
struct TVertexAttribute {
    float* Values;
    int32_t Components;
};
inline constexpr int32_t MaxVertexAttributes = 4 + MaxTextureSets;

// The attribute arrays VA has by Info, in stream-image order: positions,
// normals, tangents, binormals, texture sets 0..Tex. Returns how many.
int32_t CollectAttributes(tVertexArray& VA, const TVAAllocationInfo& Info, TVertexAttribute* Out);

class tVertexArraySerializer : public tVertexArray {
    Z_DECLARE_CLASS(tVertexArraySerializer, tVertexArray)
public:
    TPrimitiveType Primitive() override { return FInfo.FPrimitive; }
    int32_t GetActiveVertexCount() override { return FInfo.FActiveVertexCount; }
    tElementsArray* GetIndices() override { return FIndices; }
    // Lowers (or restores) the active count within the allocated count.
    void SetActiveVertexCount(int32_t Count) override;
    void SetIndices(tElementsArray* Indices) override { FIndices = Indices; }
    // Records the allocation; the derived classes then allocate the storage.
    void AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) override;
    tVertexArray* Replicate() override;
    // The stream image: the object header, the allocation record with the
    // active count, then positions, normals, tangents, binormals and texture
    // sets as allocated, every value 32-bit little-endian.
    void LoadFromStream(tIStream& Stream) override;
    void SaveToStream(tStream& Stream) override;

    const TVAAllocationInfo& GetAllocationInfo() const { return FInfo; }
    int32_t GetAllocatedVertexCount() const { return FAllocatedVertexCount; }

protected:
    TVAAllocationInfo FInfo;
    int32_t FAllocatedVertexCount = 0;
    tElementsArray* FIndices = nullptr;
};

class tVertexArrayFeeder : public tVertexArraySerializer {
    Z_DECLARE_CLASS(tVertexArrayFeeder, tVertexArraySerializer)
public:
    // Points OpenGL at the arrays and draws the active vertices through the
    // index array (tangents travel as the primary colour, binormals as the
    // secondary colour). The frame enables the vertex array itself.
    void FeedIntoGPU() override;
    TVector3* GetVertices() override { return FVertices; }
    TVector3* GetNormals() override { return FNormals; }
    TVector3* GetBinormals() override { return FBinormals; }
    TVector3* GetTangents() override { return FTangents; }
    TVector2* GetTexCoords(int32_t Index) override;

protected:
    // Sets the pointers to Base plus the layout's offsets (plain offsets when
    // Base is nullptr, for a bound buffer object); absent arrays stay nullptr.
    void RegeneratePointers(uint8_t* Base);
    void ClearPointers();

    TVector3* FVertices = nullptr;
    TVector3* FNormals = nullptr;
    TVector3* FTangents = nullptr;
    TVector3* FBinormals = nullptr;
    TVector2* FTexCoords[MaxTextureSets] = {};
};
