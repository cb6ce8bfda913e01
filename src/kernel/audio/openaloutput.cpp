#include "kernel/audio/openaloutput.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

ShortString tOpenALOutput::Open() {
    Device = alcOpenDevice(nullptr);
    ShortString Reason = Device ? StartContext(nullptr) : ShortString("Unable to open OpenAL device");
    if (Reason.empty()) return Reason;
    if (Device) alcCloseDevice(Device);
    Device = nullptr;
    OpenSilent();
    return Reason;
}

ShortString tOpenALOutput::StartContext(const ALCint* Attributes) {
    Context = alcCreateContext(Device, Attributes);
    if (!Context) return "Unable to create OpenAL context";
    if (alcMakeContextCurrent(Context)) return {};
    alcDestroyContext(Context);
    Context = nullptr;
    return "Unable to select OpenAL context";
}

void tOpenALOutput::OpenSilent() {
    auto OpenLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    Logger->Guard(OpenLoopback != nullptr, "Unable to open OpenAL device");
    Device = OpenLoopback(nullptr);
    Logger->Guard(Device, "Unable to open OpenAL device");
    const ALCint Attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                                 ALC_FREQUENCY, SilentRate, 0};
    const ShortString Reason = StartContext(Attributes);
    if (!Reason.empty()) Logger->Fatal(Reason);
    RenderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(Device, "alcRenderSamplesSOFT"));
    PendingFrames = 0;
}

void tOpenALOutput::Advance(float DeltaSeconds) {
    if (!RenderSamples) return;
    PendingFrames += static_cast<double>(DeltaSeconds) * SilentRate;
    while (PendingFrames >= 1) {
        const int32_t Frames = static_cast<int32_t>(std::fmin(PendingFrames, ScratchFrames));
        RenderSamples(Device, Scratch, Frames);
        PendingFrames -= Frames;
    }
}

void tOpenALOutput::Close() {
    alcMakeContextCurrent(nullptr);
    if (Context) alcDestroyContext(Context);
    if (Device) alcCloseDevice(Device);
    Context = nullptr;
    Device = nullptr;
    RenderSamples = nullptr;
}
