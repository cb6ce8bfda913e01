#include "libraries/gui/panel.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/gui/screen.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "libraries/classes/renderdevice.h"

Z_IMPLEMENT_CLASS(tGUIPanel,
    .Operations = {{"SetShader"}, {"AllocateGeometry"}, {"DeallocateGeometry"}, {"SetBevelRadius"}, {"Render"},
                   {"Update"}, {"IsRegionDraggable"}, {"IsRegionSizeable"}})
Z_IMPLEMENT_CLASS(tGUIWindow)
Z_IMPLEMENT_CLASS(tGUIStaticPanel)

tGUIPanel::tGUIPanel(const ShortString& Params) : tGUIView(Params) {
    ProcTrace trace("tGUIPanel.Init(" + Params + ")");
    Logger->Fatal("tGUIPanel cann't be instantiated (abstract)");
}

tGUIPanel::tGUIPanel(const ShortString& Params, tPanelKind) : tGUIView(Params) {
    ProcTrace trace("tGUIPanel.Init(" + Params + ")");
    BevelRadius = 4;
    GeometryAllocated = false;
    ShaderLoaded = false;
}

tGUIPanel::~tGUIPanel() { DeallocateGeometry(); }

void tGUIPanel::SetShader(tShaderResource* S) {
    Shader = S;
    ShaderLoaded = true;
}

void tGUIPanel::AllocateGeometry(int32_t VertexCount, TPrimitiveType Primitive) {
    DeallocateGeometry();
    tRenderDevice* R = GUIRenderer();
    // A device that draws nothing has no vertex arrays: the panel is laid
    // out and routed all the same.
    if (R && R->VertexArrayManager) Geometry = R->VertexArrayManager->AllocateVA(VertexCount, 1, GN_FALSE, Primitive);
    GeometryAllocated = true;
}

void tGUIPanel::DeallocateGeometry() {
    if (!GeometryAllocated) return;
    if (Geometry) DisposeObject(Geometry);
    GeometryAllocated = false;
}

void tGUIPanel::Update() {
    ProcTrace trace("tGUIPanel.Update(" + ClassName() + ")");
    Logger->Guard(GeometryAllocated, "Geometry isn't allocated");
    Logger->Guard(ShaderLoaded, "Shader isn't loaded");
    if (Geometry) {
        GUIRenderer()->GeometryServer->CreateBevelRect(Geometry, static_cast<float>(X), static_cast<float>(Y),
                                                      static_cast<float>(X1), static_cast<float>(Y1), 0,
                                                      static_cast<float>(BevelRadius));
    }
}

void tGUIPanel::DrawShape() {
    if (Geometry && Shader) GUIRenderer()->AddBuffer(Geometry, Shader);
}

void tGUIPanel::Render() {
    DrawShape();
    RenderTextItems(X + TextMargin, Y + TextMargin);
}

// ---- Windows ---------------------------------------------------------------------

tGUIWindow::tGUIWindow(const ShortString& Params) : tGUIPanel(Params, tPanelKind{}) {
    AllocateGeometry(GUIBevelVertices, PRIM_POLYGON);
    SetShader(LoadGUIShader("interface\\shaders\\window.shader"));
    CaptionShader = LoadGUIShader("interface\\shaders\\caption.shader");
    GripShader = LoadGUIShader("interface\\shaders\\grip.shader");
}

int32_t tGUIWindow::SuggestMinimalWidth() {
    return std::max<int32_t>(MinimalSize * 4, TitleCharWidth() * static_cast<int32_t>(FRegionTitle.size()) + 16);
}

void tGUIWindow::Update() {
    tGUIPanel::Update();
    const auto F = [](int32_t V) { return static_cast<float>(V); };
    Caption.SetRect(F(X + 2), F(Y + 2), F(X1 - 2), F(Y + CaptionHeight()));
    Grip.SetRect(F(X1 - GripSize - 2), F(Y1 - GripSize - 2), F(X1 - 2), F(Y1 - 2));
}

bool tGUIWindow::DrawWindow() {
    DrawShape();
    Caption.Draw(CaptionShader);
    OutTextXY(X + TextMargin, Y + 4, FRegionTitle, GUITitleColour);
    // A window rolled up to its caption shows the caption alone.
    if (H <= CaptionHeight() + GripSize) return false;
    Grip.Draw(GripShader);
    return true;
}

void tGUIWindow::Render() {
    if (DrawWindow()) RenderTextItems(X + TextMargin, Y + CaptionHeight() + TextMargin);
}

tGUIStaticPanel::tGUIStaticPanel(const ShortString& Params) : tGUIPanel(Params, tPanelKind{}) {
    AllocateGeometry(GUIBevelVertices, PRIM_POLYGON);
    SetShader(LoadGUIShader("interface\\shaders\\panel.shader"));
}
