#pragma once
// The GUI manager: the input device that routes key and mouse events to the
// regions drawn over the 3D frame. It ticks and draws after every other
// subsystem. While it holds the input (a window is open), the game and the
// free camera get no key, button or mouse motion.

#include "libraries/classes/subsystem.h"

enum TCursorForm : int32_t { CFORM_NOCURSOR = 0, CFORM_ARROW = 1, CFORM_CORNERRESIZE = 2, CFORM_MOVE = 3 };

class tGUIManager : public tInputDevice {
    Z_DECLARE_CLASS(tGUIManager, tInputDevice)
public:
    // Whether a window is open and takes the keyboard and the mouse.
    virtual bool HoldsInput() { return false; }
    // Whether a window other than the console is open (the menu, the
    // options...): the game's own overlay, the HUD, hides under it.
    virtual bool ShowsWindow() { return false; }
    // The cursor the game asks for while no window is open (hidden in
    // flight and mouse look, the arrow while the camera scrolls at the edges).
    virtual void SetGameCursor(TCursorForm Form) { GameCursor = Form; }
    // A game controller's B: presses the "Back" button of the window that has
    // the focus; false when that window has none.
    virtual bool GoBack() { return false; }
    // A game controller's d-pad: the focus to the next (1) or previous (-1)
    // widget of the open window; false when no window takes it.
    virtual bool StepFocus(int32_t /*Step*/) { return false; }
    // A game controller's shoulders: the framed widget's value (a spin box's
    // number, a list's row) one step down (-1) or up (1).
    virtual void StepFocusedValue(int32_t /*Direction*/) {}

    TCursorForm GameCursor = CFORM_NOCURSOR;
};
