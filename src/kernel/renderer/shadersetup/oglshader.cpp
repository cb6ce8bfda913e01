#include "kernel/renderer/shadersetup/oglshader.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vagl.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/feedbackcontext.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tOGLShaderResource,
                  .Operations = {{"SetState"}, {"UpdateState"}, {"RestoreMatrices"}, {"AttachTextureMatrix"}})

namespace {

// The occlusion query a draw is counting into, 0 for none. One query can be
// open at a time, whichever shader opened it.
GLuint OpenQuery = 0;

void EndOpenQuery() {
    if (OpenQuery == 0) return;
    glEndQueryARB(GL_SAMPLES_PASSED_ARB);
    OpenQuery = 0;
}

void SwitchState(GLenum Capability, bool On) {
    if (On) glEnable(Capability);
    else glDisable(Capability);
}

tRenderDevice& Device() {
    Logger->Guard(Engine && Engine->Renderer, "Render device isn't assigned");
    return *Engine->Renderer;
}

float EngineTime() { return Engine ? Engine->GetEngineTime() : 0.0f; }

}  // namespace

void tOGLShaderResource::SetState() {
    if (!Loaded) return;
    ApplyDrawState(EngineTime(), nullptr);
}

void tOGLShaderResource::UpdateState(tShaderResource* Previous) {
    if (!Loaded) return;
    // Only a loaded OpenGL shader has left its state behind.
    const auto* Known = dynamic_cast<const tOGLShaderResource*>(Previous);
    ApplyDrawState(EngineTime(), Known && Known->Loaded ? Known : nullptr);
}

// With Previous nullptr the whole state; otherwise what differs from it and
// what changes from draw to draw.
void tOGLShaderResource::ApplyDrawState(float Time, const tOGLShaderResource* Previous) {
    EndOpenQuery();
    RotateVertices(Time);
    if (!Previous || Previous->Projection != Projection) Device().SetProjection(Projection);
    bool UnitsChanged = false;
    for (int32_t Unit = MaxShaderTextureUnits - 1; Unit >= 0; --Unit) {
        const TShaderTextureRec& Rec = Texture[Unit];
        const bool Iterating = Rec.Animation == TA_ITERATETEXTURES;
        const bool Animated = Rec.TextureMatrixAttached || Rec.Animation != TA_NONE;
        const bool Same = Previous && Previous->Texture[Unit].CurrentTexture() == Rec.CurrentTexture() &&
                          Previous->Texture[Unit].TexCombine == Rec.TexCombine;
        if (Same && !Animated) continue;
        glActiveTextureARB(GL_TEXTURE0_ARB + Unit);
        if (!Same || Iterating) BindUnitTexture(Unit);
        if (!Same) SetTextureEnvironment(Unit);
        AnimateTexture(Unit, Time);
        UnitsChanged = true;
    }
    if (UnitsChanged) glActiveTextureARB(GL_TEXTURE0_ARB);
    ApplyFixedState(Previous);
    BeginOcclusionQuery();
    if (ShaderProgram) ShaderProgram->UseProgram();
    else if (!Previous || Previous->ShaderProgram) Device().ForceFixedPipeline();
}

// The rotation is undone by RestoreMatrices, or by the next state applied
// when no draw came between.
void tOGLShaderResource::RotateVertices(float Time) {
    if (ModelViewRotated) {
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(SavedModelView.data());
        ModelViewRotated = false;
    }
    if (Animation != VA_ROTATE) return;
    glMatrixMode(GL_MODELVIEW);
    glGetFloatv(GL_MODELVIEW_MATRIX, SavedModelView.data());
    ModelViewRotated = true;
    const auto Angle = static_cast<TWordAngle>(static_cast<int64_t>(std::fmod(double(Time) * AnimationParams.DeltaA,
                                                                              double(WordAnglesPerTurn))));
    TMatrix4 Rotation = IdentityMatrix4;
    MRotateMatrixAxisF(Rotation, Angle, AnimationParams.XAxis, AnimationParams.YAxis, AnimationParams.ZAxis);
    glMultMatrixf(Rotation.data());
}

void tOGLShaderResource::BindUnitTexture(int32_t Unit) {
    if (tTextureResource* T = Texture[Unit].CurrentTexture()) {
        T->Bind(GL_TEXTURE0_ARB + Unit);
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_3D);
    glDisable(GL_TEXTURE_CUBE_MAP_ARB);
}

void tOGLShaderResource::SetTextureEnvironment(int32_t Unit) {
    const uint32_t Combine = Texture[Unit].TexCombine;
    if (Combine == 0) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        return;
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, static_cast<GLint>(Combine));
}

// On the active unit, with t the engine time in seconds.
void tOGLShaderResource::AnimateTexture(int32_t Unit, float Time) {
    TShaderTextureRec& Rec = Texture[Unit];
    TTextureAnimationParams& P = Rec.AnimationParams;
    if (Rec.TextureMatrixAttached || Rec.Animation == TA_DISPLACEUV || Rec.Animation == TA_ROTATEUV) {
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        if (Rec.TextureMatrixAttached) {
            glMultMatrixf(Rec.TextureMatrix.data());
        } else if (Rec.Animation == TA_DISPLACEUV) {
            glTranslatef(Time * P.DeltaU, Time * P.DeltaV, 0);
        } else {
            const double Degrees = std::fmod(std::round(double(Time) * P.Angle), double(WordAnglesPerTurn));
            glTranslatef(0.5f, 0.5f, 0);
            glRotatef(static_cast<float>(Degrees), 0, 0, 1);
            glTranslatef(-0.5f, -0.5f, 0);
        }
        glMatrixMode(GL_MODELVIEW);
        TextureMatrixChanged[Unit] = true;
        return;
    }
    if (Rec.Animation != TA_ITERATETEXTURES) return;
    // Without a positive rate the sequence stands still.
    if ((Time - P.LastTimeStamp) * P.FPS <= 1.0f) return;
    if (++Rec.CurrentIDIndex > MaxTextureFrames || !Rec.CurrentTexture()) Rec.CurrentIDIndex = 1;
    P.LastTimeStamp = Time;
}

void tOGLShaderResource::ApplyFixedState(const tOGLShaderResource* Previous) {
    const TBlending* B = Previous ? &Previous->Blending : nullptr;
    if (!B || B->Blended != Blending.Blended) SwitchState(GL_BLEND, Blending.Blended);
    if (Blending.Blended && (!B || B->BlendSrc != Blending.BlendSrc || B->BlendDst != Blending.BlendDst))
        glBlendFunc(Blending.BlendSrc, Blending.BlendDst);
    if (!Previous || Previous->DepthTest != DepthTest) SwitchState(GL_DEPTH_TEST, DepthTest);
    if (!Previous || Previous->DepthWrites != DepthWrites) glDepthMask(DepthWrites ? GL_TRUE : GL_FALSE);
    if (!Previous || Previous->ColorWrites != ColorWrites) {
        const GLboolean Color = ColorWrites ? GL_TRUE : GL_FALSE;
        glColorMask(Color, Color, Color, Color);
    }
    const TPointSprite* P = Previous ? &Previous->PointSprite : nullptr;
    if (P && P->Enabled == PointSprite.Enabled && P->PointSize == PointSprite.PointSize) return;
    SwitchState(GL_POINT_SPRITE_ARB, PointSprite.Enabled);
    if (PointSprite.Enabled) {
        glTexEnvi(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, GL_TRUE);
        glPointSize(static_cast<float>(PointSprite.PointSize));
    } else {
        glPointSize(1.0f);
    }
}

// Counts the samples of this draw into the shader's feedback context.
void tOGLShaderResource::BeginOcclusionQuery() {
    if (!OcclusionTest || !FeedbackContext) return;
    OpenQuery = FeedbackContext->GetID();
    glBeginQueryARB(GL_SAMPLES_PASSED_ARB, OpenQuery);
}

void tOGLShaderResource::RestoreMatrices() {
    EndOpenQuery();
    if (ModelViewRotated) {
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(SavedModelView.data());
        ModelViewRotated = false;
    }
    bool AnyChanged = false;
    for (int32_t Unit = 0; Unit < MaxShaderTextureUnits; ++Unit) {
        if (!TextureMatrixChanged[Unit]) continue;
        glActiveTextureARB(GL_TEXTURE0_ARB + Unit);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        TextureMatrixChanged[Unit] = false;
        AnyChanged = true;
    }
    if (!AnyChanged) return;
    glMatrixMode(GL_MODELVIEW);
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

void tOGLShaderResource::AttachTextureMatrix(int32_t Unit, const TMatrix4& Matrix) {
    Logger->Guard(Unit >= 0 && Unit < MaxShaderTextureUnits, "Invalid texture unit: " + Int2Str(Unit));
    Texture[Unit].TextureMatrixAttached = true;
    Texture[Unit].TextureMatrix = Matrix;
}
