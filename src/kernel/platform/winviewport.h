#pragma once
// The viewport of this platform: an SDL2 window with an OpenGL-capable visual,
// windowed or full screen, whose keyboard and mouse events reach the current
// input device as the engine's key codes.

#include <SDL2/SDL_video.h>

#include <memory>

#include "kernel/platform/controllers.h"
#include "kernel/platform/drawingsurface.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/viewport.h"

class tWinViewport : public tViewport {
    Z_DECLARE_CLASS(tWinViewport, tViewport)
public:
    explicit tWinViewport(tViewportParams* Params);
    ~tWinViewport() override;

    void OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) override;
    void CloseViewport() override;
    // A window that stays a window changes its size in place, keeping its
    // rendering context; a change to or from full screen reopens it.
    void ResizeViewport(tViewportParams* Params) override;
    void SetInputDevice(tInputDevice* D) override;
    void CenterMouse() override {
        if (!PointerHeld) PendingCentering = true;
    }
    void SetPointerHeld(bool Held) override;
    SDL_Window* GetWindow() override { return WndHandle; }
    void Rumble(float Strength, float Seconds) override { Controllers->Rumble(Strength, Seconds); }
    void CaptureControllerInput(bool On) override { Controllers->SetCapturing(On); }
    ShortString TakeControllerInput() override { return Controllers->TakeCaptured(); }
    // Mouse tracking relative to the window centre.
    void Tick(float DeltaSeconds) override;

    void MoveMouseC(const ShortString& Args);

    SDL_Window* WndHandle = nullptr;
    bool PendingCentering = true;

private:
    void RegisterWindowClass();
    void SetDisplayMode();
    SDL_Window* CreateGLWindow(Uint32 Flags);

    tDrawingSurface Surface;
    SDL_DisplayMode FullScreenMode{};
    std::unique_ptr<tControllers> Controllers;
    // "MoveMouse", while the window is open.
    tCommandBindings Commands;
};

// Handles every waiting window event without blocking: keys and mouse buttons
// go to the current input device, focus changes pause and resume the engine,
// controllers come and go and are read.
// True when one of the events asked the program to quit.
bool DispatchWindowMessages();
