#include "libraries/gui/keybindings.h"

#include <iterator>

#include "kernel/console/console.h"
#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "libraries/gui/varbinding.h"

Z_IMPLEMENT_CLASS(tGUIKeyBindingList)

namespace {

struct tBoundCommand {
    const char* Label;
    const char* Command;
};

// The game's commands that the page offers, as console.cfg binds them.
constexpr tBoundCommand Commands[] = {
    {"Main menu", "ToggleMainMenu"}, {"Console", "ToggleConsole"},      {"Pause", "Toggle EnginePaused"},
    {"Mouse look", "Toggle MouseLook"}, {"Show FPS", "Toggle ShowFPS"}, {"Screenshot", "ScreenShot"},
};

constexpr int32_t FlightRows = static_cast<int32_t>(std::size(FlightKeys));
constexpr uint8_t KeyEscape = 27;

tEngineConsole* GameConsole() {
    return Console && Console->DynamicCast("tEngineConsole") ? static_cast<tEngineConsole*>(Console) : nullptr;
}

// The first key bound to exactly Command, 0 when none.
uint8_t KeyOfCommand(const char* Command) {
    tEngineConsole* C = GameConsole();
    for (int K = 1; C && K < 256; ++K)
        if (UpCaseStr(C->GetBinding(static_cast<uint8_t>(K))) == UpCaseStr(Command)) return static_cast<uint8_t>(K);
    return 0;
}

// "J" for VK_J; "-" for no key.
ShortString KeyLabel(uint8_t Key) {
    const ShortString Name = MapKeys(Key);
    if (Key == 0 || Name.empty()) return "-";
    return Name.view().substr(0, 3) == "VK_" ? ShortString(Name.view().substr(3)) : Name;
}

}  // namespace

tGUIKeyBindingList::tGUIKeyBindingList(const ShortString& Params) : tGUIComboListBox(Params) { Refresh(); }

void tGUIKeyBindingList::Refresh() {
    const int32_t Keep = Selected, Top = FirstShown;
    ClearItems();
    for (const tFlightKey& K : FlightKeys) AddItem(ShortString(K.Label) + "=" + KeyLabel(FlightKeyOf(K)));
    for (const tBoundCommand& C : Commands) AddItem(ShortString(C.Label) + "=" + KeyLabel(KeyOfCommand(C.Command)));
    Selected = Keep < ItemCount ? Keep : -1;
    FirstShown = Top;
    if (Waiting && Selected >= 0) Items[Selected] = ItemLabel(Selected) + "=press a key";
}

TGUIMessage tGUIKeyBindingList::GUI_Timer(float DeltaSeconds) {
    // Bindings change from the console too: the rows follow them.
    Refresh();
    return tGUIComboListBox::GUI_Timer(DeltaSeconds);
}

void tGUIKeyBindingList::Rebind(int32_t Row, uint8_t Key) {
    if (Row < 0 || Row >= ItemCount || MapKeys(Key).empty()) return;
    if (Row < FlightRows) {
        tVarBinding::Write(FlightKeys[Row].Var, MapKeys(Key));
    } else if (tEngineConsole* C = GameConsole()) {
        const tBoundCommand& Cmd = Commands[Row - FlightRows];
        if (const uint8_t Old = KeyOfCommand(Cmd.Command)) C->Unbind(Old);
        C->Bind(Key, Cmd.Command);
    }
    Refresh();
}

bool tGUIKeyBindingList::GUI_Key(uint8_t Key, bool Pressed) {
    if (!Waiting) return tGUIComboListBox::GUI_Key(Key, Pressed);
    // The key's release (and the mouse) do not end the wait.
    if (!Pressed || IsMouseKey(Key)) return false;
    Waiting = false;
    if (Key != KeyEscape) Rebind(Selected, Key);
    Refresh();
    return false;
}

void tGUIKeyBindingList::PointAt(const TPoint& P, bool Pressed) {
    tGUIComboListBox::PointAt(P, Pressed);
    if (Pressed && RowAt(P, Y) >= 0) Waiting = true;
}
