#pragma once
// An audio subsystem for tests without sound: its sources play until the
// test stops them, and it keeps the names of the files asked for.

#include <string>
#include <vector>

#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"

class tRecordingSource : public tAudioSource {
    Z_DECLARE_CLASS(tRecordingSource, tAudioSource)
public:
    void Play(tActor*) override { Playing = true; }
    void Stop() override { Playing = false; }
    void Pause() override { Playing = false; }
    void LoopSound(bool) override {}
    bool IsPlaying() override { return Playing; }
    void PlaceAt(const TVector3& At) override { Placed = true, Where = At; }
    bool Playing = false;
    bool Placed = false;  // false: heard at the listener
    TVector3 Where;
};

class tRecordingAudio : public tAudioSubSystem {
    Z_DECLARE_CLASS(tRecordingAudio, tAudioSubSystem)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
    tAudioSource* CreateSource(const ShortString& FileName) override {
        Played.push_back(FileName.str());
        return NewObject<tRecordingSource>();
    }
    tWaveformResource* CreateWaveform() override { return nullptr; }
    void UpdateListener(tCamera*) override {}
    void PlaceListener(const TVector3& At, const TVector3& Forward, const TVector3& Up) override {
        Listener[0] = At, Listener[1] = Forward, Listener[2] = Up;
    }
    void StopModule() override {}
    ShortString StartModule(const ShortString&) override { return {}; }
    std::vector<std::string> Played;
    TVector3 Listener[3];  // position, forward, up
};
