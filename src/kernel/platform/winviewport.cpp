#include "kernel/platform/winviewport.h"

#include <SDL2/SDL.h>

#include <cmath>

#include "kernel/console/commands.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/platform/keycodes.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "net/server/netserver.h"

Z_IMPLEMENT_CLASS(tWinViewport,
    .Operations = {{"OpenViewport"}, {"CloseViewport"}, {"ResizeViewport"}, {"CenterMouse"}, {"GetWindow"},
                   {"SetPointerHeld"}, {"Tick"}})

namespace {

// One window procedure per process; it feeds this device.
tInputDevice* CurrentInputDevice = nullptr;
// The viewport's controllers, read with the window's events.
tControllers* CurrentControllers = nullptr;

constexpr int StencilBits = 8;
// Depth buffers tried after the configured one, when the system has no
// visual with that many bits.
constexpr int FallbackDepthBits[] = {24, 16};

ShortString ModeText(int32_t Width, int32_t Height, int32_t Bits, int32_t Frequency) {
    return Int2Str(Width) + "x" + Int2Str(Height) + "x" + Int2Str(Bits) + "@" + Int2Str(Frequency) + "Hz";
}

// The display's mode with exactly this size and depth (and refresh rate, when
// one is asked for).
bool FindDisplayMode(int32_t Width, int32_t Height, int32_t Bits, int32_t Frequency, SDL_DisplayMode& Found) {
    for (int I = 0, Count = SDL_GetNumDisplayModes(0); I < Count; ++I) {
        SDL_DisplayMode Mode;
        if (SDL_GetDisplayMode(0, I, &Mode) != 0) continue;
        bool SameDepth = static_cast<int32_t>(SDL_BITSPERPIXEL(Mode.format)) == Bits ||
                         static_cast<int32_t>(SDL_BYTESPERPIXEL(Mode.format)) * 8 == Bits;
        bool SameRate = Frequency == 0 || Mode.refresh_rate == 0 || Mode.refresh_rate == Frequency;
        if (Mode.w == Width && Mode.h == Height && SameDepth && SameRate) {
            Found = Mode;
            return true;
        }
    }
    return false;
}

void SendKeyToDevice(uint8_t Key, bool Pressed) {
    if (!CurrentInputDevice) return;
    CurrentInputDevice->Keys[Key] = Pressed;
    CurrentInputDevice->SendKey(Key, Pressed);
}

// The engine's code of a mouse button; 0 for buttons beyond the two extra ones.
uint8_t MouseButtonKey(const SDL_MouseButtonEvent& E) {
    switch (E.button) {
        case SDL_BUTTON_LEFT: return VK_MOUSE_LEFT;
        case SDL_BUTTON_RIGHT: return VK_MOUSE_RIGHT;
        case SDL_BUTTON_MIDDLE: return VK_MOUSE_MIDDLE;
        case SDL_BUTTON_X1: return VK_MOUSE_X1;
        case SDL_BUTTON_X2: return VK_MOUSE_X2;
        default: return 0;
    }
}

void HandleMouseButton(const SDL_MouseButtonEvent& E) {
    uint8_t Key = MouseButtonKey(E);
    if (Key == 0) return;
    bool Pressed = E.type == SDL_MOUSEBUTTONDOWN;
    // The cursor record follows the button to where it went down or up, so
    // whoever takes the button sees the pointer there, however late the
    // frame that read the cursor last.
    if (Engine && Engine->Viewport) {
        tMouseCursorInformation& M = *Engine->Viewport->GetMouseCursorInfo();
        M.MouseX = E.x - M.HalfWidth;
        M.MouseY = E.y - M.HalfHeight;
    }
    SDL_CaptureMouse(Pressed ? SDL_TRUE : SDL_FALSE);
    // The second click of a pair is a double click instead of a press, and no
    // release of its own follows for the double-click code.
    bool DoubleClick = Pressed && E.clicks >= 2 && E.clicks % 2 == 0;
    if (DoubleClick) {
        if (Key == VK_MOUSE_LEFT) Key = VK_MOUSE_LEFTDOUBLE;
        else if (Key == VK_MOUSE_RIGHT) Key = VK_MOUSE_RIGHTDOUBLE;
        else return;  // the other buttons have no double-click code: the pair is one press
    }
    SendKeyToDevice(Key, Pressed);
}

void HandleWheel(const SDL_MouseWheelEvent& E) {
    int32_t Delta = E.direction == SDL_MOUSEWHEEL_FLIPPED ? -E.y : E.y;
    if (Delta == 0) return;  // a sideways turn only
    SendKeyToDevice(Delta > 0 ? VK_MOUSE_WHEELUP : VK_MOUSE_WHEELDOWN, true);
}

// Whether the pause in force is the one losing the focus made. Regaining the
// focus lifts only that pause: one set by "Set EnginePaused True" (a start-up
// script runs before the window's first focus event) stays.
bool PausedByFocusLoss = false;

void HandleWindowEvent(const SDL_WindowEvent& E) {
    if (!Engine) return;
    // A hosted match goes on for the other machines' pilots.
    const bool Hosting = NetServer && NetServer->Hosting();
    if (E.event == SDL_WINDOWEVENT_FOCUS_LOST && !Engine->EnginePaused && !Hosting) {
        Engine->EnginePaused = true;
        PausedByFocusLoss = true;
    } else if (E.event == SDL_WINDOWEVENT_FOCUS_GAINED && PausedByFocusLoss) {
        Engine->EnginePaused = false;
        PausedByFocusLoss = false;
    }
}

// While a recorded flight plays, the window's input stays away from the game;
// F10 still ends it.
bool InputHeldByReplay(const SDL_Event& E) {
    if (!Engine || !Engine->TickDriver || !Engine->TickDriver->HoldsInput()) return false;
    switch (E.type) {
        case SDL_KEYDOWN:
            if (E.key.keysym.sym == SDLK_F10) Engine->RequestingExit = true;
            return true;
        case SDL_KEYUP:
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEWHEEL:
        case SDL_WINDOWEVENT: return true;
        default: return false;
    }
}

}  // namespace

bool DispatchWindowMessages() {
    bool Quit = false;
    SDL_Event E;
    while (SDL_PollEvent(&E)) {
        if (InputHeldByReplay(E)) continue;
        switch (E.type) {
            case SDL_QUIT: Quit = true; break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (uint8_t Key = VirtualKeyOf(E.key.keysym)) SendKeyToDevice(Key, E.type == SDL_KEYDOWN);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: HandleMouseButton(E.button); break;
            case SDL_MOUSEWHEEL: HandleWheel(E.wheel); break;
            case SDL_WINDOWEVENT: HandleWindowEvent(E.window); break;
            case SDL_JOYDEVICEADDED:
            case SDL_JOYDEVICEREMOVED:
                if (CurrentControllers) CurrentControllers->HandleEvent(E);
                break;
            default: break;
        }
    }
    if (CurrentControllers) CurrentControllers->Poll();
    return Quit;
}

tWinViewport::tWinViewport(tViewportParams* Params)
    : tViewport(Params), Controllers(std::make_unique<tControllers>(SendKeyToDevice)) {
    CurrentInputDevice = InputDevice;
    CurrentControllers = Controllers.get();
    PendingCentering = true;
}

tWinViewport::~tWinViewport() {
    if (ViewportOpened) CloseViewport();
    if (CurrentInputDevice == InputDevice) CurrentInputDevice = nullptr;
    CurrentControllers = nullptr;
    Controllers.reset();
}

void tWinViewport::SetInputDevice(tInputDevice* D) {
    tViewport::SetInputDevice(D);
    CurrentInputDevice = D;
}

void tWinViewport::OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) {
    ProcTrace trace("tWinViewport.OpenViewport(" + NewTitle + ")");
    if (ViewportOpened) CloseViewport();
    ViewportOpened = true;
    Title = NewTitle;
    Location = NewLocation;
    RegisterWindowClass();

    OriginX = OriginY = 0;
    SDL_Rect WorkArea;
    if (Location == VL_SCREENCENTERED && SDL_GetDisplayUsableBounds(0, &WorkArea) == 0) {
        OriginX = WorkArea.x + (WorkArea.w - Width) / 2;
        OriginY = WorkArea.y + (WorkArea.h - Height) / 2;
    }
    SetDisplayMode();

    Logger->Log("Trying to create window...");
    WndHandle = CreateGLWindow(SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!WndHandle) Logger->Log(ShortString("SDL: ") + SDL_GetError());
    Logger->Guard(WndHandle, "Window Creation Error.");
    if (FullScreen) {
        SDL_SetWindowDisplayMode(WndHandle, &FullScreenMode);
        SDL_SetWindowFullscreen(WndHandle, SDL_WINDOW_FULLSCREEN);
    }
    SDL_ShowWindow(WndHandle);
    SDL_RaiseWindow(WndHandle);
    SDL_ShowCursor(SDL_DISABLE);
    Logger->Log("Window created successfully");

    Surface.Window = WndHandle;
    DC = &Surface;
    Console->RegisterCommand("MoveMouse", ConsoleProc<&tWinViewport::MoveMouseC>(this), Commands);
}

// SDL's video subsystem stays up until the process ends: a reopened window
// finds it ready, and the X libraries it loads stay mapped for leak reports.
void tWinViewport::RegisterWindowClass() {
    ProcTrace trace("tWinViewport.RegisterWindowClass()");
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        Logger->Log(ShortString("SDL: ") + SDL_GetError());
        Logger->Fatal("Guard failed");
    }
}

// A refused mode is retried once with twice the width (a dual-head desktop);
// after that the viewport opens as a window of the requested size.
void tWinViewport::SetDisplayMode() {
    if (!FullScreen) return;
    ProcTrace trace("tWinViewport.SetDisplayMode()");
    if (!FindDisplayMode(Width, Height, BitsPerPixel, Frequency, FullScreenMode)) {
        Warning->Log(ModeText(Width, Height, BitsPerPixel, Frequency));
        Width *= 2;
        if (!FindDisplayMode(Width, Height, BitsPerPixel, Frequency, FullScreenMode)) {
            Warning->Log(ModeText(Width, Height, BitsPerPixel, Frequency));
            Warning->Log("The Requested Fullscreen Mode Is Not Supported By Your Video Card.");
            FullScreen = false;
            Width /= 2;
        }
    }
    Logger->Log("Display mode changed");
}

SDL_Window* tWinViewport::CreateGLWindow(Uint32 Flags) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, StencilBits);
    const int Channel = BitsPerPixel >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, Channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, Channel);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, Channel);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, ZBufferBits);
    if (SDL_Window* W = SDL_CreateWindow(Title.c_str(), OriginX, OriginY, Width, Height, Flags)) return W;
    for (int Depth : FallbackDepthBits) {
        if (Depth >= ZBufferBits) continue;
        Logger->Log("No visual with " + Int2Str(ZBufferBits) + " depth bits, trying " + Int2Str(Depth));
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, Depth);
        if (SDL_Window* W = SDL_CreateWindow(Title.c_str(), OriginX, OriginY, Width, Height, Flags)) return W;
    }
    return nullptr;
}

void tWinViewport::CloseViewport() {
    ProcTrace trace("tWinViewport.CloseViewport()");
    DetachRenderDevice();
    ViewportOpened = false;
    DC = nullptr;
    Surface = tDrawingSurface{};
    Commands.ReleaseAll();
    // Destroying a full-screen window restores the desktop's display mode.
    if (WndHandle) SDL_DestroyWindow(WndHandle);
    WndHandle = nullptr;
}

// The cursor is read in screen coordinates and made relative to the window
// centre. The client area is the whole requested size here (the window
// system puts any caption outside it), so no caption correction is needed.
void tWinViewport::Tick(float) {
    if (!WndHandle) return;
    tMouseCursorInformation& M = MouseCursorInfo;
    int ScreenX = 0, ScreenY = 0, WindowX = 0, WindowY = 0;
    SDL_GetGlobalMouseState(&ScreenX, &ScreenY);
    M.MouseMoved = M.MouseX != M.OldMouseX || M.MouseY != M.OldMouseY;
    M.OldMouseX = M.MouseX;
    M.OldMouseY = M.MouseY;
    SDL_GetWindowPosition(WndHandle, &WindowX, &WindowY);
    // A controller's stick leans the pointer as far as a mouse would; the
    // recorder keeps the sum, so a replay needs no controller.
    const int32_t StickX = PointerHeld ? 0 : Controllers->PointerX();
    const int32_t StickY = PointerHeld ? 0 : Controllers->PointerY();
    M.MouseX = PointerReplayed ? ReplayedX : ScreenX - WindowX - M.HalfWidth + StickX;
    M.MouseY = PointerReplayed ? ReplayedY : ScreenY - WindowY - M.HalfHeight + StickY;
    // Steering scales the offset by the mouse sensitivity; a held pointer
    // does not steer at all.
    const float Sensitivity = PointerHeld ? 0.0f : Engine->EngineConfig.MouseSensitivity;
    M.CenterOffsX = static_cast<int32_t>(std::lround(static_cast<float>(M.MouseX) * Sensitivity));
    M.CenterOffsY = static_cast<int32_t>(std::lround(static_cast<float>(M.InvertMouse ? M.MouseY : -M.MouseY) * Sensitivity));
    if (PendingCentering && !PointerReplayed) {
        SDL_WarpMouseInWindow(WndHandle, M.HalfWidth, M.HalfHeight);
        PendingCentering = false;
    }
}

void tWinViewport::ResizeViewport(tViewportParams* Params) {
    if (!WndHandle || FullScreen || Params->FullScreen) {
        tViewport::ResizeViewport(Params);
        return;
    }
    ProcTrace trace("tWinViewport.ResizeViewport()");
    SetViewportParams(Params);
    SDL_SetWindowSize(WndHandle, Width, Height);
    if (RenderDevice) {
        RenderDevice->SetViewport(0, 0, Width, Height);
        RenderDevice->SetFOV(RenderDevice->GetFOV());
    }
    PendingCentering = !PointerHeld;
    Logger->Log("Viewport successfuly resized");
}

void tWinViewport::SetPointerHeld(bool Held) {
    const bool Released = PointerHeld && !Held;
    tViewport::SetPointerHeld(Held);
    if (Held) {
        PendingCentering = false;
        return;
    }
    if (!Released || !WndHandle) return;
    // Back at the centre before anything steers by it again.
    SDL_WarpMouseInWindow(WndHandle, MouseCursorInfo.HalfWidth, MouseCursorInfo.HalfHeight);
    tMouseCursorInformation& M = MouseCursorInfo;
    M.MouseX = M.MouseY = M.OldMouseX = M.OldMouseY = M.CenterOffsX = M.CenterOffsY = 0;
    M.MouseMoved = false;
}

void tWinViewport::MoveMouseC(const ShortString&) {}
