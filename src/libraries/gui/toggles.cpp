#include "libraries/gui/toggles.h"

#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tGUICheckBox, .Operations = {{"Update"}, {"Render"}, {"GetValueText"}, {"SetValueText"}})
Z_IMPLEMENT_CLASS(tGUIRadioGroup, .Operations = {{"Render"}, {"GetValueText"}, {"SetValueText"}})
Z_IMPLEMENT_CLASS(tGUIRadioButton, .Operations = {{"Render"}, {"GetValueText"}, {"SetValueText"}})

// ---- Check box ------------------------------------------------------------------

tGUICheckBox::tGUICheckBox(const ShortString& Params)
    : tGUIWidget(Params), OffShader(Shader("checkbox")), OnShader(Shader("checkbox_on")) {}

void tGUICheckBox::Update() {
    const float Top = static_cast<float>(Y + (H - BoxSize) / 2);
    Box.SetRect(static_cast<float>(X), Top, static_cast<float>(X + BoxSize), Top + BoxSize);
}

void tGUICheckBox::Render() {
    Box.Draw(Checked ? OnShader : OffShader);
    OutTextXY(X + BoxSize + TextMargin, Y + (H - TextLineHeight()) / 2, FRegionTitle, GUIWidgetTextColour);
}

ShortString tGUICheckBox::GetValueText() { return Bool2Str(Checked); }

bool tGUICheckBox::SetValueText(const ShortString& Text) {
    const ShortString V = UpCaseStr(Trim(Text));
    if (V != "TRUE" && V != "FALSE") return false;
    Checked = V == "TRUE";
    return true;
}

bool tGUICheckBox::StepValue(int32_t Direction) {
    if (Checked == (Direction > 0)) return true;
    Checked = Direction > 0;
    Commit();
    return true;
}

void tGUICheckBox::Activate() {
    Checked = !Checked;
    Commit();
}

void tGUICheckBox::PointAt(const TPoint& P, bool Pressed) {
    // A click is a press and a release over the box.
    if (!Pressed && Contains(P)) Activate();
}

// ---- Radio group --------------------------------------------------------------------

namespace {

// Button N (counting down from 1) under Atom, depth first.
tGUIRadioButton* NthButton(tGUIAtom* Atom, int32_t& N) {
    for (int32_t I = 1; I <= Atom->GetChildsNumber(); ++I) {
        tGUIAtom* C = Atom->GetChild(I);
        if (C->DynamicCast(&tGUIRadioButton::ClassInfo) && --N == 0) return static_cast<tGUIRadioButton*>(C);
        if (tGUIRadioButton* B = NthButton(C, N)) return B;
    }
    return nullptr;
}

}  // namespace

tGUIRadioGroup::tGUIRadioGroup(const ShortString& Params) : tGUIWidget(Params) {}

void tGUIRadioGroup::Render() {
    OutTextXY(X, Y, FRegionTitle, GUIWidgetDimColour);
}

tGUIRadioButton* tGUIRadioGroup::GetButton(int32_t I) {
    if (I < 1) return nullptr;
    return NthButton(this, I);
}

bool tGUIRadioGroup::SetValueText(const ShortString& Text) {
    for (int32_t I = 1; tGUIRadioButton* B = GetButton(I); ++I)
        if (UpCaseStr(B->Value) == UpCaseStr(Text)) {
            Value = B->Value;
            return true;
        }
    return false;
}

bool tGUIRadioGroup::StepValue(int32_t Direction) {
    int32_t Current = 0, Count = 0;
    for (int32_t I = 1; tGUIRadioButton* B = GetButton(I); ++I, ++Count)
        if (B->Value == Value) Current = I;
    if (Count == 0) return false;
    const int32_t Next = Current == 0 ? 1 : Current + Direction;
    if (Next < 1 || Next > Count) return true;  // the value stays at its end
    Select(GetButton(Next));
    return true;
}

void tGUIRadioGroup::Select(tGUIRadioButton* Button) {
    if (!Button || Button->Value == Value) return;
    Value = Button->Value;
    Commit();
}

// ---- Radio button -------------------------------------------------------------------

tGUIRadioButton::tGUIRadioButton(const ShortString& Params)
    : tGUICheckBox(Params), Value(FRegionTitle) {
    OffShader = Shader("radio");
    OnShader = Shader("radio_on");
}

void tGUIRadioButton::AddParameter(const ShortString& Name, const ShortString& NewValue) {
    if (Name == "VALUE") Value = NewValue;
    else tGUICheckBox::AddParameter(Name, NewValue);
}

tGUIRadioGroup* tGUIRadioButton::Group() {
    for (tGUIAtom* A = GetParentAtom(); A; A = A->GetParentAtom())
        if (A->DynamicCast(&tGUIRadioGroup::ClassInfo)) return static_cast<tGUIRadioGroup*>(A);
    return nullptr;
}

void tGUIRadioButton::Render() {
    tGUIRadioGroup* G = Group();
    Checked = G && G->Value == Value;
    tGUICheckBox::Render();
}

bool tGUIRadioButton::StepValue(int32_t Direction) {
    tGUIRadioGroup* G = Group();
    if (!G) return false;
    G->StepValue(Direction);
    // The focus follows the selection.
    return true;
}

void tGUIRadioButton::Activate() {
    if (tGUIRadioGroup* G = Group()) G->Select(this);
}
