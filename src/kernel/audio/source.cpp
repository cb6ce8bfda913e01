#include "kernel/audio/source.h"

#include <AL/al.h>

#include "kernel/audio/audiosystem.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tWaveformBuffer, .Operations = {{"AttachWaveform"}, {"GetBufferID"}})
Z_IMPLEMENT_CLASS(tSource, .Operations = {{"Play"}, {"Stop"}, {"Pause"}, {"LoopSound"}, {"IsPlaying"},
                                          {"PlaceAt"}, {"AttachWaveform"}})

namespace {

// The OpenAL format of 8- or 16-bit mono or stereo samples; 0 for any other.
ALenum SampleFormat(const TWaveform& W) {
    if (W.Channels == 1) return W.BitsPerSample == 8 ? AL_FORMAT_MONO8 : W.BitsPerSample == 16 ? AL_FORMAT_MONO16 : 0;
    if (W.Channels == 2) return W.BitsPerSample == 8 ? AL_FORMAT_STEREO8 : W.BitsPerSample == 16 ? AL_FORMAT_STEREO16 : 0;
    return 0;
}

}  // namespace

// ---- tWaveformBuffer ------------------------------------------------------------

tWaveformBuffer::tWaveformBuffer(tAudioSystem* Owner) : Owner(Owner) { Owner->AddBuffer(this); }

tWaveformBuffer::~tWaveformBuffer() {
    if (!Owner) return;
    Owner->RemoveBuffer(this);
    Orphan();
}

void tWaveformBuffer::Orphan() {
    if (BufferID != 0) {
        // OpenAL refuses to delete a buffer that a source still holds.
        Owner->ReleaseBuffer(BufferID);
        alDeleteBuffers(1, &BufferID);
    }
    BufferID = 0;
    Owner = nullptr;
}

void tWaveformBuffer::AttachWaveform(TWaveform W) {
    const ALenum Format = SampleFormat(W);
    Logger->Guard(Format != 0 && W.SamplesPerSec > 0,
                  "Unsupported waveform format: " + Int2Str(W.Channels) + " channels, " + Int2Str(W.BitsPerSample) +
                      " bits, " + Int2Str(W.SamplesPerSec) + " Hz");
    alGetError();
    if (BufferID == 0) alGenBuffers(1, &BufferID);
    if (alGetError() != AL_NO_ERROR) {
        BufferID = 0;
        Warning->Log("OpenAL cannot create another buffer: " + GetFileName() + " plays silently");
    } else {
        alBufferData(BufferID, Format, W.WaveData.data(), static_cast<ALsizei>(W.WaveData.size()), W.SamplesPerSec);
    }
    // OpenAL keeps its own copy of the samples.
    W.WaveData = {};
    Waveform = std::move(W);
}

// ---- tSource --------------------------------------------------------------------

tSource::tSource(tAudioSystem* Owner) : Owner(Owner) {
    alGetError();
    alGenSources(1, &SourceID);
    // Gain, pitch and looping start at OpenAL's defaults: 1, 1 and off.
    if (alGetError() != AL_NO_ERROR) SourceID = 0;
    Owner->AddSource(this);
    if (SourceID == 0) return;
    // At the listener's origin until placed; the distances matter once placed.
    alSourcei(SourceID, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcef(SourceID, AL_REFERENCE_DISTANCE, ReferenceDistance);
    alSourcef(SourceID, AL_ROLLOFF_FACTOR, Rolloff);
}

tSource::~tSource() {
    if (!Owner) return;
    Owner->RemoveSource(this);
    Orphan();
}

void tSource::Orphan() {
    if (SourceID != 0) alDeleteSources(1, &SourceID);
    SourceID = 0;
    BufferID = 0;
    Owner = nullptr;
}

void tSource::AttachWaveform(tWaveformResource* W) {
    if (SourceID == 0) return;
    BufferID = W->GetBufferID();
    alSourcei(SourceID, AL_BUFFER, static_cast<ALint>(BufferID));
}

void tSource::ReleaseBuffer() {
    if (SourceID == 0) return;
    alSourceStop(SourceID);
    alSourcei(SourceID, AL_BUFFER, 0);
    BufferID = 0;
}

void tSource::Play(tActor*) {
    if (SourceID == 0) return;
    // Rewinding makes a playing or paused source start from the beginning.
    if (Played) alSourceRewind(SourceID);
    alSourcePlay(SourceID);
    Played = true;
}

void tSource::Stop() {
    if (SourceID != 0) alSourceStop(SourceID);
}

void tSource::Pause() {
    if (SourceID != 0) alSourcePause(SourceID);
}

void tSource::LoopSound(bool Loop) {
    if (SourceID != 0) alSourcei(SourceID, AL_LOOPING, Loop ? AL_TRUE : AL_FALSE);
}

void tSource::PlaceAt(const TVector3& Where) {
    if (SourceID == 0) return;
    alSourcei(SourceID, AL_SOURCE_RELATIVE, AL_FALSE);
    alSource3f(SourceID, AL_POSITION, Where.x, Where.y, Where.z);
}

bool tSource::IsPlaying() {
    if (SourceID == 0) return false;
    ALint State = AL_STOPPED;
    alGetSourcei(SourceID, AL_SOURCE_STATE, &State);
    return State == AL_PLAYING;
}
