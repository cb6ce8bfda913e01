#include "libraries/gui/stdconsole.h"

#include <algorithm>
#include <utility>

#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/console.h"

Z_IMPLEMENT_CLASS(tGUIStdConsole,
    .Operations = {{"Update"}, {"Render"}, {"GUI_Timer"}, {"GUI_Key"}, {"IsRegionDraggable"}, {"IsRegionSizeable"}})

namespace {

constexpr TVector4 InputColour = {1, 1, 1, 1};
constexpr int32_t LineLengthPer1024Pixels = 128;

bool ConsoleWindowOpen = false;  // a console window owns the console's flag

}  // namespace

tGUIStdConsole::tGUIStdConsole(const ShortString& Params) : tGUIView(Params) {
    ProcTrace trace("tGUIStdConsole.Init(" + Params + ")");
    CT = IdentityMatrix4;
    C_Position = ClosedPosition;
    ConsoleShader = LoadGUIShader("interface\\shaders\\console.shader");
    TextBarShader = LoadGUIShader("interface\\shaders\\console_textbar.shader");
    OwnsConsole = !ConsoleWindowOpen && Console;
    if (!OwnsConsole) {
        FRegionState = REGION_MINIMIZED;
        return;
    }
    Console->RegisterCommand("CloseConsole", ConsoleProc<&tGUIStdConsole::CloseConsoleC>(this), Commands);
    ConsoleWindowOpen = true;
    FRegionState = REGION_MAXIMIZING;
    Console->LocalHUDVisible = true;
    TextBuffer = Console->GetCommandsHistory()->GetCurrentCommand();
    if (tWindowManager* WM = GUIWindowManager()) WM->SetKeyboardFocus(this);
}

tGUIStdConsole::~tGUIStdConsole() {
    if (!OwnsConsole) return;
    ConsoleWindowOpen = false;
    if (tWindowManager* WM = GUIWindowManager()) WM->ReleaseKeyboardFocus(this);
    // At shutdown the console is gone before the GUI.
    if (Console) Console->LocalHUDVisible = false;
}

void tGUIStdConsole::CloseConsoleC(const ShortString&) {
    if (FRegionState != REGION_MINIMIZED) FRegionState = REGION_MINIMIZING;
}

int32_t tGUIStdConsole::MaxLineLength() const {
    return int32_t(float(GUIScreenWidth() * LineLengthPer1024Pixels / 1024) / CurrentUIScale());
}

void tGUIStdConsole::Update() {
    ProcTrace trace("tGUIStdConsole.Update(" + ClassName() + ")");
    const auto Width = static_cast<float>(GUIScreenWidth());
    // The console is laid out for 1024 x 768 and grows with the interface.
    ConsoleGeometry.SetRect(0, 0, Width, float(ScaledPixels(PanelHeight)));
    TextBarGeometry.SetRect(0, float(ScaledPixels(TextBarTop)), Width, float(ScaledPixels(TextBarBottom)));
}

TGUIMessage tGUIStdConsole::GUI_Timer(float DeltaSeconds) {
    switch (FRegionState) {
        case REGION_MINIMIZING:
            if (C_Position < ClosedPosition) C_Position += SlideStep;
            else FRegionState = REGION_MINIMIZED;
            break;
        case REGION_MAXIMIZING:
            if (C_Position < SlideStep + 1) FRegionState = REGION_MAXIMIZED;
            else C_Position -= SlideStep;
            break;
        default: break;
    }
    CT = IdentityMatrix4;
    MTranslateMatrixF(CT, 0, static_cast<float>(-ScaledPixels(C_Position)), 0);
    return FRegionState == REGION_MINIMIZED ? GUIMSG_REQUEST_CLOSE : GUIMSG_NOTHING;
}

void tGUIStdConsole::Render() {
    ConsoleGeometry.Draw(ConsoleShader, CT);
    TextBarGeometry.Draw(TextBarShader, CT);
    if (!Console) return;

    tConsoleMessagesHistory* History = Console->GetMessagesHistory();
    // A page scrolled back stays within the messages held (Clear empties them).
    ScrollBack = std::clamp(ScrollBack, 0, std::max(0, History->GetTotalMessages() - MaxMessagesShown));
    const int32_t Shown = std::min(History->GetTotalMessages() - ScrollBack, MaxMessagesShown);
    tConsoleMessage Msg;
    for (int32_t I = 1; I <= Shown; ++I) {
        History->GetMessage(I + ScrollBack, Msg);
        OutTextXY(4, ScaledPixels(MessagesBottom - C_Position) - TextLineHeight() * I, Msg.Msg, Msg.MsgColor);
    }
    const int32_t BarTextY = ScaledPixels(TextBarTop + 1 - C_Position);
    OutTextXY(4, BarTextY, ">" + TextBuffer, InputColour);
    OutTextXY(4, BarTextY, " " + Cursor.Mark(TextBuffer), InputColour);
    const ShortString Version = EngineBuildVersion;
    OutTextXY(GUIScreenWidth() - TitleCharWidth() * (static_cast<int32_t>(Version.size()) + 1), BarTextY, Version,
              GUIVersionColour);
}

void tGUIStdConsole::SetLine(const ShortString& Line) {
    TextBuffer = Line;
    if (Console) Console->GetCommandsHistory()->SetCurrentCommand(TextBuffer);
}

void tGUIStdConsole::TypeCharacter(uint8_t Key) {
    if (static_cast<int32_t>(TextBuffer.size()) >= MaxLineLength()) return;
    SetLine(Cursor.Typed(TextBuffer, KeyCharacter(Key, ShiftHeld())));
}

void tGUIStdConsole::RunLine() {
    std::size_t Start = 0;
    while (Start < TextBuffer.size() && (TextBuffer[Start] == '/' || TextBuffer[Start] == '\\')) ++Start;
    const ShortString Line = TextBuffer.substr(Start);
    // Stored and cleared before it runs: the command may close this window.
    SetLine("");
    ScrollBack = 0;
    if (Line.empty() || !Console) return;
    Console->GetCommandsHistory()->PutCommand(Line);
    Console->RunTypedLine(Line);
}

void tGUIStdConsole::Complete() {
    if (!Console) return;
    const tCompletion C = Console->CompleteLine(TextBuffer, Cursor.At(TextBuffer));
    if (ListOnNextTab && C.Matches.size() > 1) ListMatches(C.Matches);
    SetLine(C.Line);
    Cursor.Place(TextBuffer, C.Cursor);
    ListOnNextTab = C.Matches.size() > 1;
}

void tGUIStdConsole::ListMatches(const std::vector<ShortString>& Matches) {
    ShortString Row;
    for (const ShortString& Name : Matches) {
        if (!Row.empty() && Row.size() + 2 + Name.size() > ListedLineLength) {
            Console->Display(Row);
            Row.clear();
        }
        if (!Row.empty()) Row += "  ";
        Row += Name;
    }
    if (!Row.empty()) Console->Display(Row);
    ScrollBack = 0;
}

void tGUIStdConsole::Scroll(int32_t Messages) {
    if (!Console) return;
    const int32_t Most = std::max(0, Console->GetMessagesHistory()->GetTotalMessages() - MaxMessagesShown);
    ScrollBack = std::clamp(ScrollBack + Messages, 0, Most);
}

bool tGUIStdConsole::GUI_Key(uint8_t Key, bool Pressed) {
    // The mouse belongs to the regions below the console.
    if (IsMouseKey(Key)) return true;
    if (!Pressed || !OwnsConsole) return false;
    const bool TabBefore = std::exchange(ListOnNextTab, false);
    ShortString Edited = TextBuffer;
    if (Cursor.Edit(Edited, Key)) {
        if (Edited != TextBuffer) SetLine(Edited);
        return false;
    }
    switch (Key) {
        case KEY_TAB:
            ListOnNextTab = TabBefore;
            Complete();
            break;
        case KEY_PRIOR: Scroll(MaxMessagesShown - 1); break;
        case KEY_NEXT: Scroll(1 - MaxMessagesShown); break;
        case KEY_RETURN:
            if (!TextBuffer.empty()) RunLine();
            break;
        case KEY_ESCAPE:
            if (!TextBuffer.empty()) SetLine("");
            else CloseConsoleC("");
            break;
        case KEY_LEFTOF1: CloseConsoleC(""); break;
        case KEY_UP:
        case KEY_DOWN: {
            if (!Console) break;
            tConsoleCommandsHistory* History = Console->GetCommandsHistory();
            TextBuffer = Key == KEY_UP ? History->MoveBack() : History->MoveForward();
            Cursor.FromEnd = 0;
            break;
        }
        default:
            if (IsCharacterKey(Key)) TypeCharacter(Key);
            break;
    }
    return false;
}
