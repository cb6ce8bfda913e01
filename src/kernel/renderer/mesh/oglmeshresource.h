#pragma once
// The mesh resource of the OpenGL render device: up to four levels of detail,
// each a list of sub-meshes. Loaded from an ASE file (or from its cache file,
// written right after the ASE load) and then shared by the resources manager,
// which resizes it and hands out replicas. Only the first level is drawn or
// resized.

#include <cstdint>

#include "kernel/renderer/mesh/submesh.h"
#include "kernel/resources/resourcekinds.h"

class tOGLMeshResource : public tMeshResource {
    Z_DECLARE_CLASS(tOGLMeshResource, tMeshResource)
public:
    static constexpr int32_t LODCount = 4;

    ~tOGLMeshResource() override;

    tMeshResource* Replicate() override;
    float ResizedDimension() override { return LastResizedDimension; }
    void RenderSubMeshes() override;
    // Fatal for nullptr.
    void AddSubMesh(tSubMesh* S) override;
    void Resize(float Size) override;
    // "CURRENTLOD" selects the level AddSubMesh fills (1..4).
    void AcceptParameter(const ShortString& Name, const ShortString& Value) override;
    // Writes the cache file; a cache that cannot be written is only a warning.
    void CacheTo() override;
    // Reads the cache file; a damaged one is rebuilt from the source.
    void CacheFrom() override;
    // The cache image: the header, the resized width, then per level the
    // sub-mesh count and the sub-meshes. Reading a damaged image is fatal
    // (in the object and vertex-array readers).
    void LoadFromStream(tIStream& Stream) override;
    void SaveToStream(tStream& Stream) override;

    // Moves every sub-mesh of the first level by V.
    void Translate(const TVector3& V);
    // The sub-meshes of level 1..4.
    const tSubMeshesList& GetLOD(int32_t Level) const { return FLODs[Level - 1]; }

    int32_t FLOD = 1;
    float LastResizedDimension = 0;

private:
    // Whether the whole stream is an image LoadFromStream will read: every
    // header, count and shader name checked against the bytes that remain
    // and the vertex arrays of the kind in use.
    static bool ImageIsSound(tIStream& Stream);

    tSubMeshesList FLODs[LODCount];
};
