// ASE meshes: the reader's blocks, lists and material references, then (for
// a mesh that has sub-meshes) the resize and a replica, as a mesh request
// does. Materials that name Shaders\plain.shader load a real surface shader;
// the geometry goes into arrays in ordinary memory, so no OpenGL is needed.

#include "fuzzsupport.h"
#include "kernel/renderer/mesh/aseloader.h"
#include "kernel/renderer/mesh/oglmeshresource.h"

namespace {

constexpr float RequestedSize = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    InitRenderServices();
    tMemoryStream File(std::string_view(reinterpret_cast<const char*>(Data), Size));
    tOwned<tOGLMeshResource> Mesh(NewObject<tOGLMeshResource>());
    Mesh->SetBindedFileName("FUZZ.ASE");
    RejectingFatals([&] {
        tOwned<tASELoader>(NewObject<tASELoader>())->Load(File, *Mesh);
        if (Mesh->GetLOD(1).IsEmpty()) return;
        Mesh->Resize(RequestedSize);
        tOwned<tMeshResource> Replica(Mesh->Replicate());
    });
    return 0;
}
