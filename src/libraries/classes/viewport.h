#pragma once
// The viewport is the engine's window: it owns the platform window, hands the
// render device a surface to draw on, turns keyboard and mouse events into key
// codes for the current input device and tracks the mouse relative to the
// window centre for mouse-look steering.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"

class tRenderDevice;
struct tDrawingSurface;
struct SDL_Window;

// What the engine hands the viewport; the viewport copies it and frees it.
struct tViewportParams {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;
    int32_t ZBufferBits = 0;
    int32_t Frequency = 0;
    bool FullScreen = false;
    bool Stereo = false;
    tInputDevice* InputDevice = nullptr;
};

// The sizes the window may take, however they are asked for (the menu's
// "ApplyDisplay", a script's "Set" before the window opens, a recording, the
// saved options): the GUI needs 800 x 600, and no side may pass what the
// render device can draw into, nor 16384 pixels on any device.
inline constexpr int32_t MinWindowWidth = 800;
inline constexpr int32_t MinWindowHeight = 600;
inline constexpr int32_t MaxWindowSide = 16384;
// Why a window of Width x Height cannot be had on Device (nullptr: by the
// fixed limits alone); empty when it can.
ShortString WindowSizeError(int32_t Width, int32_t Height, const tRenderDevice* Device);

enum tViewportLocation : int32_t { VL_SCREENCENTERED = 0, VL_LEFTUPPER = 1, VL_DONTCARE = 2 };

struct tMouseCursorInformation {
    int32_t MouseX = 0, MouseY = 0;          // offset from the window centre, y down
    int32_t CenterOffsX = 0, CenterOffsY = 0;  // the same for steering; y sign follows InvertMouse
    int32_t OldMouseX = 0, OldMouseY = 0;    // the previous tick's MouseX, MouseY
    int32_t HalfWidth = 0, HalfHeight = 0;
    bool MouseMoved = false;
    bool InvertMouse = true;
};

class tViewport : public tSubSystem {
    Z_DECLARE_CLASS(tViewport, tSubSystem)
public:
    // Takes ownership of Params.
    explicit tViewport(tViewportParams* Params);
    ~tViewport() override;

    virtual void OpenViewport(const ShortString& Title, tViewportLocation Location) = 0;
    virtual void ResizeViewport(tViewportParams* Params);
    virtual void CloseViewport() = 0;
    virtual void AttachRenderDevice(tRenderDevice* RD);
    virtual void DetachRenderDevice();
    virtual void SetInputDevice(tInputDevice* D) { InputDevice = D; }
    virtual void CenterMouse() = 0;
    virtual tInputDevice* GetInputDevice() { return InputDevice; }
    virtual tMouseCursorInformation* GetMouseCursorInfo() { return &MouseCursorInfo; }
    virtual int32_t GetViewportWidth() { return Width; }
    virtual int32_t GetViewportHeight() { return Height; }
    virtual tDrawingSurface* GetDeviceContext() { return DC; }
    virtual SDL_Window* GetWindow() = 0;
    // While the GUI holds the pointer it moves freely: it is not re-centred
    // and does not steer. Letting go re-centres it, so steering resumes
    // without a jump.
    virtual void SetPointerHeld(bool Held) { PointerHeld = Held; }
    // While a flight is replayed, the pointer's offset from the window centre
    // comes from the recording, one value for each update, until it ends.
    void ReplayPointer(int32_t X, int32_t Y) {
        PointerReplayed = true;
        ReplayedX = X;
        ReplayedY = Y;
    }
    void EndPointerReplay() { PointerReplayed = false; }
    // A short rumble of the game controllers that can, Strength 0 ... 1.
    virtual void Rumble(float /*Strength*/, float /*Seconds*/) {}
    // While on, the next controller input moved or pressed is held for
    // TakeControllerInput (by its binding name, "+righty", "button3")
    // instead of acting; taking one ends the wait.
    virtual void CaptureControllerInput(bool /*On*/) {}
    virtual ShortString TakeControllerInput() { return ""; }

    // Copies the parameters and frees them.
    void SetViewportParams(tViewportParams* Params);

    void RenderFrame() override {}

    bool ViewportOpened = false;
    tViewportLocation Location = VL_DONTCARE;
    ShortString Title;
    tDrawingSurface* DC = nullptr;
    tMouseCursorInformation MouseCursorInfo;
    tInputDevice* InputDevice = nullptr;
    tRenderDevice* RenderDevice = nullptr;
    int32_t OriginX = 0, OriginY = 0;
    int32_t Width = 0, Height = 0;
    int32_t BitsPerPixel = 0, ZBufferBits = 0, Frequency = 0;
    bool FullScreen = false;
    bool Stereo = false;
    bool PointerHeld = false;

protected:
    bool PointerReplayed = false;
    int32_t ReplayedX = 0, ReplayedY = 0;

public:
    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
};
