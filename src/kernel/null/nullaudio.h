#pragma once
// The silent audio subsystem, used when sound is switched off.

#include "kernel/audio/audiosubsystem.h"

class tNullAudioSubSystem : public tAudioSubSystem {
    Z_DECLARE_CLASS(tNullAudioSubSystem, tAudioSubSystem)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
};
