#pragma once
// The silent audio subsystem, used when sound is switched off: it hands out
// sources that never play and waveforms without buffers, and checks music
// files as the real one does without playing them.

#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"

class tNullAudioSubSystem : public tAudioSubSystem {
    Z_DECLARE_CLASS(tNullAudioSubSystem, tAudioSubSystem)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
    tAudioSource* CreateSource(const ShortString& FileName) override;
    tWaveformResource* CreateWaveform() override;
    void UpdateListener(tCamera*) override {}
    void StopModule() override {}

protected:
    ShortString StartModule(const ShortString& FileName) override;
};

class tNullAudioSource : public tAudioSource {
    Z_DECLARE_CLASS(tNullAudioSource, tAudioSource)
public:
    void Play(tActor*) override {}
    void Stop() override {}
    void Pause() override {}
    void LoopSound(bool) override {}
    bool IsPlaying() override { return false; }
};

// A waveform that is loaded like any other but keeps no samples and has no buffer.
class tNullWaveformResource : public tWaveformResource {
    Z_DECLARE_CLASS(tNullWaveformResource, tWaveformResource)
public:
    void AttachWaveform(TWaveform) override {}
    uint32_t GetBufferID() override { return 0; }
};
