#pragma once
// The window manager: the GUI subsystem and the viewport's input device. It
// holds the desktop with every loaded layout under it, routes keys and mouse
// buttons to the region under the mouse (or the one that captured it, or the
// view that holds the keyboard), drags, resizes and docks regions itself, and
// passes on to the previous input device (the console) what the GUI does not
// consume. Views close at the end of a tick, never inside their own handlers.

#include <cstdint>

#include "kernel/gui/responder.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/viewport.h"

class tAudioSource;
class tGameMenu;
class tGUIDesktop;
class tGUIRegion;
class tGUIView;

// Views in registration order, 1-based; the list never owns its views.
class tViewsList : public tList {
public:
    tViewsList() : tList("tGUIView") {}
    tGUIView* GetView(int32_t I) const;
};

class tWindowManager : public tGUIManager {
    Z_DECLARE_CLASS(tWindowManager, tGUIManager)
public:
    static constexpr int32_t MinScreenWidth = MinWindowWidth;
    static constexpr int32_t MinScreenHeight = MinWindowHeight;

    tWindowManager();
    ~tWindowManager() override;

    // Once every subsystem exists: joins the engine and makes the desktop.
    void PostInit();

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override;
    void SendKey(uint8_t Key, bool Pressed) override;
    // A view other than the desktop is open (and visible).
    bool HoldsInput() override;
    bool ShowsWindow() override;
    bool GoBack() override;
    bool StepFocus(int32_t Step) override;
    void StepFocusedValue(int32_t Direction) override;

    virtual void SetCapture(tGUIRegion* Region) { CapturedRegion = Region; }
    virtual void ReleaseCapture() { CapturedRegion = nullptr; }
    virtual void SetCursorForm(TCursorForm Form) { CursorForm = Form; }
    virtual void SetTopmostRegion(tGUIRegion* Region) { TopmostRegion = Region; }
    virtual bool IsRegionTopmost(const tGUIRegion* Region) { return Region == TopmostRegion; }
    virtual TCursorForm GetCursorForm() { return CursorForm; }
    // The cursor drawn now: the GUI's while a window is open, the arrow while
    // the game stands still, otherwise the one the game asked for.
    TCursorForm ShownCursorForm();
    virtual tViewsList* GetDockableViewsList() { return DockableViewsList; }
    virtual void RegisterView(tGUIView* View);
    virtual void UnRegisterView(tGUIView* View);

    // Keyboard keys go to View whatever the mouse points at, until it lets go
    // or goes (the console window takes the keyboard while it is open; a
    // clicked input line keeps it until its view goes). Letting go hands the
    // keyboard back to the view that had it before, if that one is still there.
    void SetKeyboardFocus(tGUIView* View);
    void ReleaseKeyboardFocus(const tGUIAtom* View);
    // Loads a layout file under the desktop; false (with a console error)
    // when the file or its loader does not exist.
    bool LoadGUIFile(const ShortString& Name);
    // Marks the view for closing at the end of the tick.
    void CloseView(tGUIView* View);
    // The first registered view with the given ID, or nullptr.
    tGUIView* FindView(const ShortString& ID);
    tGUIDesktop* GetDesktop() { return Desktop; }
    // The widget that takes the arrow keys, Enter and Space (framed on screen).
    tGUIView* GetFocusedView() { return FocusedView; }
    void SetFocusedView(tGUIView* View) { FocusedView = View; }
    // Moves the focus to the next (Step 1) or previous (-1) widget of the
    // window that has it, wrapping around.
    void MoveFocus(int32_t Step);
    // Whether Key is held down now, whatever the game's key table says.
    bool IsKeyHeld(uint8_t Key) const { return HeldKeys[Key]; }
    // Plays a sound of the interface (a button's click). The manager keeps
    // the source, so the sound outlives the view that asked for it.
    void PlaySound(const ShortString& FileName);
    const TPoint& GetMousePosition() const { return MousePosition; }

    void AddGUIC(const ShortString& Args);
    void ResetGUIC(const ShortString& Args);
    void CloseViewC(const ShortString& Args);

    tViewsList* GlobalViewsList;
    tViewsList* DockableViewsList;
    tAtomsList* ClosingViewsList;  // views and other desktop children to dispose
    tGUIDesktop* Desktop = nullptr;
    bool RecheckMouse = false;
    tGUIRegion* TopmostRegion = nullptr;
    tGUIRegion* ActiveRegion = nullptr;
    tGUIRegion* CapturedRegion = nullptr;
    tGUIRegion* RegionBeenSized = nullptr;
    tGUIRegion* RegionBeenDragged = nullptr;
    TPoint MousePosition;
    tInputDevice* OldInputDevice = nullptr;
    TCursorForm CursorForm = CFORM_ARROW;

private:
    void CheckMouse();
    // A visible region under the desktop that is not closing; with
    // CountConsole false the console window is not counted.
    bool AnyWindowOpen(bool CountConsole);
    // Disposes the views marked for closing.
    void PurgeViews();
    void DropActiveRegions();
    // Clears every reference to Region (it is going away).
    void ForgetRegion(const tGUIAtom* Region);
    // The region the event goes to: captured, keyboard focus, or under the mouse.
    tGUIRegion* TargetOf(uint8_t Key);
    void RouteMouseButton(tGUIRegion* T, uint8_t Key, bool Pressed);
    void UpdateCursorForm();
    // Brings the game's key table, the pointer and the pause in line with
    // whether a window is open.
    void UpdateInputOwnership();
    // The game's key table entry Code from the keys held now.
    void RefreshGameKey(uint8_t Code);
    // The desktop child that holds the focus, or the newest one.
    tGUIAtom* FocusedWindow();
    // The first widget under Root that takes the focus, depth first.
    tGUIView* FirstFocusable(tGUIAtom* Root);

    tGUIView* KeyboardFocus = nullptr;
    tGUIView* PreviousKeyboardFocus = nullptr;
    tGUIView* FocusedView = nullptr;
    bool HeldKeys[256] = {};      // every key as it is now
    uint8_t GameKeyMap[256] = {};  // key -> the code the game sees for it
    bool InputHeld = false;       // as UpdateInputOwnership last saw it
    tAudioSource* Sound = nullptr;  // owned
    tGameMenu* Menu = nullptr;      // owned
    ShortString SoundFile;          // what Sound plays
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
