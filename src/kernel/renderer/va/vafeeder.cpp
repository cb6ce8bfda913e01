// Drawing a vertex array: the OpenGL side of tVertexArrayFeeder.

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"
#include "kernel/renderer/va/vagl.h"
#include "kernel/renderer/va/vertexarray.h"

// Arrays hand their primitive type to glDrawElements as it is.
static_assert(PRIM_TRIANGLES == GL_TRIANGLES && PRIM_TRIANGLE_STRIP == GL_TRIANGLE_STRIP && PRIM_QUADS == GL_QUADS &&
              PRIM_POLYGON == GL_POLYGON);

namespace {

void SetClientArray(GLenum Array, bool Present) {
    if (Present)
        glEnableClientState(Array);
    else
        glDisableClientState(Array);
}

}  // namespace

void tVertexArrayFeeder::FeedIntoGPU() {
    if (!FIndices) Logger->Fatal("Vertex array has no index array");
    // Presence follows the allocation: with a buffer object bound the
    // pointers are offsets, and offset 0 is a valid one.
    const bool Normals = FInfo.FGenNormals != GN_FALSE;
    const bool TangentBasis = FInfo.FGenNormals == GN_TANGENT_BASIS;

    glVertexPointer(3, GL_FLOAT, 0, FVertices);
    if (Normals) glNormalPointer(GL_FLOAT, 0, FNormals);
    SetClientArray(GL_NORMAL_ARRAY, Normals);
    // Vertex programs read the tangent basis from the two colour attributes.
    if (TangentBasis) glColorPointer(3, GL_FLOAT, 0, FTangents);
    SetClientArray(GL_COLOR_ARRAY, TangentBasis);
    if (TangentBasis) glSecondaryColorPointerEXT(3, GL_FLOAT, 0, FBinormals);
    SetClientArray(GL_SECONDARY_COLOR_ARRAY_EXT, TangentBasis);
    for (int32_t Unit = MaxTextureSets - 1; Unit >= 0; --Unit) {
        glActiveTextureARB(GL_TEXTURE0_ARB + Unit);
        glClientActiveTextureARB(GL_TEXTURE0_ARB + Unit);
        const bool Present = Unit <= FInfo.FTex;
        if (Present) glTexCoordPointer(2, GL_FLOAT, 0, FTexCoords[Unit]);
        SetClientArray(GL_TEXTURE_COORD_ARRAY, Present);
    }

    FIndices->FeedIntoGPU();
    glDrawElements(FInfo.FPrimitive, DrawnIndexCount(), GL_UNSIGNED_INT, FIndices->IndexData());
}
