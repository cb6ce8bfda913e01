#pragma once
// The screen-capture device: the console command "ScreenShot" writes the
// window's pixels through the bitmap loader of the file's extension.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

class tScreenCaptureDevice : public tZObject {
    Z_DECLARE_CLASS(tScreenCaptureDevice, tZObject)
public:
    // Registers "ScreenShot".
    tScreenCaptureDevice();
    ~tScreenCaptureDevice() override;

    virtual void ScreenShotC(const ShortString& Params) = 0;
};

class tOGLScreenCaptureDevice : public tScreenCaptureDevice {
    Z_DECLARE_CLASS(tOGLScreenCaptureDevice, tScreenCaptureDevice)
public:
    static constexpr const char* DefaultExtension = ".bmp";
    static constexpr std::size_t NumberDigits = 4;

    // Registers "ScreenShotDir".
    tOGLScreenCaptureDevice();
    // Hands "ScreenShotDir" back to the variables manager.
    ~tOGLScreenCaptureDevice() override;

    // Without a parameter the file is "shot" + the next number; with one, the
    // parameter names the file.
    void ScreenShotC(const ShortString& Params) override;

    int32_t ScreenShotNumber = 0;
    ShortString ScreenShotDir = "ScreenShots\\";
};
