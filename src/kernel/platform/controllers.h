#pragma once
// Game controllers and flight sticks through SDL's game-controller and
// joystick interfaces, plugged in and pulled out while the game runs.
//
// In flight each action of the pad table (kernel/gui/padactions.h) holds the
// key the aircraft reads or leans the pointer's offset from the window
// centre, so the aircraft, the flight recorder and its replays see a
// controller as they see the keyboard and the mouse. While a window is open
// the pad drives the GUI: the d-pad and the left stick move the focus frame
// from widget to widget (up, down) and step the framed widget's value (left,
// right), as the shoulders do; A is Enter, B goes back (the window's "Back"
// button, else Escape), Start is Escape.
//
// Every key a controller holds is released when it goes, when a window opens
// or closes in between, and while a flight is replayed.

#include <SDL2/SDL_events.h>
#include <SDL2/SDL_gamecontroller.h>

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/gui/padactions.h"
#include "libraries/classes/commandbindings.h"

// One input of a binding: an axis (or a half of one) or a button of either
// interface.
struct tPadInput {
    enum tSource : uint8_t { NONE, PAD_AXIS, PAD_BUTTON, STICK_AXIS, STICK_BUTTON } Source = NONE;
    int8_t Sign = 0;  // -1 or +1 for half an axis (or a turned-round one), 0 for the whole
    int32_t Index = 0;
};

// "leftx", "-righty", "a", "axis2", "+axis3", "button0"; false for anything else.
bool ParsePadInput(const ShortString& Name, tPadInput& Input);
// Whether every blank-separated word of Inputs is an input (none at all is fine).
bool IsValidPadBinding(const ShortString& Inputs);

class tControllers {
public:
    static constexpr int32_t MaxDevices = 4;
    // Pixels off centre a whole tilt of the stick stands for.
    static constexpr float PointerReach = 60.0f;
    // How far a half axis leans before it counts as a press.
    static constexpr float PressedAt = 0.5f;

    // SendKey hands a key to the viewport's current input device.
    explicit tControllers(void (*SendKey)(uint8_t Key, bool Pressed));
    ~tControllers();
    tControllers(const tControllers&) = delete;
    tControllers& operator=(const tControllers&) = delete;

    // A device event from the window's queue (added, removed); others are ignored.
    void HandleEvent(const SDL_Event& E);
    // Reads every device and sends the keys that changed to the input device.
    void Poll();
    // The pointer offset the sticks add to the mouse's, in pixels.
    int32_t PointerX() const { return OffsetX; }
    int32_t PointerY() const { return OffsetY; }
    // A short rumble on every device that can, Strength 0 ... 1.
    void Rumble(float Strength, float Seconds);
    // While on, the first input moved or pressed is kept for the controls
    // page (TakeCaptured) instead of acting.
    void SetCapturing(bool On);
    ShortString TakeCaptured();

    // "VirtualController attach|detach|axis name value|button name 0|1": a
    // game controller made of software, for scripts and tests.
    void VirtualControllerC(const ShortString& Args);

private:
    struct tDevice {
        SDL_Joystick* Joystick = nullptr;
        SDL_GameController* Pad = nullptr;  // set when SDL knows its layout
        SDL_JoystickID Id = -1;
        ShortString Name;
    };
    struct tBinding {
        tPadInput Inputs[4];
        int32_t Count = 0;
        ShortString Text;  // what Inputs were read from
    };

    void Open(int32_t DeviceIndex);
    void Close(SDL_JoystickID Id);
    void ReadBindings();
    float ValueOf(const tDevice& D, const tPadInput& In) const;
    float ActionValue(int32_t Action) const;
    // The inputs leaning or pressed on every device now, each as one number
    // (device slot, source, half, index); InputName gives its binding name.
    static constexpr int32_t MaxActive = 64;
    int32_t ActiveInputs(int32_t (&Out)[MaxActive]) const;
    static ShortString InputName(int32_t Code);
    void Capture();
    void ComputeFlight(bool (&Want)[256]);
    void ComputeMenu(bool (&Want)[256]);
    void Send(uint8_t Key, bool Pressed);
    void ReleaseAll();

    void (*SendKeyTo)(uint8_t, bool) = nullptr;
    bool Initialised = false;
    tDevice Devices[MaxDevices];
    tBinding Bindings[sizeof(PadActions) / sizeof(PadActions[0])];
    bool Held[256] = {};
    int32_t OffsetX = 0, OffsetY = 0;
    float DeadZone = DefaultPadDeadZone, Curve = DefaultPadCurve;
    bool Capturing = false;
    bool CaptureStarted = false;
    int32_t HeldAtStart[MaxActive] = {};  // active when the wait began and not at rest since
    int32_t HeldAtStartCount = 0;
    ShortString Captured;
    bool BackWasDown = false, BackIsEscape = false;
    int32_t LastVertical = 0, LastSideways = 0;  // the d-pad's direction at the last poll
    void DetachVirtual();
    SDL_Joystick* Virtual = nullptr;  // the virtual controller, held to set its inputs
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
