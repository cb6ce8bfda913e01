#pragma once
// tAudioSystem: sound effects through OpenAL, music through SDL2_mixer. Without
// a sound device (a server, a CI machine) each falls back to a silent output
// with one warning, and the game runs on unchanged.

#include <AL/alc.h>

#include <cstdint>
#include <vector>

#include "libraries/classes/audiosubsystem.h"
#include "kernel/audio/musicoutput.h"
#include "kernel/audio/openaloutput.h"

class tSource;
class tStreamPlayer;
class tWaveformBuffer;

class tAudioSystem : public tAudioSubSystem {
    Z_DECLARE_CLASS(tAudioSystem, tAudioSubSystem)
public:
    tAudioSystem();
    ~tAudioSystem() override;

    // Keeps the silent output's sources moving in engine time.
    void Tick(float DeltaSeconds) override;
    void RenderFrame() override {}
    tAudioSource* CreateSource(const ShortString& FileName) override;
    tWaveformResource* CreateWaveform() override;
    // The world's camera arrives through PlaceListener instead.
    void UpdateListener(tCamera*) override {}
    void PlaceListener(const TVector3& Position, const TVector3& Forward, const TVector3& Up) override;
    void StopModule() override;
    void ApplyVolumes();

    // Sources and buffers report here as they come and go.
    void AddSource(tSource* S) { Sources.push_back(S); }
    void RemoveSource(tSource* S);
    void AddBuffer(tWaveformBuffer* B) { Buffers.push_back(B); }
    void RemoveBuffer(tWaveformBuffer* B);
    // Stops and detaches every source playing BufferID, so it can be deleted.
    void ReleaseBuffer(uint32_t BufferID);
    // Whether OpenAL gave a source: refusals are reported once until it gives one again.
    void SourceCreated(bool Granted, const ShortString& FileName);

    tOpenALOutput Output;       // the OpenAL device and context
    tMusicOutput Music;         // SDL2_mixer
    int32_t AppliedEffectsVolume = -1;
    tStreamPlayer* Stream = nullptr;  // the music playing, or none

protected:
    ShortString StartModule(const ShortString& FileName) override;

private:
    void LogOpenALStrings();

    std::vector<tSource*> Sources;
    std::vector<tWaveformBuffer*> Buffers;
    bool SourcesExhausted = false;
};
