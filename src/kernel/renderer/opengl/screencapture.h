#pragma once
// The screen-capture device: the console command "ScreenShot" writes the
// window's pixels through the bitmap loader of the file's extension. The
// command only asks for the shot; the render device takes it when the frame
// is complete and before it is shown, as the back buffer holds nothing
// defined after a buffer swap.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/varsmanager.h"

class tScreenCaptureDevice : public tZObject {
    Z_DECLARE_CLASS(tScreenCaptureDevice, tZObject)
public:
    // Registers "ScreenShot".
    tScreenCaptureDevice();

    virtual void ScreenShotC(const ShortString& Params) = 0;
    // Writes the shots asked for since the last frame from the back buffer.
    virtual void CaptureFrame() = 0;

private:
    tCommandBindings Commands;
};

class tOGLScreenCaptureDevice : public tScreenCaptureDevice {
    Z_DECLARE_CLASS(tOGLScreenCaptureDevice, tScreenCaptureDevice)
public:
    static constexpr const char* DefaultExtension = ".bmp";
    static constexpr std::size_t NumberDigits = 4;
    // Numbered shots look this far for a name no file has yet.
    static constexpr int32_t MaxShotNumber = 99999;
    // Shots asked for within one frame; later ones that frame are refused.
    static constexpr int32_t MaxPendingShots = 8;

    // Registers "ScreenShotDir".
    tOGLScreenCaptureDevice();
    // Hands "ScreenShotDir" back to the variables manager.
    ~tOGLScreenCaptureDevice() override;

    // Without a parameter the file is "shot" + the next number that names no
    // file yet; with one, the parameter names the file.
    void ScreenShotC(const ShortString& Params) override;
    void CaptureFrame() override;

    int32_t ScreenShotNumber = 0;
    ShortString ScreenShotDir = "ScreenShots\\";

private:
    // Virtual names of the files the next frame is written to.
    ShortString PendingShots[MaxPendingShots];
    int32_t TotalPendingShots = 0;
    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
};
