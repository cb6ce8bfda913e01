#include "libraries/gui/padbindings.h"

#include <iterator>

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/padactions.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/viewport.h"
#include "libraries/gui/varbinding.h"

Z_IMPLEMENT_CLASS(tGUIPadBindingList)

namespace {

// A flight stick's inputs are numbered ("axis2", "+axis3", "button0").
bool IsStickInput(const ShortString& Input) {
    std::string_view N = Input.view();
    if (!N.empty() && (N[0] == '+' || N[0] == '-')) N.remove_prefix(1);
    const ShortString Upper = UpCaseStr(ShortString(N));
    return Upper.view().substr(0, 4) == "AXIS" || Upper.view().substr(0, 6) == "BUTTON";
}

// What the row asks for while it waits.
const char* Prompt(const tPadAction& A) {
    switch (A.Kind) {
        case PAD_POINTER_X: return "tilt right";
        case PAD_POINTER_Y: return "pull back";
        default: return "press or move";
    }
}

tViewport* GameViewport() { return Engine ? Engine->Viewport : nullptr; }

}  // namespace

ShortString ReplacePadInput(const ShortString& Inputs, const ShortString& Input, bool WholeAxis) {
    const ShortString New = WholeAxis && !Input.empty() && Input.view()[0] == '+' ? ShortString(Input.view().substr(1)) : Input;
    ShortString Result;
    bool Placed = false;
    for (int N = 1;; ++N) {
        ShortString Word = GetToken(Inputs, N);
        if (Word.empty()) break;
        if (IsStickInput(Word) == IsStickInput(New)) {
            if (Placed) continue;
            Word = New;
            Placed = true;
        }
        Result = Result.empty() ? Word : Result + " " + Word;
    }
    if (!Placed) Result = Result.empty() ? New : (IsStickInput(New) ? Result + " " + New : New + " " + Result);
    return Result;
}

tGUIPadBindingList::tGUIPadBindingList(const ShortString& Params) : tGUIComboListBox(Params) { Refresh(); }

tGUIPadBindingList::~tGUIPadBindingList() {
    if (Waiting) Wait(false);
}

void tGUIPadBindingList::Wait(bool On) {
    Waiting = On;
    if (tViewport* V = GameViewport()) V->CaptureControllerInput(On);
}

void tGUIPadBindingList::Refresh() {
    const int32_t Keep = Selected, Top = FirstShown;
    ClearItems();
    for (const tPadAction& A : PadActions) {
        const ShortString Inputs = PadActionInputs(A);
        AddItem(ShortString(A.Label) + "=" + (Inputs.empty() ? ShortString("-") : Inputs));
    }
    Selected = Keep < ItemCount ? Keep : -1;
    FirstShown = Top;
    if (Waiting && Selected >= 0) Items[Selected] = ItemLabel(Selected) + "=" + Prompt(PadActions[Selected]);
}

TGUIMessage tGUIPadBindingList::GUI_Timer(float DeltaSeconds) {
    if (Waiting && Selected >= 0)
        if (tViewport* V = GameViewport()) {
            const ShortString Input = V->TakeControllerInput();
            if (!Input.empty()) {
                Waiting = false;
                Rebind(Selected, Input);
            }
        }
    // The variables change from the console too: the rows follow them.
    Refresh();
    return tGUIComboListBox::GUI_Timer(DeltaSeconds);
}

void tGUIPadBindingList::Rebind(int32_t Row, const ShortString& Input) {
    if (Row < 0 || Row >= PadActionCount || Input.empty()) return;
    const tPadAction& A = PadActions[Row];
    tVarBinding::Write(A.Var, ReplacePadInput(PadActionInputs(A), Input, A.Kind != PAD_KEY));
    Refresh();
}

bool tGUIPadBindingList::GUI_Key(uint8_t Key, bool Pressed) {
    if (!Waiting) return tGUIComboListBox::GUI_Key(Key, Pressed);
    // The controller answers the wait: from the keyboard only Escape ends
    // it, and the other keys go on as if the list were not there.
    if (Key != KEY_ESCAPE) return true;
    if (Pressed) {
        Wait(false);
        Refresh();
    }
    return false;
}

void tGUIPadBindingList::PointAt(const TPoint& P, bool Pressed) {
    tGUIComboListBox::PointAt(P, Pressed);
    if (Pressed && RowAt(P, Y) >= 0) Wait(true);
}
