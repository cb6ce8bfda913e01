#include "kernel/platform/ttfmanipulator.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/platform/drawingsurface.h"
#include "kernel/platform/systemfont.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tWindowsTTFManipulator, .Operations = {{"SetFontID"}})

namespace {

tSystemFontRequest ParseFontParams(const ShortString& Params) {
    tSystemFontRequest Request;
    Request.FaceName = GetToken(Params, 1).substr(0, tWindowsTTFManipulator::MaxFaceNameLength);
    Request.CharWidth = Str2Flt(GetToken(Params, 2));
    Request.CharHeight = Str2Flt(GetToken(Params, 3));
    if (Request.CharWidth <= 0) Request.CharWidth = tWindowsTTFManipulator::DefaultCharWidth;
    if (Request.CharHeight <= 0) Request.CharHeight = tWindowsTTFManipulator::DefaultCharHeight;
    for (int N = 4;; ++N) {
        ShortString Flag = GetToken(Params, N);
        if (Flag.empty()) break;
        if (Flag == "I") Request.Italic = true;
        else if (Flag == "U") Request.Underline = true;
        else if (Flag == "S") Request.StrikeOut = true;
    }
    return Request;
}

tDrawingSurface* ViewportSurface() {
    Logger->Guard(Engine && Engine->Viewport, "Viewport isn't assigned");
    return Engine->Viewport->GetDeviceContext();
}

}  // namespace

tWindowsTTFManipulator::tWindowsTTFManipulator(const ShortString& Params) : tFont(Params) {
    ProcTrace trace("tWindowsTTFManipulator.Init(" + Params + ")");
    tSystemFontRequest Request = ParseFontParams(Params);
    ShortString Found;
    Font = CreateSystemFont(Request, Found);
    Logger->Guard(Font, "Unable to create font: " + Request.FaceName);
    Logger->Log("Font \"" + Request.FaceName + "\": " + Found);
    if (tDrawingSurface* DC = ViewportSurface()) DC->SelectedFont = Font;
}

tWindowsTTFManipulator::~tWindowsTTFManipulator() {
    ProcTrace trace("tWindowsTTFManipulator.Done()");
    ReleaseSystemFont();
    if (Engine && Engine->Renderer && FontBase != 0) Engine->Renderer->DeleteFont(this);
}

// The glyphs now live in the render device's display lists.
void tWindowsTTFManipulator::SetFontID(uint32_t ID) {
    tFont::SetFontID(ID);
    ReleaseSystemFont();
}

void tWindowsTTFManipulator::ReleaseSystemFont() {
    if (!Font) return;
    if (Engine && Engine->Viewport) {
        tDrawingSurface* DC = Engine->Viewport->GetDeviceContext();
        if (DC && DC->SelectedFont == Font) DC->SelectedFont = nullptr;
    }
    DeleteSystemFont(Font);
    Font = nullptr;
}
