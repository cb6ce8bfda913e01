#include "kernel/renderer/va/vbovertexarray.h"

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vagl.h"

Z_IMPLEMENT_CLASS(tVBOVertexArray, .Operations = {{"AllocVertices"},
                                                   {"FeedIntoGPU"},
                                                   {"GetVertices"},
                                                   {"GetNormals"},
                                                   {"GetBinormals"},
                                                   {"GetTangents"},
                                                   {"GetTexCoords"}})
Z_IMPLEMENT_CLASS(tVBOElementsArray, .Operations = {{"FeedIntoGPU"},
                                                     {"AllocIndices"},
                                                     {"GetIndices"},
                                                     {"GetIndicesCount"}})

namespace {

// A new buffer of Bytes bytes bound to Target, without contents.
uint32_t CreateBuffer(GLenum Target, std::size_t Bytes, GLenum Usage) {
    GLuint ID = 0;
    glGenBuffersARB(1, &ID);
    glBindBufferARB(Target, ID);
    glBufferDataARB(Target, static_cast<GLsizeiptrARB>(Bytes), nullptr, Usage);
    return ID;
}

// Maps the buffer and unbinds it; nullptr when mapping failed.
void* MapBuffer(GLenum Target, uint32_t ID) {
    glBindBufferARB(Target, ID);
    void* Address = glMapBufferARB(Target, GL_READ_WRITE_ARB);
    glBindBufferARB(Target, 0);
    return Address;
}

}  // namespace

// ---- tVBOVertexArray -------------------------------------------------------

tVBOVertexArray::~tVBOVertexArray() { RemoveVertices(); }

void tVBOVertexArray::AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, uint32_t PrimType) {
    if (Tex == -1) Logger->Log("Allocating without textures: Tex=-1");
    RemoveVertices();
    tVertexArraySerializer::AllocVertices(Count, Tex, GenNormals, PrimType);
    FID = CreateBuffer(GL_ARRAY_BUFFER_ARB, VertexLayout(Count, Tex, GenNormals).Bytes, GL_STREAM_DRAW_ARB);
    Lock();
}

void tVBOVertexArray::Lock() {
    if (FLocked || FID == 0) return;
    void* Address = MapBuffer(GL_ARRAY_BUFFER_ARB, FID);
    if (!Address) Logger->Fatal("Unable to map GL VBO vertices buffer");
    RegeneratePointers(static_cast<uint8_t*>(Address));
    FLocked = true;
}

void tVBOVertexArray::Unlock() {
    if (FID == 0) return;
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, FID);
    if (!FLocked) return;
    if (!glUnmapBufferARB(GL_ARRAY_BUFFER_ARB)) Logger->Fatal("Unable to unmap GL VBO vertices buffer");
    FLocked = false;
    RegeneratePointers(nullptr);
}

void tVBOVertexArray::RemoveVertices() {
    if (FID == 0) return;
    Unlock();
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    GLuint ID = FID;
    glDeleteBuffersARB(1, &ID);
    FID = 0;
    ClearPointers();
}

void tVBOVertexArray::FeedIntoGPU() {
    Unlock();
    tVertexArrayFeeder::FeedIntoGPU();
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

TVector3* tVBOVertexArray::GetVertices() {
    Lock();
    return tVertexArrayFeeder::GetVertices();
}

TVector3* tVBOVertexArray::GetNormals() {
    Lock();
    return tVertexArrayFeeder::GetNormals();
}

TVector3* tVBOVertexArray::GetBinormals() {
    Lock();
    return tVertexArrayFeeder::GetBinormals();
}

TVector3* tVBOVertexArray::GetTangents() {
    Lock();
    return tVertexArrayFeeder::GetTangents();
}

TVector2* tVBOVertexArray::GetTexCoords(int32_t Index) {
    Lock();
    return tVertexArrayFeeder::GetTexCoords(Index);
}

// ---- tVBOElementsArray -----------------------------------------------------

tVBOElementsArray::~tVBOElementsArray() { RemoveIndices(); }

void tVBOElementsArray::AllocIndices(int32_t Count) {
    if (Count < 0) Logger->Fatal("Invalid index count: " + Int2Str(Count));
    RemoveIndices();
    FCount = Count;
    FID = CreateBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, sizeof(uint32_t) * static_cast<std::size_t>(Count),
                       GL_STATIC_DRAW_ARB);
    Lock();
}

uint32_t* tVBOElementsArray::GetIndices() {
    Lock();
    return FIndices;
}

void tVBOElementsArray::Lock() {
    if (FLocked || FID == 0) return;
    FIndices = static_cast<uint32_t*>(MapBuffer(GL_ELEMENT_ARRAY_BUFFER_ARB, FID));
    if (!FIndices) Logger->Fatal("Unable to map GL VBO elements buffer");
    FLocked = true;
}

void tVBOElementsArray::Unlock() {
    if (FID == 0) return;
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, FID);
    if (!FLocked) return;
    if (!glUnmapBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB)) Logger->Fatal("Unable to unmap GL VBO elements buffer");
    FLocked = false;
    FIndices = nullptr;
}

void tVBOElementsArray::RemoveIndices() {
    if (FID == 0) return;
    Unlock();
    glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER_ARB, 0);
    GLuint ID = FID;
    glDeleteBuffersARB(1, &ID);
    FID = 0;
    FCount = 0;
}
