#include "kernel/null/nullrender.h"

#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/mesh/oglmeshresource.h"
#include "kernel/renderer/va/vamanager.h"

Z_IMPLEMENT_CLASS(tNullTextureResource, .Operations = {{"AttachImage"}, {"Bind"}})
Z_IMPLEMENT_CLASS(tNullShaderResource,
    .Operations = {{"SetState"}, {"UpdateState"}, {"RestoreMatrices"}, {"AttachTextureMatrix"}})
Z_IMPLEMENT_CLASS(tNullRenderDevice,
    .Operations = {{"CreateRenderingContext"}, {"DestroyRenderingContext"}, {"SetFOV"}, {"GetFOV"}, {"CreateMesh"},
                   {"CreateShader"}, {"CreateTexture"}, {"CreateFont"}, {"GetDefaultFontID"},
                   {"CreateLightSource"}, {"DeleteLightSource"}, {"DeleteFont"}, {"CreateShaderProgram"},
                   {"SetProjection"}, {"SetViewport"}, {"SetFogColor"}, {"GetFogColor"}, {"EndFrame"},
                   {"ForceFixedPipeline"}, {"CheckError"}, {"SetRenderState"}, {"AddBuffer"}, {"AddTextString"},
                   {"AddTextStringZ"}, {"AddTextStringZFont"}, {"BeginTransform"}, {"EndTransform"},
                   {"EnableClipPlane"}, {"DisableClipPlane"}, {"ProjectPoint"}, {"ProjectTexture"},
                   {"CullBoxAgainstFrustum"}, {"CullSphereAgainstFrustum"}, {"GetPrimaryRenderingContext"},
                   {"AllocateOcclusionQueryFC"}})

tNullRenderDevice::tNullRenderDevice() {
    VertexArrayManager = NewObject<tStdVertexArrayManager>();
    GeometryServer = NewObject<tRGeometryServer>();
}

tNullRenderDevice::~tNullRenderDevice() {
    if (GeometryServer) DisposeObject(GeometryServer);
    if (VertexArrayManager) DisposeObject(VertexArrayManager);
    GeometryServer = nullptr;
    VertexArrayManager = nullptr;
}

tMeshResource* tNullRenderDevice::CreateMesh() { return NewObject<tOGLMeshResource>(); }

tShaderProgram* tNullRenderDevice::CreateShaderProgram() { return new tNullShaderProgram(); }
