#include "kernel/gui/region.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/view.h"
#include "kernel/gui/windowmanager.h"

Z_IMPLEMENT_CLASS(tGUIRegion,
    .Operations = {{"ProcessDocking"}, {"DockCoordsToThisRegion"}, {"DockSizeToThisRegion"},
                   {"RenderTopmostRegion"}, {"SetParameters"}, {"Local2Screen"}, {"Screen2Local"}, {"Drag"},
                   {"MoveTo"}, {"MoveRel"}, {"SetSize"}, {"ResizeCornerTo"}, {"FindRegion"}, {"Contains"},
                   {"ContainsRightCorner"}, {"CaptionContains"}, {"CaptionCloseButtonContains"},
                   {"IsRegionDockable"}, {"IsRegionDraggable"}, {"IsRegionSizeable"}, {"IsMinimized"},
                   {"IsMaximized"}, {"Maximize"}, {"Minimize"}, {"SuggestMinimalWidth"},
                   {"SuggestMinimalHeight"}, {"Render"}})

namespace {

constexpr const char* CenteredToken = "GUI_CENTERED";
constexpr const char* TitleWidthToken = "GUI_TITLE_WIDTH";
constexpr const char* TitleHeightToken = "GUI_TITLE_HEIGHT";

// Far beyond any screen, yet small enough that nested regions' corners can
// be added up without overflowing.
constexpr double MaxPlacementPixels = 1 << 20;

// A placement token as pixels of Extent; false when it is not a number.
bool ParseFraction(const ShortString& Token, int32_t Extent, int32_t& Pixels) {
    if (!IsCorrectGLD(Token)) return false;
    const double Wanted = static_cast<double>(Str2Flt(Token)) * Extent;
    Pixels = static_cast<int32_t>(std::lround(std::clamp(Wanted, -MaxPlacementPixels, MaxPlacementPixels)));
    return true;
}

bool Snap(int32_t& Value, int32_t Target) {
    if (std::abs(Value - Target) >= tGUIRegion::DockingDistance) return false;
    Value = Target;
    return true;
}

}  // namespace

tGUIRegion::tGUIRegion(const ShortString& Params) : tGUIResponder(Params) {
    ProcTrace trace("tGUIRegion.Init(" + Params + ")");
    const ShortString Title = GetToken(Params, 5);
    const int32_t ScreenW = GUIScreenWidth(), ScreenH = GUIScreenHeight();
    int32_t NX = 0, NY = 0, NW = 0, NH = 0;
    bool Valid = true;

    const ShortString TX = GetToken(Params, 1), TY = GetToken(Params, 2);
    const ShortString TW = GetToken(Params, 3), TH = GetToken(Params, 4);
    CenteredX = TX == CenteredToken;
    CenteredY = TY == CenteredToken;
    if (CenteredX) NX = -1;
    else Valid &= ParseFraction(TX, ScreenW, NX);
    if (CenteredY) NY = -1;
    else Valid &= ParseFraction(TY, ScreenH, NY);
    if (TW == TitleWidthToken) NW = TitleCharWidth() * static_cast<int32_t>(Title.size());
    else Valid &= ParseFraction(TW, ScreenW, NW);
    if (TH == TitleHeightToken) NH = TitleHeight();
    else Valid &= ParseFraction(TH, ScreenH, NH);
    Logger->Guard(Valid, "Invalid parameters list");

    SetParameters(NX, NY, NW, NH, Title);
    FBeenDragged = false;
    FBeenSized = false;
    FRegionState = REGION_MAXIMIZED;
    FVisible = true;
}

void tGUIRegion::SetParameters(int32_t NX, int32_t NY, int32_t NW, int32_t NH, const ShortString& Title) {
    X = NX;
    Y = NY;
    W = NW;
    H = NH;
    X1 = X + W;
    Y1 = Y + H;
    MaximizeHeight = H;
    FRegionTitle = Title;
    ForceUpdate();
}

void tGUIRegion::AddChildAtom(tGUIAtom* Atom) {
    tGUIResponder::AddChildAtom(Atom);
    if (Atom->DynamicCast(&tGUIRegion::ClassInfo)) static_cast<tGUIRegion*>(Atom)->PreCenter(this);
}

void tGUIRegion::PreCenter(tGUIRegion* Parent) {
    const int32_t NX = CenteredX ? Parent->X + (Parent->W - W) / 2 : X + Parent->X;
    const int32_t NY = CenteredY ? Parent->Y + (Parent->H - H) / 2 : Y + Parent->Y;
    CenteredX = CenteredY = false;
    MoveTo(NX, NY);
}

bool tGUIRegion::IsTopmost() {
    tWindowManager* WM = GUIWindowManager();
    return WM && WM->IsRegionTopmost(this);
}

void tGUIRegion::RenderHierarchy() {
    if (!FVisible || IsTopmost()) return;
    tGUIResponder::RenderHierarchy();
}

void tGUIRegion::RenderTopmostRegion() {
    if (FVisible) tGUIResponder::RenderHierarchy();
}

void tGUIRegion::Local2Screen(TPoint& P) {
    P.x += X;
    P.y += Y;
}

void tGUIRegion::Screen2Local(TPoint& P) {
    P.x -= X;
    P.y -= Y;
}

bool tGUIRegion::Contains(TPoint P) {
    Screen2Local(P);
    return P.x >= 0 && P.x <= W && P.y >= 0 && P.y <= H;
}

bool tGUIRegion::CaptionContains(TPoint P) {
    Screen2Local(P);
    return P.x >= 0 && P.x <= W && P.y >= 0 && P.y <= CaptionHeight();
}

bool tGUIRegion::ContainsRightCorner(TPoint P) {
    Screen2Local(P);
    return P.x >= W - CornerSize && P.x <= W && P.y >= H - CornerSize && P.y <= H;
}

tGUIRegion* tGUIRegion::FindRegion(const TPoint& P) {
    if (!FVisible || !Contains(P)) return nullptr;
    if ((IsRegionDraggable() && CaptionContains(P)) || (IsRegionSizeable() && ContainsRightCorner(P))) return this;
    tGUIRegion* Found = nullptr;
    for (int32_t I = 1; I <= GetChildsNumber(); ++I) {
        tGUIAtom* Child = GetChild(I);
        if (!Child->DynamicCast(&tGUIRegion::ClassInfo)) continue;
        if (tGUIRegion* R = static_cast<tGUIRegion*>(Child)->FindRegion(P)) Found = R;
    }
    return Found ? Found : this;
}

void tGUIRegion::GUI_MouseInside(const TPoint& P) {
    FMouseOver = true;
    FMousePos = P;
}

void tGUIRegion::GUI_MouseOutside(const TPoint& P) {
    FMouseOver = false;
    FMousePos = P;
}

void tGUIRegion::GUI_StartDragging(const TPoint& P) {
    FDraggedAtPoint = P;
    FDragDeltaX = X - P.x;
    FDragDeltaY = Y - P.y;
    FBeenDragged = true;
}

void tGUIRegion::GUI_StartResize(const TPoint& P) {
    // The offset from the mouse to the corner it holds, so the corner follows
    // the mouse from where it was grabbed.
    FDraggedAtPoint = P;
    FDragDeltaX = X1 - P.x;
    FDragDeltaY = Y1 - P.y;
    FBeenSized = true;
}

void tGUIRegion::Drag(const TPoint& P) {
    int32_t NX = P.x + FDragDeltaX, NY = P.y + FDragDeltaY, NW = W, NH = H;
    if (IsRegionDockable()) ProcessDocking(DOCKING_MOVE, NX, NY, NW, NH);
    MoveTo(NX, NY);
}

void tGUIRegion::ResizeCornerTo(const TPoint& P) {
    int32_t NX = X, NY = Y, NW = P.x + FDragDeltaX - X, NH = P.y + FDragDeltaY - Y;
    if (IsRegionDockable()) ProcessDocking(DOCKING_RESIZE, NX, NY, NW, NH);
    SetSize(NW, NH);
}

void tGUIRegion::ProcessDocking(TDockingType Type, int32_t& NX, int32_t& NY, int32_t& NW, int32_t& NH) {
    tWindowManager* WM = GUIWindowManager();
    if (!WM) return;
    tViewsList* Dockable = WM->GetDockableViewsList();
    for (int32_t I = 1; I <= Dockable->GetTotalItems(); ++I) {
        tGUIRegion* Other = Dockable->GetView(I);
        if (Other == this || !Other->FVisible) continue;
        if (Type == DOCKING_MOVE) Other->DockCoordsToThisRegion(NX, NY, NH, NW);
        else Other->DockSizeToThisRegion(NX, NY, NW, NH);
    }
}

void tGUIRegion::DockCoordsToThisRegion(int32_t& NX, int32_t& NY, int32_t NH, int32_t NW) {
    Snap(NX, X);
    Snap(NY, Y);
    Snap(NX, X1);
    Snap(NY, Y1);
    int32_t Right = NX + NW, Bottom = NY + NH;
    if (Snap(Right, X1)) NX = Right - NW;
    if (Snap(Bottom, Y1)) NY = Bottom - NH;
    Right = NX + NW;
    Bottom = NY + NH;
    if (Snap(Right, X)) NX = Right - NW;
    if (Snap(Bottom, Y)) NY = Bottom - NH;
}

void tGUIRegion::DockSizeToThisRegion(int32_t X0, int32_t Y0, int32_t& NW, int32_t& NH) {
    int32_t Right = X0 + NW, Bottom = Y0 + NH;
    if (!Snap(Right, X1)) Snap(Right, X);
    if (!Snap(Bottom, Y1)) Snap(Bottom, Y);
    NW = Right - X0;
    NH = Bottom - Y0;
}

void tGUIRegion::SetSize(int32_t NW, int32_t NH) {
    W = NW;
    H = NH;
    X1 = X + W;
    Y1 = Y + H;
    if (IsRegionSizeable()) {
        X1 = std::max(X1, X + SuggestMinimalWidth());
        Y1 = std::max(Y1, Y + SuggestMinimalHeight());
        W = X1 - X;
        H = Y1 - Y;
    }
    MaximizeHeight = H;
    FRegionState = REGION_MAXIMIZED;
    ForceUpdate();
}

void tGUIRegion::MoveTo(int32_t NX, int32_t NY) { MoveRel(NX - X, NY - Y); }

void tGUIRegion::MoveRel(int32_t DX, int32_t DY) {
    if (DX == 0 && DY == 0) return;
    X += DX;
    Y += DY;
    X1 = X + W;
    Y1 = Y + H;
    ForceUpdate();
    for (int32_t I = 1; I <= GetChildsNumber(); ++I) {
        tGUIAtom* Child = GetChild(I);
        if (Child->DynamicCast(&tGUIRegion::ClassInfo)) static_cast<tGUIRegion*>(Child)->MoveRel(DX, DY);
    }
}
