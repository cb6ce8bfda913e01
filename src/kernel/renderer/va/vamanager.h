#pragma once
// The vertex-array manager hands out the arrays of one kind (ordinary memory
// or buffer objects, as the render device chose) and owns the common index
// list, the identity 0..1048575 through which every array is drawn.
//
// The render device owns the one manager. While a manager lives it is the
// current one (the most recently created): vertex arrays restored from
// streams, replicas and mended meshes take their arrays from it.

#include "kernel/renderer/va/vertexarray.h"

class tVertexArrayManager : public tZObject {
    Z_DECLARE_CLASS(tVertexArrayManager, tZObject)
public:
    // No array draws more vertices than the common index list holds.
    static constexpr int32_t CommonIndexCount = 1048576;

    tVertexArrayManager();
    ~tVertexArrayManager() override;

    virtual tElementsArray* GetCommonIndices() { return CommonIndices; }
    virtual tElementsArray* AllocateEmptyEA() = 0;
    virtual tVertexArray* AllocateEmptyVA() = 0;
    // An allocated array drawn through the common indices; the caller owns it.
    virtual tVertexArray* AllocateVA(int32_t Vertices, int32_t Tex, TGenNormals GenNormals, TPrimitiveType PrimType);
    // Builds CommonIndices; the concrete managers call it once constructed.
    void GenerateCommonIndices();

    // The current manager; fatal when none exists.
    static tVertexArrayManager* Current();

protected:
    tElementsArray* CommonIndices = nullptr;
};

class tStdVertexArrayManager : public tVertexArrayManager {
    Z_DECLARE_CLASS(tStdVertexArrayManager, tVertexArrayManager)
public:
    tStdVertexArrayManager();
    tElementsArray* AllocateEmptyEA() override;
    tVertexArray* AllocateEmptyVA() override;
};

// Needs a current OpenGL context with buffer objects.
class tVBOVertexArrayManager : public tVertexArrayManager {
    Z_DECLARE_CLASS(tVBOVertexArrayManager, tVertexArrayManager)
public:
    tVBOVertexArrayManager();
    tElementsArray* AllocateEmptyEA() override;
    tVertexArray* AllocateEmptyVA() override;
};
