#include "libraries/classes/renderdevice.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

Z_IMPLEMENT_CLASS(tRenderable, .Operations = {{"Render", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tLightSource)
Z_IMPLEMENT_CLASS(tRenderDevice,
    .Operations = {{"CreateRenderingContext", ZOP_ABSTRACT}, {"DestroyRenderingContext", ZOP_ABSTRACT},
                   {"SetFOV", ZOP_ABSTRACT}, {"GetFOV", ZOP_ABSTRACT}, {"CreateMesh"}, {"CreateShader", ZOP_ABSTRACT},
                   {"CreateTexture", ZOP_ABSTRACT}, {"CreateFont", ZOP_ABSTRACT},
                   {"GetDefaultFontID", ZOP_ABSTRACT}, {"CreateLightSource", ZOP_ABSTRACT},
                   {"DeleteLightSource", ZOP_ABSTRACT}, {"DeleteFont", ZOP_ABSTRACT},
                   {"CreateShaderProgram", ZOP_ABSTRACT}, {"SetProjection", ZOP_ABSTRACT},
                   {"SetViewport", ZOP_ABSTRACT}, {"SetFogColor", ZOP_ABSTRACT}, {"GetFogColor", ZOP_ABSTRACT},
                   {"BeginFrame"}, {"EndFrame", ZOP_ABSTRACT}, {"ForceFixedPipeline", ZOP_ABSTRACT},
                   {"CheckError", ZOP_ABSTRACT}, {"SetRenderState", ZOP_ABSTRACT}, {"AddBuffer", ZOP_ABSTRACT},
                   {"AddTextString", ZOP_ABSTRACT}, {"AddTextStringZ", ZOP_ABSTRACT},
                   {"AddTextStringZFont", ZOP_ABSTRACT}, {"BeginTransform", ZOP_ABSTRACT},
                   {"EndTransform", ZOP_ABSTRACT}, {"EnableClipPlane", ZOP_ABSTRACT},
                   {"DisableClipPlane", ZOP_ABSTRACT}, {"ProjectPoint", ZOP_ABSTRACT},
                   {"ProjectTexture", ZOP_ABSTRACT}, {"CullBoxAgainstFrustum", ZOP_ABSTRACT},
                   {"CullSphereAgainstFrustum", ZOP_ABSTRACT}, {"GetPrimaryRenderingContext", ZOP_ABSTRACT},
                   {"AllocateOcclusionQueryFC", ZOP_ABSTRACT}, {"BeginSubView"}, {"EndSubView"}})

tRenderDevice::tRenderDevice() {
    ProcTrace trace("tRenderDevice.Init()");
}

tRenderDevice::~tRenderDevice() {
    ProcTrace trace("tRenderDevice.Done()");
}

tMeshResource* tRenderDevice::CreateMesh() {
    Logger->Fatal("Unable to create mesh: " + ClassName() + " has no mesh resources");
    return nullptr;  // Fatal does not return; virtual calls do not carry [[noreturn]]
}

void tRenderDevice::BeginFrame(TRenderTarget) {
    R_Vertices = 0;
    R_Triangles = 0;
    ++R_Frames;
}

void tRenderDevice::BeginSubView(int32_t, int32_t, int32_t, int32_t, float, const TMatrix4&) {}

void tRenderDevice::EndSubView() {}
