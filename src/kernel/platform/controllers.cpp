#include "kernel/platform/controllers.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <iterator>

#include "kernel/console/commands.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/gui/keyboard.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/varsmanager.h"

namespace {

constexpr float AxisScale = 1.0f / 32767.0f;
constexpr const char* VirtualName = "Virtual controller";
// A rumble's motors at full strength.
constexpr float FullRumble = 65535.0f;

int32_t TrailingNumber(std::string_view Name, std::string_view Prefix) {
    if (Name.size() <= Prefix.size() || Name.substr(0, Prefix.size()) != Prefix) return -1;
    int32_t N = 0;
    for (char C : Name.substr(Prefix.size())) {
        if (C < '0' || C > '9' || N > 1000) return -1;
        N = N * 10 + (C - '0');
    }
    return N;
}

std::string Lower(std::string_view S) {
    std::string L(S);
    for (char& C : L) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return L;
}

// The key a press of the aircraft's action Code is on now: the player may
// have moved it to another key, and the window manager maps that key back.
uint8_t FlightKeyCode(uint8_t Code) {
    for (const tFlightKey& K : FlightKeys)
        if (K.Code == Code) return FlightKeyOf(K);
    return Code;
}

// The action whose variable is Name, -1 for none.
int32_t ActionNamed(const char* Var) {
    for (int32_t I = 0; I < PadActionCount; ++I)
        if (std::string_view(PadActions[I].Var) == Var) return I;
    return -1;
}

const int32_t MenuAction = ActionNamed("PadMenu");

// A device's arrival or departure, on the console and in the log.
void Say(const ShortString& Line) {
    if (Console) Console->Display(Line);
    if (Logger) Logger->Log(Line);
}

}  // namespace

bool ParsePadInput(const ShortString& Name, tPadInput& Input) {
    std::string_view N = Name.view();
    Input = {};
    if (!N.empty() && (N[0] == '+' || N[0] == '-')) {
        Input.Sign = N[0] == '+' ? 1 : -1;
        N.remove_prefix(1);
    }
    const std::string Lower = ::Lower(N);
    if (int32_t I = TrailingNumber(Lower, "axis"); I >= 0) {
        Input.Source = tPadInput::STICK_AXIS;
        Input.Index = I;
        return true;
    }
    if (int32_t I = TrailingNumber(Lower, "button"); I >= 0 && Input.Sign == 0) {
        Input.Source = tPadInput::STICK_BUTTON;
        Input.Index = I;
        return true;
    }
    const SDL_GameControllerAxis Axis = SDL_GameControllerGetAxisFromString(Lower.c_str());
    if (Axis != SDL_CONTROLLER_AXIS_INVALID) {
        Input.Source = tPadInput::PAD_AXIS;
        Input.Index = Axis;
        return true;
    }
    const SDL_GameControllerButton Button = SDL_GameControllerGetButtonFromString(Lower.c_str());
    if (Button != SDL_CONTROLLER_BUTTON_INVALID && Input.Sign == 0) {
        Input.Source = tPadInput::PAD_BUTTON;
        Input.Index = Button;
        return true;
    }
    return false;
}

bool IsValidPadBinding(const ShortString& Inputs) {
    tPadInput In;
    for (int N = 1;; ++N) {
        const ShortString Word = GetToken(Inputs, N);
        if (Word.empty()) return true;
        if (!ParsePadInput(Word, In)) return false;
    }
}

tControllers::tControllers(void (*SendKey)(uint8_t, bool)) : SendKeyTo(SendKey) {
    // A pad keeps working while another window has the focus; the game
    // pauses then anyway.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        Logger->Log(ShortString("No game controllers: ") + SDL_GetError());
        return;
    }
    Initialised = true;
    // SDL announces the devices present at start as added ones.
    if (Console) Console->RegisterCommand("VirtualController", ConsoleProc<&tControllers::VirtualControllerC>(this), Commands);
}

tControllers::~tControllers() {
    if (!Initialised) return;
    // At shutdown: closed quietly, nothing left to release keys to.
    for (tDevice& D : Devices) {
        if (D.Pad) SDL_GameControllerClose(D.Pad);
        else if (D.Joystick) SDL_JoystickClose(D.Joystick);
    }
    DetachVirtual();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

// ---- Devices ---------------------------------------------------------------------

void tControllers::HandleEvent(const SDL_Event& E) {
    if (!Initialised) return;
    if (E.type == SDL_JOYDEVICEADDED) Open(E.jdevice.which);
    else if (E.type == SDL_JOYDEVICEREMOVED) Close(E.jdevice.which);
}

void tControllers::Open(int32_t DeviceIndex) {
    const SDL_JoystickID Id = SDL_JoystickGetDeviceInstanceID(DeviceIndex);
    for (const tDevice& D : Devices)
        if (D.Joystick && D.Id == Id) return;  // announced twice
    tDevice* Free = nullptr;
    for (tDevice& D : Devices)
        if (!D.Joystick && !Free) Free = &D;
    if (!Free) {
        Say("Controller ignored (no more than " + Int2Str(MaxDevices) + " at once): " +
            ShortString(SDL_JoystickNameForIndex(DeviceIndex)));
        return;
    }
    tDevice D;
    if (SDL_IsGameController(DeviceIndex)) {
        D.Pad = SDL_GameControllerOpen(DeviceIndex);
        D.Joystick = D.Pad ? SDL_GameControllerGetJoystick(D.Pad) : nullptr;
    } else {
        D.Joystick = SDL_JoystickOpen(DeviceIndex);
    }
    if (!D.Joystick) {
        Say(ShortString("Controller could not be opened: ") + SDL_GetError());
        return;
    }
    D.Id = SDL_JoystickInstanceID(D.Joystick);
    const char* Name = D.Pad ? SDL_GameControllerName(D.Pad) : SDL_JoystickName(D.Joystick);
    D.Name = Name ? Name : "unnamed";
    *Free = D;
    Say("Controller connected: " + D.Name + (D.Pad ? "" : " (flight stick)"));
}

void tControllers::Close(SDL_JoystickID Id) {
    for (tDevice& D : Devices) {
        if (!D.Joystick || D.Id != Id) continue;
        Say("Controller disconnected: " + D.Name);
        if (D.Pad) SDL_GameControllerClose(D.Pad);
        else SDL_JoystickClose(D.Joystick);
        D = tDevice{};
    }
    // Whatever it held lets go at once: no roll or fire stays on.
    Poll();
}

// ---- Reading ---------------------------------------------------------------------

void tControllers::ReadBindings() {
    for (int32_t A = 0; A < PadActionCount; ++A) {
        const ShortString Text = PadActionInputs(PadActions[A]);
        tBinding& B = Bindings[A];
        if (B.Count > 0 && Text == B.Text) continue;
        B.Text = Text;
        B.Count = 0;
        for (int N = 1; B.Count < static_cast<int32_t>(std::size(B.Inputs)); ++N) {
            const ShortString Word = GetToken(Text, N);
            if (Word.empty()) break;
            if (ParsePadInput(Word, B.Inputs[B.Count])) ++B.Count;
        }
    }
    if (!EngineVars) return;
    if (EngineVars->IsVarDefined(PadDeadZoneVar)) EngineVars->GetVar(PadDeadZoneVar, DeadZone);
    if (EngineVars->IsVarDefined(PadCurveVar)) EngineVars->GetVar(PadCurveVar, Curve);
}

float tControllers::ValueOf(const tDevice& D, const tPadInput& In) const {
    float V = 0;
    switch (In.Source) {
        case tPadInput::PAD_AXIS:
            if (!D.Pad) return 0;
            V = SDL_GameControllerGetAxis(D.Pad, static_cast<SDL_GameControllerAxis>(In.Index)) * AxisScale;
            break;
        case tPadInput::PAD_BUTTON:
            return D.Pad && SDL_GameControllerGetButton(D.Pad, static_cast<SDL_GameControllerButton>(In.Index)) ? 1 : 0;
        case tPadInput::STICK_AXIS:
            if (D.Pad || In.Index >= SDL_JoystickNumAxes(D.Joystick)) return 0;
            V = SDL_JoystickGetAxis(D.Joystick, In.Index) * AxisScale;
            break;
        case tPadInput::STICK_BUTTON:
            return !D.Pad && In.Index < SDL_JoystickNumButtons(D.Joystick) &&
                           SDL_JoystickGetButton(D.Joystick, In.Index)
                       ? 1
                       : 0;
        default: return 0;
    }
    V = std::clamp(V, -1.0f, 1.0f);
    if (In.Sign == 0) return V;
    return std::max(0.0f, V * In.Sign);
}

// The sum over the devices and the action's inputs, shaped, in -1 ... 1.
float tControllers::ActionValue(int32_t Action) const {
    const tBinding& B = Bindings[Action];
    const bool Whole = PadActions[Action].Kind != PAD_KEY;
    float Sum = 0;
    for (const tDevice& D : Devices) {
        if (!D.Joystick) continue;
        for (int32_t I = 0; I < B.Count; ++I) {
            const float V = ValueOf(D, B.Inputs[I]);
            // A whole axis with "-" in front is turned round.
            Sum += Whole && B.Inputs[I].Sign < 0 ? -V : V;
        }
    }
    return ShapePadAxis(std::clamp(Sum, -1.0f, 1.0f), DeadZone, Curve);
}

int32_t tControllers::ActiveInputs(int32_t (&Out)[MaxActive]) const {
    int32_t Count = 0;
    auto Add = [&Out, &Count](int32_t Slot, tPadInput::tSource Source, int32_t Index, int8_t Sign) {
        if (Count < MaxActive) Out[Count++] = Slot << 24 | Source << 16 | (Sign < 0) << 15 | Index;
    };
    for (int32_t Slot = 0; Slot < MaxDevices; ++Slot) {
        const tDevice& D = Devices[Slot];
        if (!D.Joystick) continue;
        if (D.Pad) {
            for (int A = 0; A < SDL_CONTROLLER_AXIS_MAX; ++A) {
                const float V = SDL_GameControllerGetAxis(D.Pad, static_cast<SDL_GameControllerAxis>(A)) * AxisScale;
                if (std::fabs(V) >= PressedAt) Add(Slot, tPadInput::PAD_AXIS, A, V < 0 ? -1 : 1);
            }
            for (int B = 0; B < SDL_CONTROLLER_BUTTON_MAX; ++B)
                if (SDL_GameControllerGetButton(D.Pad, static_cast<SDL_GameControllerButton>(B)))
                    Add(Slot, tPadInput::PAD_BUTTON, B, 0);
            continue;
        }
        for (int A = 0; A < SDL_JoystickNumAxes(D.Joystick); ++A) {
            const float V = SDL_JoystickGetAxis(D.Joystick, A) * AxisScale;
            if (std::fabs(V) >= PressedAt) Add(Slot, tPadInput::STICK_AXIS, A, V < 0 ? -1 : 1);
        }
        for (int B = 0; B < SDL_JoystickNumButtons(D.Joystick); ++B)
            if (SDL_JoystickGetButton(D.Joystick, B)) Add(Slot, tPadInput::STICK_BUTTON, B, 0);
    }
    return Count;
}

ShortString tControllers::InputName(int32_t Code) {
    const auto Source = static_cast<tPadInput::tSource>(Code >> 16 & 0xFF);
    const int32_t Index = Code & 0x7FFF;
    const bool Negative = Code & 0x8000;
    switch (Source) {
        case tPadInput::PAD_AXIS:
            return ShortString(Negative ? "-" : "+") +
                   SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(Index));
        case tPadInput::PAD_BUTTON:
            return SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(Index));
        case tPadInput::STICK_AXIS: return ShortString(Negative ? "-axis" : "+axis") + Int2Str(Index);
        default: return "button" + Int2Str(Index);
    }
}

// Inputs already leaning or pressed when the wait began (the A that began
// it, a throttle lever off centre) do not answer it until they were at
// rest once; the first other one does.
void tControllers::Capture() {
    int32_t Active[MaxActive];
    const int32_t Count = ActiveInputs(Active);
    if (!CaptureStarted) {
        std::copy(Active, Active + Count, HeldAtStart);
        HeldAtStartCount = Count;
        CaptureStarted = true;
        return;
    }
    // Those that came back to rest leave the list.
    int32_t Kept = 0;
    for (int32_t I = 0; I < HeldAtStartCount; ++I)
        if (std::find(Active, Active + Count, HeldAtStart[I]) != Active + Count) HeldAtStart[Kept++] = HeldAtStart[I];
    HeldAtStartCount = Kept;
    for (int32_t I = 0; I < Count && Captured.empty(); ++I)
        if (std::find(HeldAtStart, HeldAtStart + HeldAtStartCount, Active[I]) == HeldAtStart + HeldAtStartCount) Captured = InputName(Active[I]);
}

// ---- Keys and pointer ------------------------------------------------------------

void tControllers::ComputeFlight(bool (&Want)[256]) {
    float X = 0, Y = 0;
    for (int32_t A = 0; A < PadActionCount; ++A) {
        const tPadAction& P = PadActions[A];
        const float V = ActionValue(A);
        if (P.Kind == PAD_POINTER_X) X += V;
        else if (P.Kind == PAD_POINTER_Y) Y += V;
        else if (V >= PressedAt) Want[FlightKeyCode(P.Code)] = true;
    }
    OffsetX = static_cast<int32_t>(std::lround(std::clamp(X, -1.0f, 1.0f) * PointerReach));
    OffsetY = static_cast<int32_t>(std::lround(std::clamp(Y, -1.0f, 1.0f) * PointerReach));
}

void tControllers::ComputeMenu(bool (&Want)[256]) {
    bool Up = false, Down = false, Left = false, Right = false, Accept = false, Back = false;
    for (const tDevice& D : Devices) {
        if (!D.Joystick) continue;
        float StickX = 0, StickY = 0;
        if (D.Pad) {
            auto Btn = [&D](SDL_GameControllerButton B) { return SDL_GameControllerGetButton(D.Pad, B) != 0; };
            Up |= Btn(SDL_CONTROLLER_BUTTON_DPAD_UP);
            Down |= Btn(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
            Left |= Btn(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || Btn(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
            Right |= Btn(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || Btn(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
            Accept |= Btn(SDL_CONTROLLER_BUTTON_A);
            Back |= Btn(SDL_CONTROLLER_BUTTON_B);
            StickX = SDL_GameControllerGetAxis(D.Pad, SDL_CONTROLLER_AXIS_LEFTX) * AxisScale;
            StickY = SDL_GameControllerGetAxis(D.Pad, SDL_CONTROLLER_AXIS_LEFTY) * AxisScale;
        } else {
            const Uint8 Hat = SDL_JoystickNumHats(D.Joystick) > 0 ? SDL_JoystickGetHat(D.Joystick, 0) : 0;
            Up |= (Hat & SDL_HAT_UP) != 0;
            Down |= (Hat & SDL_HAT_DOWN) != 0;
            Left |= (Hat & SDL_HAT_LEFT) != 0;
            Right |= (Hat & SDL_HAT_RIGHT) != 0;
            Accept |= SDL_JoystickNumButtons(D.Joystick) > 0 && SDL_JoystickGetButton(D.Joystick, 0);
            Back |= SDL_JoystickNumButtons(D.Joystick) > 1 && SDL_JoystickGetButton(D.Joystick, 1);
            if (SDL_JoystickNumAxes(D.Joystick) > 1) {
                StickX = SDL_JoystickGetAxis(D.Joystick, 0) * AxisScale;
                StickY = SDL_JoystickGetAxis(D.Joystick, 1) * AxisScale;
            }
        }
        Up |= StickY <= -PressedAt;
        Down |= StickY >= PressedAt;
        Left |= StickX <= -PressedAt;
        Right |= StickX >= PressedAt;
    }
    // Each push steps once: up and down move the focus frame, left and
    // right (or the shoulders) change the framed widget's value.
    const int32_t Vertical = Up ? -1 : Down ? 1 : 0, Sideways = Left ? -1 : Right ? 1 : 0;
    if (Engine && Engine->GUI) {
        if (Vertical != 0 && Vertical != LastVertical) Engine->GUI->StepFocus(Vertical);
        if (Sideways != 0 && Sideways != LastSideways) Engine->GUI->StepFocusedValue(Sideways);
    }
    LastVertical = Vertical;
    LastSideways = Sideways;
    Want[KEY_RETURN] |= Accept;
    // B takes the window's "Back" button when it has one; otherwise it is Escape.
    if (Back && !BackWasDown && Engine && Engine->GUI) BackIsEscape = !Engine->GUI->GoBack();
    BackWasDown = Back;
    Want[KEY_ESCAPE] |= Back && BackIsEscape;
    OffsetX = OffsetY = 0;
}

void tControllers::Send(uint8_t Key, bool Pressed) {
    Held[Key] = Pressed;
    if (SendKeyTo) SendKeyTo(Key, Pressed);
}

void tControllers::ReleaseAll() {
    for (int K = 1; K < 256; ++K)
        if (Held[K]) Send(static_cast<uint8_t>(K), false);
    OffsetX = OffsetY = 0;
}

void tControllers::Poll() {
    if (!Initialised) return;
    // A replay steers the game from its recording.
    if (Engine && Engine->TickDriver && Engine->TickDriver->HoldsInput()) {
        ReleaseAll();
        return;
    }
    ReadBindings();
    if (Capturing) {
        if (Captured.empty()) Capture();
        ReleaseAll();
        return;
    }
    bool Want[256] = {};
    const bool InMenu = Engine && Engine->GUI && Engine->GUI->HoldsInput();
    if (InMenu) ComputeMenu(Want);
    else ComputeFlight(Want);
    // Start opens and closes the menu from either side.
    if (MenuAction >= 0 && ActionValue(MenuAction) >= PressedAt) Want[PadMenuKey] = true;
    // Releases first, so a key that moves (a window opened) is let go before
    // another one goes down.
    for (int K = 1; K < 256; ++K)
        if (Held[K] && !Want[K]) Send(static_cast<uint8_t>(K), false);
    for (int K = 1; K < 256; ++K)
        if (Want[K] && !Held[K]) Send(static_cast<uint8_t>(K), true);
}

// ---- Rumble and the controls page -------------------------------------------------

void tControllers::Rumble(float Strength, float Seconds) {
    const Uint16 Motor = static_cast<Uint16>(std::clamp(Strength, 0.0f, 1.0f) * FullRumble);
    const Uint32 Ms = static_cast<Uint32>(std::clamp(Seconds, 0.0f, 5.0f) * 1000);
    for (const tDevice& D : Devices)
        if (D.Joystick) SDL_JoystickRumble(D.Joystick, Motor, Motor, Ms);  // -1 where it cannot
}

void tControllers::SetCapturing(bool On) {
    Capturing = On;
    CaptureStarted = false;
    Captured.clear();
}

ShortString tControllers::TakeCaptured() {
    ShortString C = Captured;
    Captured.clear();
    if (!C.empty()) Capturing = false;
    return C;
}

// ---- The virtual controller -------------------------------------------------------

namespace {

int VirtualRumble(void*, Uint16 Low, Uint16 High) {
    Logger->Log("Virtual controller rumbles " + Int2Str(Low) + " " + Int2Str(High));
    return 0;
}

}  // namespace

void tControllers::DetachVirtual() {
    if (!Virtual) return;
    // Its device index moves as other devices come and go; its id does not.
    const SDL_JoystickID Id = SDL_JoystickInstanceID(Virtual);
    SDL_JoystickClose(Virtual);
    Virtual = nullptr;
    for (int I = 0, Count = SDL_NumJoysticks(); I < Count; ++I)
        if (SDL_JoystickGetDeviceInstanceID(I) == Id) SDL_JoystickDetachVirtual(I);
}

void tControllers::VirtualControllerC(const ShortString& Args) {
    const ShortString What = UpCaseStr(GetToken(Args, 1)), Name = GetToken(Args, 2);
    const ShortString Value = GetToken(Args, 3);
    if (What == "ATTACH" && !Virtual) {
        SDL_VirtualJoystickDesc Desc{};
        Desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        Desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        Desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        Desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        Desc.name = VirtualName;
        Desc.Rumble = VirtualRumble;
        const int Index = SDL_JoystickAttachVirtualEx(&Desc);
        Virtual = Index >= 0 ? SDL_JoystickOpen(Index) : nullptr;
        if (!Virtual) {
            if (Index >= 0) SDL_JoystickDetachVirtual(Index);
            Console->DisplayError(ShortString("No virtual controller: ") + SDL_GetError());
        }
        // Triggers rest at their low end (SDL reads the whole range as 0 ... 1).
        for (SDL_GameControllerAxis A : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
            if (Virtual) SDL_JoystickSetVirtualAxis(Virtual, A, SDL_JOYSTICK_AXIS_MIN);
        return;
    }
    if (What == "DETACH" && Virtual) {
        DetachVirtual();
        return;
    }
    tPadInput In;
    if (Virtual && What == "AXIS" && ParsePadInput(Name, In) && In.Source == tPadInput::PAD_AXIS &&
        IsCorrectGLD(Value)) {
        const bool Trigger = In.Index == SDL_CONTROLLER_AXIS_TRIGGERLEFT || In.Index == SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
        const float V = std::clamp(Str2Flt(Value), Trigger ? 0.0f : -1.0f, 1.0f);
        const long Raw = Trigger ? std::lround(V * 65535) + SDL_JOYSTICK_AXIS_MIN : std::lround(V * 32767);
        SDL_JoystickSetVirtualAxis(Virtual, In.Index, static_cast<Sint16>(Raw));
        return;
    }
    if (Virtual && What == "BUTTON" && ParsePadInput(Name, In) && In.Source == tPadInput::PAD_BUTTON &&
        (Value == "0" || Value == "1")) {
        SDL_JoystickSetVirtualButton(Virtual, In.Index, Value == "1" ? SDL_PRESSED : SDL_RELEASED);
        return;
    }
    Console->DisplayError(
        "Usage: VirtualController attach | detach | axis <name> <-1...1, triggers 0...1> | button <name> <0|1>");
}
