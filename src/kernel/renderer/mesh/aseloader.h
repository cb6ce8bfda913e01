#pragma once
// The ASE mesh reader. ASE is the ASCII export of
// 3ds Max: nested "*KEY ... {" blocks, one entry per line. The reader takes
// the material list (each material's name is the file name of the shader
// it is drawn with) and every geometric object's mesh, which becomes one
// sub-mesh of the level being filled; everything else is skipped.

#include <cstdint>
#include <vector>

#include "kernel/core/shortstring.h"
#include "kernel/loaders/meshloader.h"

class tMeshResource;
class tSubMesh;
class tVertexArrayMender;

class tASELoader : public tMeshLoader {
    Z_DECLARE_CLASS(tASELoader, tMeshLoader)
public:
    static constexpr int32_t MaxMaterialCount = 100;
    // Groups nest objects; deeper nesting than this only comes from damaged files.
    static constexpr int32_t MaxGroupDepth = 16;

    using tMeshLoader::tMeshLoader;
    static ShortString FileExtension() { return ".ASE"; }
    // Fills Resource (a mesh) from the ASE text, into its first level.
    void Load(tIStream& Stream, tResource& Resource) override;

    // Whether Line is an entry of a vertex list, or of a face list, of the
    // given kind (texture vertices and texture faces, or the plain ones).
    static bool IsVertexDescription(const ShortString& Line, bool Texture);
    static bool IsFaceDescription(const ShortString& Line, bool Texture);

    int32_t MaterialsCount = 0;
    // Grows with the list as it is read: most files name a few materials.
    std::vector<ShortString> Material;
    tMeshResource* TheMesh = nullptr;

private:
    void LoadLOD();
    // Skips the block whose opening line was just read, when Complex.
    void SkipASEBlock(bool Complex);
    void ReadMaterialList();
    void ReadMaterial(int32_t I);
    void ReadGeomObject(int32_t Depth);
    tSubMesh* ReadMesh();
    void ReadVertexList(tVertexArrayMender& Mender, bool Texture);
    void ReadFaceList(tVertexArrayMender& Mender, bool Texture);
    void ReadNormals(tVertexArrayMender& Mender);
    // The next line of a block that must still be closed; fatal at the end
    // of the file.
    void ReadBlockLine(ShortString& Line);

    tIStream* Stream = nullptr;
};
