#pragma once
// A sub-mesh is one vertex array drawn with one shader at one offset; a mesh
// resource holds lists of them, one list per level of detail. The terrain
// draws its leaves through sub-meshes as well.

#include <cstdint>

#include "kernel/objects/lists.h"
#include "libraries/classes/renderdevice.h"

class tShaderResource;
class tVertexArray;

class tSubMesh : public tRenderable {
    Z_DECLARE_CLASS(tSubMesh, tRenderable)
public:
    ~tSubMesh() override;

    // Draws the geometry with the shader, moved by the translation.
    void Render() override;
    // A sub-mesh with its own copy of the geometry and the same shader and
    // translation; the caller owns it.
    tSubMesh* Replicate() override;
    // The header, the shader's file name, the translation and its matrix, then
    // the geometry's own image.
    void LoadFromStream(tIStream& Stream) override;
    void SaveToStream(tStream& Stream) override;

    void SetTranslationVec(const TVector3& V);
    // Takes VA over; the previous geometry is disposed.
    void SetGeometryPool(tVertexArray* VA);

    tVertexArray* LocalGeometryPool = nullptr;  // owned
    tShaderResource* LocalShader = nullptr;     // shared through the resources manager
    TVector3 Translation = {0, 0, 0};
    TMatrix4 TranslationMat = IdentityMatrix4;
};

class tSubMeshesList : public tList {
public:
    tSubMeshesList() : tList("tSubMesh") {}
    tSubMesh* GetSubMesh(int32_t I) const { return static_cast<tSubMesh*>(GetObject(I)); }
};
