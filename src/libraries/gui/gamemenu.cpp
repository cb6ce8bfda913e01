#include "libraries/gui/gamemenu.h"

#include "kernel/core/commandline.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/gui/view.h"
#include "kernel/gui/windowmanager.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

namespace {

constexpr const char* SpawnPlayer = "SpawnClass %PlaneChassis \"64 64 200\"";

}  // namespace

tGameMenu::tGameMenu(tWindowManager& Manager) : WM(Manager) {
    Console->RegisterCommand("EnterGame", ConsoleProc<&tGameMenu::EnterGameC>(this), Commands);
    Console->RegisterCommand("ToggleMainMenu", ConsoleProc<&tGameMenu::ToggleMainMenuC>(this), Commands);
    Console->RegisterCommand("Play", ConsoleProc<&tGameMenu::PlayC>(this), Commands);
    Console->RegisterCommand("ApplyDisplay", ConsoleProc<&tGameMenu::ApplyDisplayC>(this), Commands);
    // The weather the menu's combo box shows first: the level's own sky.
    if (EngineVars && !EngineVars->IsVarDefined("Weather")) EngineVars->SetVar("Weather", "tCloudyDay");
}

bool tGameMenu::IsOpen() {
    for (const char* ID : MenuViews)
        if (tGUIView* V = WM.FindView(ID); V && !WM.ClosingViewsList->IsItemOnList(V)) return true;
    return false;
}

void tGameMenu::Open() {
    if (!IsOpen()) WM.LoadGUIFile(MenuFile);
    // In the match the menu stops the game; over the level at start it does not.
    if (MatchStarted && Engine) Engine->MenuPaused = true;
}

void tGameMenu::Close() {
    for (const char* ID : MenuViews)
        if (tGUIView* V = WM.FindView(ID)) WM.CloseView(V);
    if (Engine) Engine->MenuPaused = false;
}

void tGameMenu::StartMatch() {
    if (MatchStarted) return;
    MatchStarted = true;
    Console->SendCommand(SpawnPlayer, true);
}

// Each level that starts (the level script run again too) begins a match
// of its own: its aircraft comes with "Play", or at once without the menu.
void tGameMenu::EnterGameC(const ShortString&) {
    MatchStarted = false;
    if (StartsWithoutPlayer) return;
    if (CommandLine.SkipMenu) StartMatch();
    else Open();
}

// Before the first flight, leaving the menu means playing: closing it alone
// would leave the player watching the level with no aircraft.
void tGameMenu::ToggleMainMenuC(const ShortString& Args) {
    if (IsOpen() && !MatchStarted) PlayC(Args);
    else if (IsOpen()) Close();
    else Open();
}

// In the match the player goes back to the flight, in the aircraft and
// with the gun the menu shows when they changed (the game's "SpawnPlayer").
void tGameMenu::PlayC(const ShortString&) {
    Close();
    if (MatchStarted) Console->SendCommand("SpawnPlayer", true);
    else StartMatch();
}

void tGameMenu::ApplyDisplayC(const ShortString&) {
    if (!Engine || !Engine->Viewport) return;
    tViewport* V = Engine->Viewport;
    tEngineConfiguration& C = Engine->EngineConfig;
    // A size that cannot be had leaves the window as it is, and the options
    // (saved at exit) say so.
    if (const ShortString Error = WindowSizeError(C.ScreenWidth, C.ScreenHeight, Engine->Renderer); !Error.empty()) {
        Console->DisplayError(Error);
        C.ScreenWidth = V->GetViewportWidth();
        C.ScreenHeight = V->GetViewportHeight();
        return;
    }
    if (C.ScreenWidth == V->GetViewportWidth() && C.ScreenHeight == V->GetViewportHeight() && C.FullScreen == V->FullScreen)
        return;
    V->ResizeViewport(Engine->NewViewportParams(V->GetInputDevice()));
    // The layouts were placed for the old size: the options page comes back
    // placed for the new one.
    if (tGUIView* Options = WM.FindView("options")) {
        WM.CloseView(Options);
        Console->QueryCommand("AddGUI UI\\Options.gui");
    }
    WM.RecheckMouse = true;
}
