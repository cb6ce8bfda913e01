#pragma once
// Vertex and index arrays in ordinary memory, for OpenGL without buffer objects.

#include <memory>

#include "kernel/renderer/va/vertexarray.h"

class tStdVertexArray : public tVertexArrayFeeder {
    Z_DECLARE_CLASS(tStdVertexArray, tVertexArrayFeeder)
public:
    void AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) override;

private:
    std::unique_ptr<uint8_t[]> Block;  // every attribute array, see VertexLayout
};

class tStdElementsArray : public tElementsArray {
    Z_DECLARE_CLASS(tStdElementsArray, tElementsArray)
public:
    void FeedIntoGPU() override {}
    void AllocIndices(int32_t Count) override;
    uint32_t* GetIndices() override { return FIndices.get(); }
    int32_t GetIndicesCount() override { return FCount; }

private:
    int32_t FCount = 0;
    std::unique_ptr<uint32_t[]> FIndices;
};
