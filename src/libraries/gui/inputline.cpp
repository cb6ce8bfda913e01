#include "libraries/gui/inputline.h"

#include <algorithm>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"
#include "libraries/classes/console.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tGUIInputLine, .Operations = {{"Render"}, {"GUI_Timer"}, {"GUI_MouseLeft"}, {"GUI_Key"}})
Z_IMPLEMENT_CLASS(tGUIConsoleInputBar, .Operations = {{"GUI_Key"}})
Z_IMPLEMENT_CLASS(tGUIConsoleHistory, .Operations = {{"Render"}})

namespace {

constexpr int32_t ValidatorMargin = 6;  // characters kept free at the line's end
constexpr TVector4 InputTextColour = {1.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

tGUIInputLine::tGUIInputLine(const ShortString& Params)
    : tGUIButton(Params, tPanelKind{}), Validator(0) {
    TextBuffer = GetToken(Params, 5);
    Editable = UpCaseStr(GetToken(Params, 6)) != "NOEDIT";
    AllocateGeometry(GUIBevelVertices, PRIM_POLYGON);
    SetShader(LoadGUIShader("interface\\shaders\\inputline.shader"));
    Validator.MaxLength = W / TitleCharWidth() - ValidatorMargin;
}

void tGUIInputLine::Render() {
    tGUIButton::Render();
    const bool CursorShown = Editable && static_cast<int32_t>(BlinkTime / CursorBlinkSeconds) % 2 == 0;
    const int32_t TextY = Y + (H - TextLineHeight()) / 2;
    OutTextXY(X + 4, TextY, TextBuffer, InputTextColour);
    if (CursorShown) OutTextXY(X + 4, TextY, Cursor.Mark(TextBuffer), InputTextColour);
}

TGUIMessage tGUIInputLine::GUI_Timer(float DeltaSeconds) {
    BlinkTime += DeltaSeconds;
    if (BlinkTime >= 2 * CursorBlinkSeconds) BlinkTime -= 2 * CursorBlinkSeconds;
    ++CursorBlink;
    // A value set elsewhere (a list's choice, a "Set" typed in the console)
    // shows in the line, the cursor at its end.
    ShortString Value;
    if (Binding.Read(FBindedConsoleVariable, Value) && Value != LastVarText) {
        LastVarText = Value;
        TextBuffer = Value;
        Cursor.FromEnd = 0;
    }
    return tGUIButton::GUI_Timer(DeltaSeconds);
}

void tGUIInputLine::GUI_MouseLeft(const TPoint& P, bool Pressed) {
    tGUIButton::GUI_MouseLeft(P, Pressed);
    // A click on the line takes the keyboard to it.
    if (tWindowManager* WM = GUIWindowManager(); WM && Pressed && Editable) WM->SetKeyboardFocus(this);
}

bool tGUIInputLine::GUI_Key(uint8_t Key, bool Pressed) {
    tGUIButton::GUI_Key(Key, Pressed);
    if (!Pressed) return false;
    if (Key == KEY_ESCAPE) return true;
    const ShortString Before = TextBuffer;
    // Moving the cursor and deleting work on a line that is not editable too.
    if (!Cursor.Edit(TextBuffer, Key) && IsCharacterKey(Key) && Editable) {
        const ShortString Candidate = Cursor.Typed(TextBuffer, KeyCharacter(Key, ShiftHeld()));
        if (Validator.IsValid(Candidate)) TextBuffer = Candidate;
    }
    // The bound variable follows every change, deletions included.
    if (TextBuffer != Before && !FBindedConsoleVariable.empty() && EngineVars) {
        EngineVars->SetVar(FBindedConsoleVariable, TextBuffer);
        LastVarText = TextBuffer;
    }
    return false;
}

bool tGUIConsoleInputBar::GUI_Key(uint8_t Key, bool Pressed) {
    if (!(Pressed && Key == KEY_RETURN)) return tGUIInputLine::GUI_Key(Key, Pressed);
    // The line is emptied before it runs: the command may close this bar.
    const ShortString Line = TextBuffer;
    TextBuffer.clear();
    if (Console) Console->RunTypedLine(Line);
    return false;
}

void tGUIConsoleHistory::Render() {
    ProcTrace trace("tGUIConsoleHistory.Render()");
    if (!Console) return;
    tConsoleMessagesHistory* History = Console->GetMessagesHistory();
    const int32_t Rows = std::max(0, H / TextLineHeight());
    const int32_t Shown = std::min({History->GetTotalMessages(), MaxShown, Rows});
    tConsoleMessage Msg;
    // The newest at the bottom row.
    for (int32_t I = 1; I <= Shown; ++I) {
        History->GetMessage(I, Msg);
        OutTextXY(X + 2, Y + H - I * TextLineHeight(), Msg.Msg, Msg.MsgColor);
    }
}
