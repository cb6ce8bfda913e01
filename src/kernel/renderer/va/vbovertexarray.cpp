#include "kernel/renderer/va/vbovertexarray.h"

#include "kernel/core/logger.h"
#include "kernel/renderer/globjects.h"
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

// ---- tGLBuffer -------------------------------------------------------------

tGLBuffer::tGLBuffer(uint32_t BufferTarget, const char* MapMessage, const char* UnmapMessage)
    : Target(BufferTarget), MapError(MapMessage), UnmapError(UnmapMessage) {}

void tGLBuffer::Create(std::size_t Bytes, uint32_t Usage) {
    Delete();
    GLuint Name = 0;
    glGenBuffersARB(1, &Name);
    tGLObjects::Made();
    ID = Name;
    glBindBufferARB(Target, ID);
    glBufferDataARB(Target, static_cast<GLsizeiptrARB>(Bytes), nullptr, Usage);
    Map();
}

void* tGLBuffer::Map() {
    if (Locked || ID == 0) return Address;
    glBindBufferARB(Target, ID);
    Address = glMapBufferARB(Target, GL_READ_WRITE_ARB);
    glBindBufferARB(Target, 0);
    if (!Address) Logger->Fatal(MapError);
    Locked = true;
    return Address;
}

bool tGLBuffer::Unmap() {
    if (ID == 0) return false;
    glBindBufferARB(Target, ID);
    if (!Locked) return false;
    if (!glUnmapBufferARB(Target)) Logger->Fatal(UnmapError);
    Locked = false;
    Address = nullptr;
    return true;
}

// Deleting a buffer unmaps it; unmapping first would fail once the window,
// and with it the current context, is gone at shutdown.
void tGLBuffer::Delete() {
    if (ID == 0) return;
    Locked = false;
    Address = nullptr;
    glBindBufferARB(Target, 0);
    GLuint Name = ID;
    glDeleteBuffersARB(1, &Name);
    tGLObjects::Deleted();
    ID = 0;
}

// ---- tVBOVertexArray -------------------------------------------------------

tVBOVertexArray::tVBOVertexArray()
    : Buffer(GL_ARRAY_BUFFER_ARB, "Unable to map GL VBO vertices buffer", "Unable to unmap GL VBO vertices buffer") {}

void tVBOVertexArray::AllocVertices(int32_t Count, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType) {
    if (Tex == -1) Logger->Log("Allocating without textures: Tex=-1");
    RemoveVertices();
    tVertexArraySerializer::AllocVertices(Count, Tex, GenNormals, PrimType);
    Buffer.Create(VertexLayout(Count, Tex, GenNormals).Bytes, GL_STREAM_DRAW_ARB);
    RegeneratePointers(static_cast<uint8_t*>(Buffer.Map()));
}

void tVBOVertexArray::Lock() {
    if (Buffer.IsMapped()) return;
    if (void* Address = Buffer.Map()) RegeneratePointers(static_cast<uint8_t*>(Address));
}

void tVBOVertexArray::Unlock() {
    if (Buffer.Unmap()) RegeneratePointers(nullptr);
}

void tVBOVertexArray::RemoveVertices() {
    Buffer.Delete();
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

tVBOElementsArray::tVBOElementsArray()
    : Buffer(GL_ELEMENT_ARRAY_BUFFER_ARB, "Unable to map GL VBO elements buffer",
             "Unable to unmap GL VBO elements buffer") {}

void tVBOElementsArray::AllocIndices(int32_t Count) {
    if (Count < 0) Logger->Fatal("Invalid index count: " + Int2Str(Count));
    FCount = Count;
    Buffer.Create(sizeof(uint32_t) * static_cast<std::size_t>(Count), GL_STATIC_DRAW_ARB);
}

void tVBOElementsArray::RemoveIndices() {
    Buffer.Delete();
    FCount = 0;
}
