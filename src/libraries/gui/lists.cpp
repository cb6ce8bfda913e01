#include "libraries/gui/lists.h"

#include <algorithm>

#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"

Z_IMPLEMENT_CLASS(tGUIListBox, .Operations = {{"Update"}, {"Render"}, {"GetValueText"}, {"SetValueText"}})
Z_IMPLEMENT_CLASS(tGUIComboBox, .Operations = {{"Update"}, {"Render"}})
Z_IMPLEMENT_CLASS(tGUIComboListBox, .Operations = {{"Render"}})

namespace {

// The label and the value of an item "Label=Value".
ShortString LabelOf(const ShortString& Item) {
    const size_t Eq = Item.view().find('=');
    return Eq == std::string_view::npos ? Item : ShortString(Item.view().substr(0, Eq));
}

ShortString ValueOf(const ShortString& Item) {
    const size_t Eq = Item.view().find('=');
    return Eq == std::string_view::npos ? Item : ShortString(Item.view().substr(Eq + 1));
}

}  // namespace

// ---- List box ----------------------------------------------------------------------

tGUIListBox::tGUIListBox(const ShortString& Params)
    : tGUIWidget(Params), BackShader(Shader("list")), BarShader(Shader("list_selection")) {}

void tGUIListBox::AddTextItem(const ShortString&, const ShortString& Value) {
    for (int32_t I = 1; !GetToken(Value, I).empty(); ++I) AddItem(GetToken(Value, I));
}

void tGUIListBox::AddItem(const ShortString& Item) {
    if (ItemCount < MaxItems) Items[ItemCount++] = Item;
}

void tGUIListBox::ClearItems() {
    ItemCount = 0;
    Selected = -1;
    FirstShown = 0;
}

ShortString tGUIListBox::ItemLabel(int32_t I) const { return I >= 0 && I < ItemCount ? LabelOf(Items[I]) : ShortString(); }
ShortString tGUIListBox::ItemValue(int32_t I) const { return I >= 0 && I < ItemCount ? ValueOf(Items[I]) : ShortString(); }

ShortString tGUIListBox::GetValueText() { return ItemValue(Selected); }

bool tGUIListBox::SetValueText(const ShortString& Text) {
    for (int32_t I = 0; I < ItemCount; ++I)
        if (UpCaseStr(ItemValue(I)) == UpCaseStr(Text)) {
            Selected = I;
            KeepSelectionShown();
            return true;
        }
    return false;
}

void tGUIListBox::Choose(int32_t I, bool CommitChange) {
    if (ItemCount == 0) return;
    I = std::clamp(I, 0, ItemCount - 1);
    const bool Changed = I != Selected;
    Selected = I;
    KeepSelectionShown();
    if (Changed && CommitChange) Commit();
}

void tGUIListBox::KeepSelectionShown() {
    if (Selected < FirstShown) FirstShown = Selected;
    if (Selected >= FirstShown + VisibleRows()) FirstShown = Selected - VisibleRows() + 1;
    FirstShown = std::clamp(FirstShown, 0, std::max(0, ItemCount - VisibleRows()));
}

bool tGUIListBox::StepValue(int32_t Direction) {
    // Left and Right leave the list alone: they are not its keys.
    return false;
}

bool tGUIListBox::GUI_Key(uint8_t Key, bool Pressed) {
    if (Pressed && (Key == KEY_UP || Key == KEY_DOWN)) {
        const int32_t Next = Selected + (Key == KEY_UP ? -1 : 1);
        // Past either end the key moves the focus on.
        if (Next < 0 || Next >= ItemCount) return true;
        Choose(Next, true);
        return false;
    }
    return tGUIWidget::GUI_Key(Key, Pressed);
}

void tGUIListBox::GUI_Scroll(TDirection Direction) {
    FirstShown = std::clamp(FirstShown + (Direction == DIR_UP ? -1 : 1), 0, std::max(0, ItemCount - VisibleRows()));
}

int32_t tGUIListBox::RowAt(const TPoint& P, int32_t Top) const {
    if (P.x < X || P.x > X1 || P.y < Top) return -1;
    const int32_t Row = FirstShown + (P.y - Top) / RowHeight();
    return Row < ItemCount ? Row : -1;
}

void tGUIListBox::PointAt(const TPoint& P, bool Pressed) {
    if (!Pressed) return;
    if (const int32_t Row = RowAt(P, Y); Row >= 0 && Row < FirstShown + VisibleRows()) Choose(Row, true);
}

void tGUIListBox::Update() { Back.SetRect(float(X), float(Y), float(X1), float(Y1)); }

void tGUIListBox::RenderRows(int32_t Left, int32_t Top, int32_t Right, int32_t Rows, bool TwoColumns) {
    for (int32_t R = 0; R < Rows && FirstShown + R < ItemCount; ++R) {
        const int32_t I = FirstShown + R, RowTop = Top + R * RowHeight();
        if (I == Selected) {
            Bar.SetRect(float(Left + 1), float(RowTop), float(Right - 1), float(RowTop + RowHeight()));
            Bar.Draw(BarShader);
        }
        const int32_t TextY = RowTop + (RowHeight() - TextLineHeight()) / 2;
        OutTextXY(Left + 4, TextY, ItemLabel(I), GUIWidgetTextColour);
        if (TwoColumns) OutTextXY(Left + (Right - Left) * 3 / 5, TextY, ItemValue(I), GUIWidgetTextColour);
    }
    if (Rows <= 0 || ItemCount <= Rows) return;
    const int32_t Height = Rows * RowHeight();
    const int32_t ThumbTop = Top + Height * FirstShown / ItemCount;
    const int32_t ThumbBottom = Top + Height * std::min(ItemCount, FirstShown + Rows) / ItemCount;
    Thumb.SetRect(float(Right - ThumbWidth - 1), float(ThumbTop), float(Right - 1), float(ThumbBottom));
    Thumb.Draw(BarShader);
}

void tGUIListBox::Render() {
    Back.Draw(BackShader);
    RenderRows(X, Y, X1, VisibleRows(), false);
}

void tGUIComboListBox::Render() {
    Back.Draw(BackShader);
    RenderRows(X, Y, X1, VisibleRows(), true);
}

// ---- Combo box ------------------------------------------------------------------------

tGUIComboBox::tGUIComboBox(const ShortString& Params) : tGUIListBox(Params), ArrowShader(Shader("combo_arrow")) {}

void tGUIComboBox::Update() {
    Back.SetRect(float(X), float(Y), float(X1), float(Y1));
    Arrow.SetRect(float(X1 - ArrowWidth), float(Y), float(X1), float(Y1));
    Drop.SetRect(float(X), float(Y1), float(X1), float(Y1 + DropRows() * RowHeight()));
}

void tGUIComboBox::Render() {
    // The list closes when the focus goes elsewhere.
    if (tWindowManager* WM = GUIWindowManager(); Open && WM && WM->GetFocusedView() != this) SetOpen(false);
    Back.Draw(BackShader);
    Arrow.Draw(ArrowShader);
    OutTextXY(X + 4, Y + (H - TextLineHeight()) / 2, ItemLabel(Selected), GUIWidgetTextColour);
    if (!Open) return;
    Drop.Draw(BackShader);
    RenderRows(X, Y1, X1, DropRows(), false);
}

bool tGUIComboBox::Contains(TPoint P) {
    if (tGUIListBox::Contains(P)) return true;
    return Open && P.x >= X && P.x <= X1 && P.y >= Y1 && P.y <= Y1 + DropRows() * RowHeight();
}

void tGUIComboBox::SetOpen(bool NewOpen) {
    Open = NewOpen && ItemCount > 0;
    tWindowManager* WM = GUIWindowManager();
    // Open, it is drawn over the widgets below it.
    if (WM && Open) WM->SetTopmostRegion(this);
    else if (WM && WM->IsRegionTopmost(this)) WM->SetTopmostRegion(nullptr);
    if (Open) {
        Update();
        // The drop-down shows from the chosen item on.
        FirstShown = std::clamp(Selected, 0, std::max(0, ItemCount - DropRows()));
    }
}

void tGUIComboBox::Activate() { SetOpen(!Open); }

bool tGUIComboBox::StepValue(int32_t Direction) {
    Choose(Selected + Direction, true);
    return true;
}

bool tGUIComboBox::GUI_Key(uint8_t Key, bool Pressed) {
    if (!Open || !Pressed) return tGUIWidget::GUI_Key(Key, Pressed);
    switch (Key) {
        case KEY_UP:
        case KEY_DOWN:
            Choose(Selected + (Key == KEY_UP ? -1 : 1), true);
            if (Selected < FirstShown) FirstShown = Selected;
            if (Selected >= FirstShown + DropRows()) FirstShown = Selected - DropRows() + 1;
            return false;
        case KEY_RETURN:
        case KEY_SPACE:
        case KEY_ESCAPE: SetOpen(false); return false;
        default: return true;
    }
}

void tGUIComboBox::GUI_Scroll(TDirection Direction) {
    if (Open) FirstShown = std::clamp(FirstShown + (Direction == DIR_UP ? -1 : 1), 0, std::max(0, ItemCount - DropRows()));
    else StepValue(Direction == DIR_UP ? -1 : 1);
}

void tGUIComboBox::PointAt(const TPoint& P, bool Pressed) {
    if (!Pressed) return;
    if (!Open) {
        SetOpen(true);
        return;
    }
    const int32_t Row = P.y >= Y1 ? RowAt(P, Y1) : -1;
    if (Row >= 0) Choose(Row, true);
    SetOpen(false);
}
