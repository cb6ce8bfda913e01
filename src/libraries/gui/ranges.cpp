#include "libraries/gui/ranges.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"

Z_IMPLEMENT_CLASS(tGUIRangeWidget, .Operations = {{"GetValueText"}, {"SetValueText"}})
Z_IMPLEMENT_CLASS(tGUIGauge, .Operations = {{"Update"}, {"Render"}})
Z_IMPLEMENT_CLASS(tGUIVerticalScroller, .Operations = {{"Update"}, {"Render"}})
Z_IMPLEMENT_CLASS(tGUISpinBox, .Operations = {{"Update"}, {"Render"}})

// ---- The range ------------------------------------------------------------------

tGUIRangeWidget::tGUIRangeWidget(const ShortString& Params) : tGUIWidget(Params) {}

void tGUIRangeWidget::AddParameter(const ShortString& Name, const ShortString& Text) {
    float N = 0;
    // The range stays within what a variable's whole numbers can hold.
    const bool Number = ParseWidgetNumber(Text, N);
    N = std::clamp(N, -Limit, Limit);
    if (Name == "MIN" && Number) Min = N;
    else if (Name == "MAX" && Number) Max = N;
    else if (Name == "STEP" && Number && N > 0) Step = N;
    else if (Name == "VALUE" && Number) Value = N;
    else tGUIWidget::AddParameter(Name, Text);
    if (Max < Min) Max = Min;
    SetValue(Value, false);
}

bool tGUIRangeWidget::IsIntegral() const { return Min == std::floor(Min) && Step == std::floor(Step); }

float tGUIRangeWidget::Fraction() const { return Max > Min ? (Value - Min) / (Max - Min) : 0.0f; }

void tGUIRangeWidget::SetValue(float NewValue, bool CommitChange) {
    if (!std::isfinite(NewValue)) return;
    NewValue = std::clamp(NewValue, Min, Max);
    if (IsIntegral()) NewValue = std::round(NewValue);
    const bool Changed = NewValue != Value;
    Value = NewValue;
    if (Changed && CommitChange) Commit();
}

ShortString tGUIRangeWidget::GetValueText() {
    return IsIntegral() ? Int2Str(static_cast<int64_t>(Value)) : Flt2Str(Value);
}

bool tGUIRangeWidget::SetValueText(const ShortString& Text) {
    float N = 0;
    if (!ParseWidgetNumber(Text, N)) return false;
    N = std::clamp(N, -Limit, Limit);
    SetValue(N, false);
    return true;
}

bool tGUIRangeWidget::StepValue(int32_t Direction) {
    SetValue(Value + Step * static_cast<float>(Direction), true);
    return true;
}

void tGUIRangeWidget::GUI_Scroll(TDirection Direction) { StepValue(Direction == DIR_UP ? 1 : -1); }

// ---- Gauge ----------------------------------------------------------------------------

tGUIGauge::tGUIGauge(const ShortString& Params)
    : tGUIRangeWidget(Params), TrackShader(Shader("gauge")), FillShader(Shader("gauge_fill")) {}

void tGUIGauge::Update() { Track.SetRect(float(BarLeft()), float(Y), float(X1), float(Y1)); }

void tGUIGauge::Render() {
    const int32_t Right = BarLeft() + static_cast<int32_t>(std::lround(Fraction() * float(BarWidth())));
    Fill.SetRect(float(BarLeft()), float(Y), float(Right), float(Y1));
    Track.Draw(TrackShader);
    if (Right > BarLeft()) Fill.Draw(FillShader);
    const int32_t TextY = Y + (H - TextLineHeight()) / 2;
    OutTextXY(X, TextY, FRegionTitle, GUIWidgetTextColour);
    OutTextXY(BarLeft() + TextMargin, TextY, GetValueText(), GUIWidgetTextColour);
}

void tGUIGauge::PointAt(const TPoint& P, bool Pressed) {
    // Only presses on the bar itself move it; the caption column does not.
    if (Pressed && P.x < BarLeft()) {
        Dragging = false;
        return;
    }
    if (BarWidth() > 0) SetValue(Min + (Max - Min) * float(P.x - BarLeft()) / float(BarWidth()), true);
}

// ---- Vertical scroller --------------------------------------------------------------

tGUIVerticalScroller::tGUIVerticalScroller(const ShortString& Params)
    : tGUIRangeWidget(Params), TrackShader(Shader("scroller")), ThumbShader(Shader("scroller_thumb")) {}

void tGUIVerticalScroller::Update() {
    Track.SetRect(float(X), float(Y), float(X1), float(Y1));
    LastFraction = -1;
}

void tGUIVerticalScroller::Render() {
    // The minimum is at the top.
    if (Fraction() != LastFraction) {
        LastFraction = Fraction();
        const float Top = float(Y) + LastFraction * float(std::max(0, H - ThumbHeight));
        Thumb.SetRect(float(X + 1), Top, float(X1 - 1), Top + ThumbHeight);
    }
    Track.Draw(TrackShader);
    Thumb.Draw(ThumbShader);
}

bool tGUIVerticalScroller::GUI_Key(uint8_t Key, bool Pressed) {
    if (Pressed && (Key == KEY_PRIOR || Key == KEY_NEXT)) {
        StepValue(Key == KEY_PRIOR ? -1 : 1);
        return false;
    }
    return tGUIRangeWidget::GUI_Key(Key, Pressed);
}

void tGUIVerticalScroller::PointAt(const TPoint& P, bool) {
    const int32_t Travel = std::max(1, H - ThumbHeight);
    SetValue(Min + (Max - Min) * float(P.y - Y - ThumbHeight / 2) / float(Travel), true);
}

// ---- Spin box ---------------------------------------------------------------------------

tGUISpinBox::tGUISpinBox(const ShortString& Params)
    : tGUIRangeWidget(Params), BoxShader(Shader("spinbox")), DownShader(Shader("spin_down")), UpShader(Shader("spin_up")) {
    Step = 1;
}

void tGUISpinBox::Update() {
    const int32_t BoxLeft = X + W / 2;
    Box.SetRect(float(BoxLeft), float(Y), float(X1), float(Y1));
    Down.SetRect(float(BoxLeft), float(Y), float(BoxLeft + ArrowWidth), float(Y1));
    Up.SetRect(float(X1 - ArrowWidth), float(Y), float(X1), float(Y1));
}

void tGUISpinBox::Render() {
    Box.Draw(BoxShader);
    Down.Draw(DownShader);
    Up.Draw(UpShader);
    const int32_t TextY = Y + (H - TextLineHeight()) / 2;
    OutTextXY(X, TextY, FRegionTitle, GUIWidgetTextColour);
    const ShortString Text = GetValueText();
    const int32_t Middle = (X + W / 2 + X1) / 2;
    OutTextXY(Middle - TitleCharWidth() * static_cast<int32_t>(Text.size()) / 2, TextY, Text, GUIWidgetTextColour);
}

void tGUISpinBox::PointAt(const TPoint& P, bool Pressed) {
    if (!Pressed) return;
    if (P.x >= X + W / 2 && P.x < X + W / 2 + ArrowWidth) StepValue(-1);
    else if (P.x >= X1 - ArrowWidth) StepValue(1);
}
