#pragma once
// What a game controller or a flight stick does in flight. Each action is a
// console variable holding the inputs it is on, separated by blanks, so one
// list serves a game controller and a plain joystick alike:
// - a game controller's axes and buttons by SDL's names ("leftx", "righty",
//   "lefttrigger", "a", "start", "leftshoulder", "dpup");
// - a plain joystick's by number ("axis0", "button3");
// - an axis with "+" or "-" in front is one half of it (a digital action
//   pressed when the axis leans that way; for roll and pitch, "-" turns the
//   axis round).
// Roll and pitch move the pointer's offset from the window centre, as the
// mouse does; the others hold the key the aircraft reads, so the flight
// recorder sees a controller as it sees the keyboard and the mouse.

#include <cstdint>
#include <iterator>

#include "kernel/core/shortstring.h"

enum tPadActionKind : uint8_t { PAD_POINTER_X, PAD_POINTER_Y, PAD_KEY };

struct tPadAction {
    const char* Var;       // the console variable holding the inputs
    const char* Label;     // what the controls page calls the action
    const char* Defaults;  // a game controller's input, then a flight stick's
    tPadActionKind Kind;
    uint8_t Code;          // the key the action holds (PAD_KEY)
};

// The key codes of the aircraft's fire, throttle and orbit controls and of
// the menu's Escape.
inline constexpr uint8_t PadFireKey = 1, PadThrottleUpKey = 7, PadThrottleDownKey = 10;
inline constexpr uint8_t PadOrbitKey = 'P', PadMenuKey = 27;

inline constexpr tPadAction PadActions[] = {
    {"PadRoll", "Roll", "leftx axis0", PAD_POINTER_X, 0},
    {"PadPitch", "Pitch", "lefty axis1", PAD_POINTER_Y, 0},
    {"PadYawLeft", "Yaw left", "leftshoulder -axis2", PAD_KEY, 'V'},
    {"PadYawRight", "Yaw right", "rightshoulder +axis2", PAD_KEY, 'B'},
    {"PadThrottleUp", "Throttle up", "-righty -axis3", PAD_KEY, PadThrottleUpKey},
    {"PadThrottleDown", "Throttle down", "+righty +axis3", PAD_KEY, PadThrottleDownKey},
    {"PadFire", "Fire", "righttrigger button0", PAD_KEY, PadFireKey},
    {"PadCamera", "Orbit camera", "y button1", PAD_KEY, PadOrbitKey},
    {"PadMenu", "Menu", "start button2", PAD_KEY, PadMenuKey},
};
inline constexpr int32_t PadActionCount = static_cast<int32_t>(std::size(PadActions));

// The dead zone (part of an axis's travel around its centre that does
// nothing) and the response curve (the exponent the rest is raised to).
inline constexpr const char* PadDeadZoneVar = "ControllerDeadZone";
inline constexpr const char* PadCurveVar = "ControllerCurve";
inline constexpr float DefaultPadDeadZone = 0.15f, MaxPadDeadZone = 0.9f;
inline constexpr float DefaultPadCurve = 1.5f, MinPadCurve = 1.0f, MaxPadCurve = 4.0f;

// Defines each action's variable (and the dead zone and curve) with its defaults; variables already set
// (by a script) keep their value.
void RegisterPadActionVars();
// The inputs the action is on now ("" for none).
ShortString PadActionInputs(const tPadAction& A);
// An axis value in -1 ... 1 through the dead zone and the curve: 0 inside the
// dead zone, then rising from 0 to 1 as the power Curve of the travel left.
float ShapePadAxis(float Value, float DeadZone, float Curve);
