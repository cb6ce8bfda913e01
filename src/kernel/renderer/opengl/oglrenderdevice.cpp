#include "kernel/renderer/opengl/oglrenderdevice.h"

#include <algorithm>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/opengl/frame.h"
#include "kernel/renderer/opengl/glerror.h"
#include "kernel/renderer/opengl/glextensions.h"
#include "kernel/renderer/opengl/occlusionquery.h"
#include "kernel/renderer/opengl/screencapture.h"
#include "kernel/renderer/renderingcontext.h"
#include "kernel/renderer/va/vagl.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/font.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tOGLRenderDevice,
    .Operations = {{"CreateRenderingContext"}, {"DestroyRenderingContext"}, {"SetFOV"}, {"GetFOV"}, {"CreateFont"},
                   {"GetDefaultFontID"}, {"CreateLightSource"}, {"DeleteLightSource"}, {"DeleteFont"},
                   {"SetProjection"}, {"SetViewport"}, {"SetFogColor"}, {"GetFogColor"}, {"EndFrame"},
                   {"CheckError"}, {"AddTextString"}, {"AddTextStringZ"}, {"AddTextStringZFont"},
                   {"BeginTransform"}, {"EndTransform"}, {"EnableClipPlane"}, {"DisableClipPlane"},
                   {"CreateMesh"}, {"CreateShader"}, {"CreateTexture"}, {"CreateShaderProgram"}, {"ForceFixedPipeline"},
                   {"SetRenderState"}, {"AddBuffer"}, {"ProjectPoint"}, {"ProjectTexture"},
                   {"CullBoxAgainstFrustum"}, {"CullSphereAgainstFrustum"}, {"GetPrimaryRenderingContext"},
                   {"AllocateOcclusionQueryFC"}, {"BeginSubView"}, {"EndSubView"}})

namespace {

constexpr TVector4 White = {1, 1, 1, 1};
constexpr TVector4 Black = {0, 0, 0, 1};
constexpr int32_t MaxMaskValue = 255;
constexpr float WarmUpTextWidth = 192;
constexpr float WarmUpTextHeight = 32;
constexpr int32_t DefaultCharWidth = 8, DefaultCharHeight = 16;

}  // namespace

tOGLRenderDevice::tOGLRenderDevice() {
    WireFrame = false;
    ShowStats = true;
    ActiveLights = 0;
    EngineVars->RegisterVar("WireFrame", WireFrame, BoundFields);
    EngineVars->RegisterVar("ShowStats", ShowStats, BoundFields);
}

// The arrays' buffer objects go while their context is still current.
tOGLRenderDevice::~tOGLRenderDevice() {
    if (VertexArrayManager) DisposeObject(VertexArrayManager);
    DestroyRenderingContext();
    if (RetiredTarget) DisposeObject(RetiredTarget);
}

bool tOGLRenderDevice::CreateRenderingContext(tZObject* NewViewport) {
    ProcTrace trace("tOGLRenderDevice.CreateRenderingContext()");
    DestroyRenderingContext();
    Logger->Guard(NewViewport, "Viewport isn't assigned");
    Logger->Guard(NewViewport->DynamicCast("tViewport"), "_Viewoprt isn't a tViewport object");
    Viewport = static_cast<tViewport*>(NewViewport);
    Logger->Guard(EngineINI, "EngineINI isn't assigned");

    ORL = InstantiateClassAs<tOSRenderingLayer>(EngineINI->GetValue("Renderer", "OSRenderingLayer"));
    DefaultRenderingTarget = InstantiateClassAs<tRenderingTarget>(EngineINI->GetValue("Renderer", "PrimaryRenderingTarget"));
    // A rebuilt context (a resized window, a full-screen switch) keeps every
    // texture, GPU program, buffer object and display list made before.
    const bool Rebuilt = RetiredTarget != nullptr;
    if (Rebuilt) DefaultRenderingTarget->ShareObjectsWith = RetiredTarget->GetRenderingContext();
    DefaultRenderingTarget->AttachToViewport(Viewport);
    // Without sharing, the arrays' common index buffer went with the old context.
    if (Rebuilt && DefaultRenderingTarget->ShareObjectsWith == 0 && VertexArrayManager)
        DisposeObject(VertexArrayManager);
    if (Rebuilt) DisposeObject(RetiredTarget);
    DefaultRenderingTarget->MakeCurrent();
    OpenGLExt = NewObject<tOpenGLExtensions>(Viewport->GetWindow());

    SetUpViewportParams();
    Logger->Log("Setting up default FOV...");
    SetFOV(DefaultFOV);
    ContextExist = true;

    Logger->Log("Setting up primary rendering target...");
    DefaultFrame = NewObject<tFrame>();
    if (!VertexArrayManager) SetUpVertexArrayManager();
    SetUpGeometryServer();
    // Occlusion queries are the one kind of object contexts do not share.
    if (Rebuilt) Linker->CallMethodForAllObjects(tOCFeedbackContext::ContextRebuiltMethod);

    Logger->Log("Allocating default font...");
    CreateDefaultFont();
    DefaultRenderingTarget->MakeCurrent();
    ScreenShot = NewObject<tOGLScreenCaptureDevice>();
    Logger->Log("Almost done...");
    Logger->Guard(Resources, "Resources isn't assigned");
    EmptyShader = Resources->LoadShader(EmptyShaderName);
    ShowWarmUpFrame();
    if (Rebuilt) SetFogColor(RetiredFogColor);
    return true;
}

void tOGLRenderDevice::SetUpVertexArrayManager() {
    Logger->Log("Setting up vertex arrays manager...");
    if (OpenGLExt->VBOSupported()) {
        Logger->Log("Using VBO-optimized VA manager");
        VertexArrayManager = NewObject<tVBOVertexArrayManager>();
    } else {
        Logger->Log("Using default VA manager");
        VertexArrayManager = NewObject<tStdVertexArrayManager>();
    }
}

void tOGLRenderDevice::SetUpGeometryServer() {
    Logger->Log("Setting up geometry server...");
    GeometryServer = InstantiateClassAs<tGeometryServer>(EngineINI->GetValue("Renderer", "GeometryServer"));
}

void tOGLRenderDevice::SetUpViewportParams() {
    Logger->Log("Setting up viewport params...");
    GLint Dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, Dims);
    MaxViewportSide = std::min(Dims[0], Dims[1]);
    SetViewport(0, 0, Viewport->GetViewportWidth(), Viewport->GetViewportHeight());
    glEnable(GL_NORMALIZE);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    Logger->Guard(Viewport->GetViewportHeight() > 0,
                  "Division by zero: ViewportHeight=" + Int2Str(Viewport->GetViewportHeight()));
}

// The message stays on screen while the rest of start-up loads resources.
void tOGLRenderDevice::ShowWarmUpFrame() {
    SetFogColor(Black);
    BeginFrame(ZRT_BACKBUFFER);
    float X = static_cast<float>(static_cast<int32_t>(Viewport->GetViewportWidth() - WarmUpTextWidth) / 2);
    float Y = static_cast<float>(Viewport->GetViewportHeight() / 2 - static_cast<int32_t>(WarmUpTextHeight / 2));
    AddTextString(X, Y, "Warming up the caches...", &White);
    const bool Stats = ShowStats;
    ShowStats = false;
    EndFrame();
    ShowStats = Stats;
}

void tOGLRenderDevice::DestroyRenderingContext() {
    if (!ContextExist) return;
    RetiredFogColor = DefaultFrame->PendingFogColor;
    tZObject::DisposeObject(OpenGLExt);
    tZObject::DisposeObject(ORL);
    tZObject::DisposeObject(DefaultFont);
    tZObject::DisposeObject(DefaultFrame);
    tZObject::DisposeObject(GeometryServer);
    tZObject::DisposeObject(ScreenShot);
    if (RetiredTarget) tZObject::DisposeObject(RetiredTarget);
    RetiredTarget = DefaultRenderingTarget;
    DefaultRenderingTarget = nullptr;
    ContextExist = false;
}

void tOGLRenderDevice::SetViewport(int32_t X, int32_t Y, int32_t Width, int32_t Height) {
    glViewport(X, Y, Width, Height);
}

void tOGLRenderDevice::SetFOV(float FOV) {
    CurrentFOV = FOV;
    SetUpProjections(FOV, 0, 0, static_cast<float>(Viewport->GetViewportWidth()),
                     static_cast<float>(Viewport->GetViewportHeight()));
}

// The orthographic projection keeps window pixels where they are, so GUI
// drawing lines up inside a sub-view as outside it.
void tOGLRenderDevice::SetUpProjections(float FOV, float X, float Y, float Width, float Height) {
    CurrentPerspective = PerspectiveMatrix(FOV, Width / Height, NearPlane, FarPlane);
    CurrentOrtho = OrthoMatrix2D(X, X + Width, Y + Height, Y);
}

void tOGLRenderDevice::SetProjection(TProjection Projection) {
    if (Projection == ZPR_ORTHOGRAPHIC) MProjection_Matrix = CurrentOrtho;
    else if (Projection == ZPR_PERSPECTIVE) MProjection_Matrix = CurrentPerspective;
    else Logger->Fatal("Unknown projection type: " + Int2Str(Projection));
    CurrentProjection = Projection;
    GLint MatrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &MatrixMode);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(MProjection_Matrix.data());
    glMatrixMode(static_cast<GLenum>(MatrixMode));
    // The shader drawn next applies its own projection again.
    if (DefaultFrame) DefaultFrame->ForgetState();
}

void tOGLRenderDevice::BeginTransform(TTransformType TransformType, const TMatrix4* Matrix) {
    switch (TransformType) {
        case ZFT_MULT:
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glMultMatrixf(Matrix->data());
            break;
        case ZFT_REPLACE:
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glLoadMatrixf(Matrix->data());
            break;
        case ZFT_BEGINMASK:
            // Each mask writes its own stencil value, so the buffer is cleared
            // only once the 255 values are used up.
            if (++MaskValue > MaxMaskValue) {
                glClear(GL_STENCIL_BUFFER_BIT);
                MaskValue = 0;
            }
            glStencilFunc(GL_ALWAYS, MaskValue, static_cast<GLuint>(MaskValue));
            glStencilOp(GL_REPLACE, GL_KEEP, GL_REPLACE);
            glEnable(GL_STENCIL_TEST);
            break;
        case ZFT_USEMASK:
            glStencilFunc(GL_EQUAL, MaskValue, static_cast<GLuint>(MaskValue));
            glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
            break;
        case ZFT_ENDMASK: glDisable(GL_STENCIL_TEST); break;
    }
}

void tOGLRenderDevice::EndTransform(TTransformType TransformType) {
    if (TransformType == ZFT_BEGINMASK || TransformType == ZFT_USEMASK || TransformType == ZFT_ENDMASK) {
        glDisable(GL_STENCIL_TEST);
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void tOGLRenderDevice::BeginSubView(int32_t X, int32_t Y, int32_t Width, int32_t Height, float FOV,
                                    const TMatrix4& CameraView) {
    Logger->Guard(!InSubView, "Sub-views don't nest");
    InSubView = true;
    SubViewCameraView = CameraView;
    ProjectionBeforeSubView = CurrentProjection;
    Width = std::max(Width, 1);
    Height = std::max(Height, 1);
    // OpenGL counts window rows from the bottom.
    const int32_t Bottom = Viewport->GetViewportHeight() - Y - Height;
    glPushAttrib(GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
    glViewport(X, Bottom, Width, Height);
    glScissor(X, Bottom, Width, Height);
    glEnable(GL_SCISSOR_TEST);
    // The frame's scene left its depths here; the clear obeys the depth mask,
    // which the shader state no longer vouches for afterwards.
    glDepthMask(GL_TRUE);
    glClear(GL_DEPTH_BUFFER_BIT);
    SetUpProjections(FOV, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Width),
                     static_cast<float>(Height));
    SetProjection(CurrentProjection);
    BeginTransform(ZFT_REPLACE, &CameraView);
}

void tOGLRenderDevice::EndSubView() {
    if (!InSubView) return;
    EndTransform(ZFT_REPLACE);
    glPopAttrib();
    SetFOV(CurrentFOV);
    SetProjection(ProjectionBeforeSubView);
    InSubView = false;
}

void tOGLRenderDevice::EnableClipPlane(int32_t Index, const double* Equation) {
    glClipPlane(GL_CLIP_PLANE0 + Index, Equation);
    glEnable(GL_CLIP_PLANE0 + Index);
}

void tOGLRenderDevice::DisableClipPlane(int32_t Index) { glDisable(GL_CLIP_PLANE0 + Index); }

void tOGLRenderDevice::SetFogColor(const TVector4& Color) { DefaultFrame->PendingFogColor = Color; }

TVector4 tOGLRenderDevice::GetFogColor() { return DefaultFrame->FogColor; }

tLightSource* tOGLRenderDevice::CreateLightSource() {
    Logger->Guard(ActiveLights < MaxLights, "Cann't add more light sources");
    tLightSource* Light = NewObject<tLightSource>();
    Lights[ActiveLights++] = Light;
    return Light;
}

// The last light takes the deleted one's place; the light itself is the caller's.
void tOGLRenderDevice::DeleteLightSource(tLightSource* Light) {
    for (int32_t I = 0; I < ActiveLights; ++I) {
        if (Lights[I] != Light) continue;
        Lights[I] = Lights[ActiveLights - 1];
        Lights[--ActiveLights] = nullptr;
        return;
    }
}

tFont* tOGLRenderDevice::CreateFont(const ShortString& FontName) {
    ProcTrace trace("tOGLRenderDevice.CreateFont(" + FontName + ")");
    const GLuint Base = glGenLists(FontGlyphs);
    tFont* Font = InstantiateClassAs<tFont>(EngineINI->GetValue("GUI", "FontManipulator"), FontName);
    ORL->UseFontBitmaps(Viewport->GetDeviceContext(), FirstFontGlyph, FontGlyphs, Base);
    glFinish();
    Font->SetFontID(Base);
    return Font;
}

void tOGLRenderDevice::DeleteFont(tFont* Font) { glDeleteLists(Font->GetFontID(), FontGlyphs); }

uint32_t tOGLRenderDevice::GetDefaultFontID() { return DefaultFont->GetFontID(); }

void tOGLRenderDevice::CreateDefaultFont() {
    DefaultFontScale = CurrentUIScale();
    DefaultFont = CreateFont(ShortString(" \"") + EngineINI->GetValue("Console", "Font") + "\" " +
                             Int2Str(ScaledPixels(DefaultCharWidth)) + " " + Int2Str(ScaledPixels(DefaultCharHeight)));
}

void tOGLRenderDevice::BeginFrame(TRenderTarget Target) {
    tRenderDevice::BeginFrame(Target);
    // A new window size or UIScale: the text follows from this frame on (a
    // device made without its default font, as the benchmarks make it, has
    // none to remake).
    if (DefaultFont && CurrentUIScale() != DefaultFontScale) {
        DeleteFont(DefaultFont);
        tZObject::DisposeObject(DefaultFont);
        CreateDefaultFont();
    }
    MaskValue = 0;
    DefaultFrame->BeginFrame(WireFrame);
    DefaultFrame->SetState(EmptyShader);
}

void tOGLRenderDevice::EndFrame() {
    ProcTrace trace("tOGLRenderDevice.EndFrame()");
    CheckError();
    DefaultFrame->EndFrame();
    if (ShowStats) QueueStatistics();
    RenderTextStrings();
    glFinish();
    ScreenShot->CaptureFrame();
    DefaultRenderingTarget->SwapBuffers();
}

void tOGLRenderDevice::QueueStatistics() {
    const float TicksPerSecond = Engine ? Engine->CurrentTickRate : 0.0f;
    const double MTrianglesPerSecond = static_cast<double>(TrianglesRendered()) * 0.000001 * TicksPerSecond;
    const auto Line = [](int32_t N) { return static_cast<float>(ScaledPixels(10 + 16 * N)); };
    AddTextString(0, Line(0), "Triangles  : " + Int2Str(static_cast<int32_t>(TrianglesRendered())), &White);
    AddTextString(0, Line(1), "Lights     : " + Int2Str(ActiveLights), &White);
    AddTextString(0, Line(2), "MTriang/sec: " + Flt2Str(MTrianglesPerSecond, 1), &White);
}

void tOGLRenderDevice::CheckError() { CheckGLError(); }

void tOGLRenderDevice::AddTextString(float X, float Y, const ShortString& Text, const TVector4* Color) {
    Logger->Guard(DefaultFrame->TotalTextStrings < tFrame::MaxTextStrings, "Cann't add more text strings");
    TTextString& T = DefaultFrame->TextStrings[DefaultFrame->TotalTextStrings++];
    T.X = X;
    T.Y = Y;
    T.Z = 1.0f;
    T.TextColor = Color ? *Color : White;
    T.TextString = Text;
    T.FontID = DefaultFont->GetFontID();
}

void tOGLRenderDevice::AddTextStringZ(float X, float Y, const ShortString& Text, const TVector4* Color) {
    AddTextStringZFont(X, Y, Text, Color, GetDefaultFontID());
}

void tOGLRenderDevice::AddTextStringZFont(float X, float Y, const ShortString& Text, const TVector4* Color,
                                          uint32_t FontID) {
    TTextString T;
    T.X = X;
    T.Y = Y;
    T.Z = 1.0f;
    T.TextColor = Color ? *Color : White;
    T.TextString = Text;
    T.FontID = FontID;
    RenderZText(T);
}

void tOGLRenderDevice::DrawTextString(const TTextString& T) {
    glColor4fv(&T.TextColor.x);
    glRasterPos2f(T.X, T.Y + TextBaselineOffset);
    glListBase(T.FontID - FirstFontGlyph);
    glCallLists(static_cast<GLsizei>(T.TextString.size()), GL_UNSIGNED_BYTE, T.TextString.data());
}

void tOGLRenderDevice::RenderZText(const TTextString& T) {
    SetRenderState(EmptyShader);
    SetProjection(ZPR_ORTHOGRAPHIC);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_LIST_BIT);
    glDisable(GL_DEPTH_TEST);
    DrawTextString(T);
    glPopAttrib();
    glPopMatrix();
    glColor4f(1, 1, 1, 1);
}

// Later strings lie over earlier ones, all over the 3D scene.
void tOGLRenderDevice::RenderTextStrings() {
    SetRenderState(EmptyShader);
    SetProjection(ZPR_ORTHOGRAPHIC);
    glLoadIdentity();
    glPushAttrib(GL_LIST_BIT);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    for (int32_t I = 0; I < DefaultFrame->TotalTextStrings; ++I) DrawTextString(DefaultFrame->TextStrings[I]);
    glPopAttrib();
    glPopAttrib();
    glColor4f(1, 1, 1, 1);
}
