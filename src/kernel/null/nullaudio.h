#pragma once
// The silent audio subsystem, used when sound is switched off.

#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/audiosubsystem.h"

class tNullAudioSubSystem : public tAudioSubSystem {
    Z_DECLARE_CLASS(tNullAudioSubSystem, tAudioSubSystem)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
    tWaveformResource* CreateWaveform() override;
};

// A waveform that is loaded like any other but keeps no samples and has no buffer.
class tNullWaveformResource : public tWaveformResource {
    Z_DECLARE_CLASS(tNullWaveformResource, tWaveformResource)
public:
    void AttachWaveform(TWaveform) override {}
    uint32_t GetBufferID() override { return 0; }
};
