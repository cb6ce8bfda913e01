#pragma once
// The GUI's shared types and the responder: the atom that receives the window
// manager's mouse, key and timer events. Every handler of the base does
// nothing; a key it does not handle is passed on.

#include <cstdint>

#include "libraries/classes/guiatom.h"
#include "libraries/classes/guimanager.h"

// Screen pixels, origin at the top left.
struct TPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const TPoint&) const = default;
};

enum TGUIMessage : int32_t { GUIMSG_NOTHING = 0, GUIMSG_REQUEST_CLOSE = 1, GUIMSG_RECHECK_MOUSE = 2 };
enum TRegionState : int32_t {
    REGION_MINIMIZED = 0,
    REGION_MAXIMIZED = 1,
    REGION_MINIMIZING = 2,
    REGION_MAXIMIZING = 3,
    REGION_SHRINKING = 4,
    REGION_SHRINKED = 5,
};
enum TDockingType : int32_t { DOCKING_MOVE = 0, DOCKING_RESIZE = 1 };
enum TDirection : int32_t { DIR_UP = 0, DIR_DOWN = 1 };

// The engine's key codes of the mouse events.
inline constexpr uint8_t KEY_LBUTTON = 1;
inline constexpr uint8_t KEY_RBUTTON = 2;
inline constexpr uint8_t KEY_MBUTTON = 4;
inline constexpr uint8_t KEY_WHEELUP = 5;
inline constexpr uint8_t KEY_WHEELDOWN = 6;
inline constexpr uint8_t KEY_XBUTTON1 = 7;
inline constexpr uint8_t KEY_XBUTTON2 = 10;
inline constexpr uint8_t KEY_LDOUBLECLICK = 14;
inline constexpr uint8_t KEY_RDOUBLECLICK = 15;

// Whether a key code carries a mouse event rather than a keyboard key.
bool IsMouseKey(uint8_t Key);

class tGUIResponder : public tGUIAtom {
    Z_DECLARE_CLASS(tGUIResponder, tGUIAtom)
public:
    using tGUIAtom::tGUIAtom;

    virtual void GUI_MouseInside(const TPoint& P) {}
    virtual void GUI_MouseOutside(const TPoint& P) {}
    virtual void GUI_StartDragging(const TPoint& P) {}
    virtual void GUI_StopDragging(const TPoint& P) {}
    virtual void GUI_StartResize(const TPoint& P) {}
    virtual void GUI_StopResize(const TPoint& P) {}
    virtual void GUI_MouseLeft(const TPoint& P, bool Pressed) {}
    virtual void GUI_MouseRight(const TPoint& P, bool Pressed) {}
    virtual void GUI_LDoubleClick(const TPoint& P) {}
    virtual void GUI_RDoubleClick(const TPoint& P) {}
    virtual void GUI_Minimized() {}
    virtual void GUI_Maximized() {}
    virtual void GUI_Shrinked() {}
    virtual void GUI_CaptureChanged() {}
    virtual void GUI_Scroll(TDirection Direction) {}
    virtual TGUIMessage GUI_Timer(float DeltaSeconds) { return GUIMSG_NOTHING; }
    // False when the key is consumed; True passes it on.
    virtual bool GUI_Key(uint8_t Key, bool Pressed) { return true; }
};
