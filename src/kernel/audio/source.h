#pragma once
// The OpenAL side of the audio system: tWaveformBuffer holds a WAV file's
// samples in an OpenAL buffer, tSource plays one buffer through an OpenAL source.
// Both report to the audio system that made them, which detaches sources from a
// buffer before the buffer goes and outlives neither.

#include <cstdint>

#include "libraries/classes/audiosource.h"
#include "kernel/resources/resourcekinds.h"

class tAudioSystem;

class tWaveformBuffer : public tWaveformResource {
    Z_DECLARE_CLASS(tWaveformBuffer, tWaveformResource)
public:
    explicit tWaveformBuffer(tAudioSystem* Owner);
    ~tWaveformBuffer() override;

    // Uploads the samples into a new OpenAL buffer; only the format is kept here.
    void AttachWaveform(TWaveform W) override;
    uint32_t GetBufferID() override { return BufferID; }
    // The audio system is going: the buffer is deleted and this forgets it.
    void Orphan();

    uint32_t BufferID = 0;  // 0: no buffer, plays nothing
    TWaveform Waveform;     // the format; the samples live in OpenAL

private:
    tAudioSystem* Owner;
};

class tSource : public tAudioSource {
    Z_DECLARE_CLASS(tSource, tAudioSource)
public:
    // A new OpenAL source; when OpenAL has none left the source stays silent.
    explicit tSource(tAudioSystem* Owner);
    ~tSource() override;

    void Play(tActor* Actor) override;
    void Stop() override;
    void Pause() override;
    void LoopSound(bool Loop) override;
    bool IsPlaying() override;
    // Leaves the listener's side for Where in the world.
    void PlaceAt(const TVector3& Where) override;
    virtual void AttachWaveform(tWaveformResource* W);

    // How placed sources fade: full loudness up to ReferenceDistance, then
    // ReferenceDistance / (ReferenceDistance + Rolloff * (d - ReferenceDistance)),
    // about 0.8 at 50 units and 0.07 (-23 dB) at 600, across the map.
    static constexpr float ReferenceDistance = 40.0f;
    static constexpr float Rolloff = 1.0f;

    // The buffer is about to be deleted: the source stops and lets go of it.
    void ReleaseBuffer();
    // The audio system is going: the OpenAL source is deleted and this forgets it.
    void Orphan();

    uint32_t BufferID = 0;
    uint32_t SourceID = 0;  // 0: silent, no OpenAL source

private:
    tAudioSystem* Owner;
    bool Played = false;  // whether there is a position to rewind
};
