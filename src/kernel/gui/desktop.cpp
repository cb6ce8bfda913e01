#include "kernel/gui/desktop.h"

#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"

Z_IMPLEMENT_CLASS(tGUIDesktop, .Operations = {{"Render"}, {"PostRender"}, {"Update"}, {"RenderCursor"}})

tGUIDesktop::tGUIDesktop() : tGUIDesktop(DesktopName) {}

tGUIDesktop::tGUIDesktop(const ShortString& Params) : tGUIView(Params) {
    ArrowCursorShader = LoadGUIShader("interface\\shaders\\cursor_arrow.shader");
    MoveCursorShader = LoadGUIShader("interface\\shaders\\cursor_move.shader");
    ResizeCursorShader = LoadGUIShader("interface\\shaders\\cursor_resize.shader");
    FocusShader = LoadGUIShader("interface\\shaders\\focus.shader");
    // The arrow's tip is the quad's top-left corner; the other forms are
    // centred on the mouse.
    CursorGeometry.SetRect(0, 0, CursorSize, CursorSize);
}

void tGUIDesktop::RenderFocusFrame(tGUIRegion* R) {
    const auto F = [](int32_t V) { return static_cast<float>(V); };
    constexpr int32_t Gap = 2, Width = 2;
    const int32_t L = R->X - Gap, T = R->Y - Gap, Rt = R->X1 + Gap, B = R->Y1 + Gap;
    FocusEdges[0].SetRect(F(L), F(T), F(Rt), F(T + Width));
    FocusEdges[1].SetRect(F(L), F(B - Width), F(Rt), F(B));
    FocusEdges[2].SetRect(F(L), F(T), F(L + Width), F(B));
    FocusEdges[3].SetRect(F(Rt - Width), F(T), F(Rt), F(B));
    for (tGUIQuad& Q : FocusEdges) Q.Draw(FocusShader);
}

void tGUIDesktop::RenderCursor() {
    tWindowManager* WM = GUIWindowManager();
    if (!WM) return;
    const TPoint& P = WM->GetMousePosition();
    tShaderResource* Shader = ArrowCursorShader;
    float OX = 0, OY = 0;
    switch (WM->ShownCursorForm()) {
        case CFORM_NOCURSOR: return;
        case CFORM_MOVE: Shader = MoveCursorShader; OX = OY = -CursorSize / 2; break;
        case CFORM_CORNERRESIZE: Shader = ResizeCursorShader; OX = OY = -CursorSize / 2; break;
        default: break;
    }
    TMatrix4 T = IdentityMatrix4;
    MTranslateMatrixF(T, static_cast<float>(P.x) + OX, static_cast<float>(P.y) + OY, 0);
    CursorGeometry.Draw(Shader, T);
}
