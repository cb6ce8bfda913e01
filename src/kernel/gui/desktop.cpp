#include "kernel/gui/desktop.h"

#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"

Z_IMPLEMENT_CLASS(tGUIDesktop, .Operations = {{"Render"}, {"PostRender"}, {"Update"}, {"RenderCursor"}})

tGUIDesktop::tGUIDesktop() : tGUIDesktop(DesktopName) {}

tGUIDesktop::tGUIDesktop(const ShortString& Params) : tGUIView(Params) {
    ArrowCursorShader = LoadGUIShader("interface\\shaders\\cursor_arrow.shader");
    MoveCursorShader = LoadGUIShader("interface\\shaders\\cursor_move.shader");
    ResizeCursorShader = LoadGUIShader("interface\\shaders\\cursor_resize.shader");
    // The arrow's tip is the quad's top-left corner; the other forms are
    // centred on the mouse.
    CursorGeometry.SetRect(0, 0, CursorSize, CursorSize);
}

void tGUIDesktop::RenderCursor() {
    tWindowManager* WM = GUIWindowManager();
    // In the bare game (nothing open) the mouse steers, and no cursor shows.
    if (!WM || GetChildsNumber() == 0) return;
    const TPoint& P = WM->GetMousePosition();
    tShaderResource* Shader = ArrowCursorShader;
    float OX = 0, OY = 0;
    switch (WM->GetCursorForm()) {
        case CFORM_NOCURSOR: return;
        case CFORM_MOVE: Shader = MoveCursorShader; OX = OY = -CursorSize / 2; break;
        case CFORM_CORNERRESIZE: Shader = ResizeCursorShader; OX = OY = -CursorSize / 2; break;
        default: break;
    }
    TMatrix4 T = IdentityMatrix4;
    MTranslateMatrixF(T, static_cast<float>(P.x) + OX, static_cast<float>(P.y) + OY, 0);
    CursorGeometry.Draw(Shader, T);
}
