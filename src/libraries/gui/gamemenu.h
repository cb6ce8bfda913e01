#pragma once
// The game's main menu: shown at start over the running level (unless the
// command line asked for none), and on Escape in the game, where it holds
// the engine's menu pause until it closes. Its console commands:
// - "EnterGame" (the level script's last line): the menu, or straight into
//   the match with "--no-menu";
// - "ToggleMainMenu" (Escape): opens the menu, or closes every menu window;
//   before the first flight it is "Play";
// - "Play": closes the menu and, the first time, spawns the player's
//   aircraft; later the game's "SpawnPlayer" puts the player in the
//   aircraft and gun now chosen;
// - "ApplyDisplay": reopens the window at ScreenWidth x ScreenHeight, full
//   screen or not, as the options page chose.

#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"

class tWindowManager;

class tGameMenu {
public:
    static constexpr const char* MenuFile = "UI\\MainMenu.gui";
    // The IDs of the windows that belong to the menu.
    static constexpr const char* MenuViews[] = {"mainmenu", "options", "controls", "about", "multiplayer"};

    explicit tGameMenu(tWindowManager& WM);
    tGameMenu(const tGameMenu&) = delete;
    tGameMenu& operator=(const tGameMenu&) = delete;

    bool IsOpen();
    void Open();
    void Close();

    void EnterGameC(const ShortString& Args);
    void ToggleMainMenuC(const ShortString& Args);
    void PlayC(const ShortString& Args);
    void ApplyDisplayC(const ShortString& Args);

    bool MatchStarted = false;  // the player's aircraft has been spawned
    // While set, a level that starts neither opens the menu nor spawns the
    // player's aircraft: a dedicated server's match replayed as it was
    // flown, with no aircraft of this machine's own.
    static inline bool StartsWithoutPlayer = false;

private:
    void StartMatch();
    tWindowManager& WM;
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
