#pragma once
// The OpenAL device and context of the audio system. Without a sound device
// it opens a loopback device instead and mixes it into nothing as engine time
// passes, so sources still start, play for their length and stop.

#include <AL/alc.h>
#include <AL/alext.h>

#include <cstdint>

#include "kernel/core/shortstring.h"

class tOpenALOutput {
public:
    static constexpr int32_t SilentRate = 44100;

    // Opens the default device, else the silent one; the reason the default
    // could not be used, or empty. Fatal when not even the silent one opens.
    ShortString Open();
    void Close();
    // Mixes DeltaSeconds of the silent output; nothing to do on a real device.
    void Advance(float DeltaSeconds);
    bool IsSilent() const { return RenderSamples != nullptr; }

    ALCdevice* Device = nullptr;
    ALCcontext* Context = nullptr;

private:
    // The reason a device could not be made current, or empty.
    ShortString StartContext(const ALCint* Attributes);
    void OpenSilent();

    static constexpr int32_t ScratchFrames = 1024;
    LPALCRENDERSAMPLESSOFT RenderSamples = nullptr;
    double PendingFrames = 0;
    int16_t Scratch[ScratchFrames * 2] = {};
};
