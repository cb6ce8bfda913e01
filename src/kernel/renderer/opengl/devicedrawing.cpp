// The render device's drawing path: shaders and vertex arrays, statistics,
// projections back to the screen, the frustum tests and the factories of the
// objects drawing needs.

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/opengl/frame.h"
#include "kernel/renderer/mesh/oglmeshresource.h"
#include "kernel/renderer/opengl/hlslprogram.h"
#include "kernel/renderer/opengl/occlusionquery.h"
#include "kernel/renderer/opengl/oglrenderdevice.h"
#include "kernel/renderer/renderingcontext.h"
#include "kernel/renderer/shadersetup/oglshader.h"
#include "kernel/renderer/textures/textures.h"
#include "kernel/renderer/va/vagl.h"
#include "kernel/renderer/va/vertexarray.h"
#include "libraries/classes/viewport.h"

tMeshResource* tOGLRenderDevice::CreateMesh() { return NewObject<tOGLMeshResource>(); }

tShaderResource* tOGLRenderDevice::CreateShader() { return NewObject<tOGLShaderResource>(); }

tTextureResource* tOGLRenderDevice::CreateTexture(TTextureType TextureType) {
    Logger->Guard(TextureType >= Z_TEXTURE_2D && TextureType <= Z_TEXTURE_CUBE_MAP, "Unknown texture type");
    if (TextureType == Z_TEXTURE_2D) return NewObject<t2DTexture>();
    if (TextureType == Z_TEXTURE_3D) return NewObject<t3DTexture>();
    return NewObject<tCubeTexture>();
}

tShaderProgram* tOGLRenderDevice::CreateShaderProgram() { return new tHLSLProgram(); }

tQueryFeedbackContext* tOGLRenderDevice::AllocateOcclusionQueryFC() { return NewObject<tOCFeedbackContext>(); }

intptr_t tOGLRenderDevice::GetPrimaryRenderingContext() { return DefaultRenderingTarget->GetRenderingContext(); }

void tOGLRenderDevice::ForceFixedPipeline() { glUseProgramObjectARB(0); }

void tOGLRenderDevice::SetRenderState(tShaderResource* Shader) { DefaultFrame->UpdateState(Shader); }

void tOGLRenderDevice::AddBuffer(tVertexArray* VertexArray, tShaderResource* Shader) {
    SetRenderState(Shader);
    VertexArray->FeedIntoGPU();
    Shader->RestoreMatrices();
    UpdateStatistics(VertexArray->Primitive(), VertexArray->DrawnIndexCount());
}

void tOGLRenderDevice::UpdateStatistics(uint32_t Primitive, int32_t Count) {
    R_Vertices += Count;
    switch (Primitive) {
        case GL_POINTS: R_Triangles += Count; break;
        case GL_LINES: R_Triangles += Count / 3; break;
        case GL_LINE_STRIP: R_Triangles += Count / 2; break;
        case GL_TRIANGLES: R_Triangles += Count / 3; break;
        case GL_TRIANGLE_STRIP: R_Triangles += Count; break;
        case GL_QUADS: R_Triangles += Count / 2; break;
        default: break;
    }
}

TVector3 tOGLRenderDevice::ProjectPoint(const TVector3& Point) {
    TMatrix4 ModelView, Projection;
    glGetFloatv(GL_MODELVIEW_MATRIX, ModelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, Projection.data());
    TVector4 V = Projection * (ModelView * Vector4(Point.x, Point.y, Point.z, 1.0f));
    V = V / V.w;
    // Window pixels grow downwards, as for the text and the 2D projection.
    V.y = -V.y;
    return {(V.x + 1) * static_cast<float>(Viewport->GetViewportWidth()) / 2,
            (V.y + 1) * static_cast<float>(Viewport->GetViewportHeight()) / 2, V.z};
}

TMatrix4 tOGLRenderDevice::ProjectTexture() {
    TMatrix4 ModelView, Projection;
    glGetFloatv(GL_MODELVIEW_MATRIX, ModelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, Projection.data());
    TMatrix4 Scale = IdentityMatrix4;
    MScaleMatrixF(Scale, 0.5f, 0.5f, 1.0f);
    TMatrix4 Translation = IdentityMatrix4;
    MTranslateMatrixF(Translation, 0.5f, 0.5f, 0.0f);
    return ModelView * Projection * Scale * Translation;
}

TCullFrustum tOGLRenderDevice::CullBoxAgainstFrustum(const TBoundingBox& Box) {
    Frustum.ExtractFrustum();
    return Frustum.CullBoxAgainstFrustum(Box);
}

TCullFrustum tOGLRenderDevice::CullSphereAgainstFrustum(const TBoundingSphere& Sphere) {
    Frustum.ExtractFrustum();
    return Frustum.CullSphereAgainstFrustum(Sphere);
}
