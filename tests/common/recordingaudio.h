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
    bool Playing = false;
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
    void StopModule() override {}
    ShortString StartModule(const ShortString&) override { return {}; }
    std::vector<std::string> Played;
};
