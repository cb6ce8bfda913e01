#include "libraries/gui/framing.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/strutils.h"
#include "kernel/gui/screen.h"
#include "libraries/gui/panel.h"

Z_IMPLEMENT_CLASS(tGUIBorderPanel, .Operations = {{"Update"}, {"Render"}})
Z_IMPLEMENT_CLASS(tGUISplitter, .Operations = {{"Update"}, {"Render"}, {"GetValueText"}, {"SetValueText"}})
Z_IMPLEMENT_CLASS(tGUIVerticalSplitter)
Z_IMPLEMENT_CLASS(tGUIHorizontalSplitter)
Z_IMPLEMENT_CLASS(tGUIIcon, .Operations = {{"Update"}, {"Render"}, {"GetValueText"}, {"SetValueText"}})

// ---- Border panel ------------------------------------------------------------------

tGUIBorderPanel::tGUIBorderPanel(const ShortString& Params)
    : tGUIView(Params), BodyShader(LoadGUIShader("interface\\shaders\\panel.shader")),
      BorderShader(LoadGUIShader("interface\\shaders\\border.shader")) {}

void tGUIBorderPanel::Update() {
    constexpr int32_t B = BorderWidth;
    Body.SetRect(float(X), float(Y), float(X1), float(Y1));
    Edges[0].SetRect(float(X), float(Y), float(X1), float(Y + B));
    Edges[1].SetRect(float(X), float(Y1 - B), float(X1), float(Y1));
    Edges[2].SetRect(float(X), float(Y), float(X + B), float(Y1));
    Edges[3].SetRect(float(X1 - B), float(Y), float(X1), float(Y1));
}

void tGUIBorderPanel::Render() {
    Body.Draw(BodyShader);
    for (tGUIQuad& E : Edges) E.Draw(BorderShader);
    if (!FRegionTitle.empty()) OutTextXY(X + TextMargin, Y + 4, FRegionTitle, GUITitleColour);
    RenderTextItems(X + TextMargin, Y + TextMargin + (FRegionTitle.empty() ? 0 : TextLineHeight()));
}

// ---- Splitters -----------------------------------------------------------------------

tGUISplitter::tGUISplitter(const ShortString& Params, bool IsVertical)
    : tGUIWidget(Params), Vertical(IsVertical), BarShader(LoadGUIShader("interface\\shaders\\splitter.shader")) {}

ShortString tGUISplitter::GetValueText() { return Flt2Str(Split); }

void tGUISplitter::AddParameter(const ShortString& Name, const ShortString& Value) {
    float N = 0;
    if (Name == "SPLIT" && ParseWidgetNumber(Value, N)) SetSplit(N, false);
    else tGUIWidget::AddParameter(Name, Value);
}

int32_t tGUISplitter::BarStart() const {
    const int32_t Length = Vertical ? W : H;
    return (Vertical ? X : Y) + static_cast<int32_t>(std::lround(Split * float(Length - BarWidth)));
}

void tGUISplitter::SetSplit(float NewSplit, bool CommitChange) {
    if (!std::isfinite(NewSplit)) return;
    NewSplit = std::clamp(NewSplit, MinSplit, MaxSplit);
    if (NewSplit == Split) return;
    Split = NewSplit;
    PlaceSides();
    if (CommitChange) Commit();
}

bool tGUISplitter::SetValueText(const ShortString& Text) {
    float N = 0;
    if (!ParseWidgetNumber(Text, N)) return false;
    SetSplit(N, false);
    return true;
}

bool tGUISplitter::StepValue(int32_t Direction) {
    SetSplit(Split + KeyStep * float(Direction), true);
    return true;
}

void tGUISplitter::PointAt(const TPoint& P, bool) {
    const int32_t Length = (Vertical ? W : H) - BarWidth;
    if (Length > 0) SetSplit(float((Vertical ? P.x - X : P.y - Y) - BarWidth / 2) / float(Length), true);
}

void tGUISplitter::AddChildAtom(tGUIAtom* Atom) {
    tGUIWidget::AddChildAtom(Atom);
    PlaceSides();
}

void tGUISplitter::SetSize(int32_t NW, int32_t NH) {
    tGUIWidget::SetSize(NW, NH);
    PlaceSides();
}

void tGUISplitter::PlaceSides() {
    const int32_t Bar = BarStart();
    for (int32_t I = 1; I <= std::min(2, GetChildsNumber()); ++I) {
        auto* Side = static_cast<tGUIRegion*>(GetChild(I));
        if (Vertical) {
            const int32_t Left = I == 1 ? X : Bar + BarWidth;
            Side->MoveTo(Left, Y);
            Side->SetSize(I == 1 ? Bar - X : X1 - Left, H);
        } else {
            const int32_t Top = I == 1 ? Y : Bar + BarWidth;
            Side->MoveTo(X, Top);
            Side->SetSize(W, I == 1 ? Bar - Y : Y1 - Top);
        }
        Side->ForceUpdate();
    }
    ForceUpdate();
}

void tGUISplitter::Update() {
    const int32_t Bar = BarStart();
    if (Vertical) this->Bar.SetRect(float(Bar), float(Y), float(Bar + BarWidth), float(Y1));
    else this->Bar.SetRect(float(X), float(Bar), float(X1), float(Bar + BarWidth));
}

void tGUISplitter::Render() { Bar.Draw(BarShader); }

tGUIRegion* tGUISplitter::FindRegion(const TPoint& P) {
    tGUIRegion* R = tGUIWidget::FindRegion(P);
    if (R != this) return R;
    const int32_t Bar = BarStart(), At = Vertical ? P.x : P.y;
    return At >= Bar && At < Bar + BarWidth ? this : nullptr;
}

// ---- Icon ----------------------------------------------------------------------------

tGUIIcon::tGUIIcon(const ShortString& Params) : tGUIWidget(Params) {}

void tGUIIcon::AddParameter(const ShortString& Name, const ShortString& Value) {
    if (Name == "PICTURE") Picture = LoadGUIShader(Value);
    else tGUIWidget::AddParameter(Name, Value);
}

void tGUIIcon::Update() { Quad.SetRect(float(X), float(Y), float(X1), float(Y1)); }

void tGUIIcon::Render() {
    Quad.Draw(Picture);
    if (!FRegionTitle.empty()) OutTextXY(CenterTextHorizontal(FRegionTitle), Y1 + 2, FRegionTitle, GUIWidgetTextColour);
}

void tGUIIcon::PointAt(const TPoint& P, bool Pressed) {
    if (!Pressed && Dragging && Contains(P)) Activate();
}
