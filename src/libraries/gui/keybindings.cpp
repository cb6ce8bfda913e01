#include "libraries/gui/keybindings.h"

#include <algorithm>
#include <iterator>

#include "kernel/console/console.h"
#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/gui/keyboard.h"
#include "libraries/gui/varbinding.h"

Z_IMPLEMENT_CLASS(tGUIKeyBindingList)

namespace {

struct tCommandLabel {
    const char* Command;
    const char* Label;
};

// What the page calls the game's usual commands; any other bound command
// shows as it is written.
constexpr tCommandLabel Labels[] = {
    {"ToggleMainMenu", "Main menu"},
    {"ToggleConsole", "Console"},
    {"Toggle EnginePaused", "Pause"},
    {"Toggle MouseLook", "Mouse look"},
    {"Toggle ShowFPS", "Show FPS"},
    {"Toggle ShowStats", "Show statistics"},
    {"Toggle WireFrame", "Wireframe"},
    {"ScreenShot", "Screenshot"},
    {"Quit", "Quit"},
    {"+MoveUp", "Camera forward"},
    {"+MoveDown", "Camera back"},
    {"+LookLeft", "Camera turn left"},
    {"+LookRight", "Camera turn right"},
    {"+LookUp", "Camera look up"},
    {"+LookDown", "Camera look down"},
    {"+RaiseCamera", "Camera climb"},
    {"+LeaveCamera", "Camera sink"},
    {"+MoveLeft", "Camera slide left"},
    {"+MoveRight", "Camera slide right"},
    {"StopCamera", "Camera stop"},
    {"ZoomIn 5", "Zoom in"},
    {"ZoomOut 5", "Zoom out"},
    {"SpawnClass tCloudyDay 14", "Weather: cloudy day"},
    {"SpawnClass tClearDay 12", "Weather: clear day"},
    {"SpawnClass tCloudyDay 23", "Weather: cloudy night"},
    {"SpawnClass tStormyDay 16", "Weather: storm"},
    {"SpawnClass tHellfire 18", "Weather: hellfire"},
};

// Keys whose names say little to a player.
constexpr tCommandLabel KeyNames[] = {{"PRIOR", "PAGE UP"}, {"NEXT", "PAGE DOWN"}, {"COMMA2", "`"}};

constexpr int32_t FlightRows = static_cast<int32_t>(std::size(FlightKeys));

ShortString CommandLabel(const ShortString& Command) {
    for (const tCommandLabel& L : Labels)
        if (UpCaseStr(Command) == UpCaseStr(L.Command)) return L.Label;
    return Command;
}

// "J" for VK_J; "-" for no key.
ShortString KeyLabel(uint8_t Key) {
    const ShortString Name = MapKeys(Key);
    if (Key == 0 || Name.empty()) return "-";
    const ShortString Short = Name.view().substr(0, 3) == "VK_" ? ShortString(Name.view().substr(3)) : Name;
    for (const tCommandLabel& K : KeyNames)
        if (Short == K.Command) return K.Label;
    return Short;
}

}  // namespace

tGUIKeyBindingList::tGUIKeyBindingList(const ShortString& Params) : tGUIComboListBox(Params) { Refresh(); }

void tGUIKeyBindingList::Refresh() {
    const int32_t Keep = Selected, Top = FirstShown;
    ClearItems();
    for (const tFlightKey& K : FlightKeys) AddItem(ShortString(K.Label) + "=" + KeyLabel(FlightKeyOf(K)));
    CommandRows = 0;
    if (tEngineConsole* C = GameConsole()) {
        for (int K = 1; K < 256 && FlightRows + CommandRows < MaxItems; ++K)
            if (!C->GetBinding(static_cast<uint8_t>(K)).empty()) CommandKeys[CommandRows++] = static_cast<uint8_t>(K);
        // By command, so a row keeps its place when its key changes.
        std::stable_sort(CommandKeys, CommandKeys + CommandRows, [C](uint8_t A, uint8_t B) {
            return UpCaseStr(CommandLabel(C->GetBinding(A))) < UpCaseStr(CommandLabel(C->GetBinding(B)));
        });
        for (int32_t I = 0; I < CommandRows; ++I)
            AddItem(CommandLabel(C->GetBinding(CommandKeys[I])) + "=" + KeyLabel(CommandKeys[I]));
    }
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
    } else if (tEngineConsole* C = GameConsole(); C && Row - FlightRows < CommandRows) {
        const uint8_t Old = CommandKeys[Row - FlightRows];
        if (Old == Key) return;
        const ShortString Moved = C->GetBinding(Old), Displaced = C->GetBinding(Key);
        C->Bind(Key, Moved);
        if (Displaced.empty()) C->Unbind(Old);
        else C->Bind(Old, Displaced);
    }
    Refresh();
}

bool tGUIKeyBindingList::GUI_Key(uint8_t Key, bool Pressed) {
    if (!Waiting) return tGUIComboListBox::GUI_Key(Key, Pressed);
    // The key's release (and the mouse) do not end the wait.
    if (!Pressed || IsMouseKey(Key)) return false;
    Waiting = false;
    if (Key != KEY_ESCAPE) Rebind(Selected, Key);
    Refresh();
    return false;
}

void tGUIKeyBindingList::PointAt(const TPoint& P, bool Pressed) {
    tGUIComboListBox::PointAt(P, Pressed);
    if (Pressed && RowAt(P, Y) >= 0) Waiting = true;
}
