#include "kernel/null/nullaudio.h"

#include "kernel/audio/streamplayers.h"
#include "kernel/core/globals.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tNullAudioSubSystem, .Operations = {{"Tick"}, {"RenderFrame"}, {"CreateSource"}, {"CreateWaveform"},
                                                      {"UpdateListener"}, {"StopModule"}, {"StartModule"}})
Z_IMPLEMENT_CLASS(tNullAudioSource, .Operations = {{"Play"}, {"Stop"}, {"Pause"}, {"LoopSound"}, {"IsPlaying"}})
Z_IMPLEMENT_CLASS(tNullWaveformResource, .Operations = {{"AttachWaveform"}, {"GetBufferID"}})

// The waveform is still loaded, so a missing or malformed file shows with sound off too.
tAudioSource* tNullAudioSubSystem::CreateSource(const ShortString& FileName) {
    Resources->LoadWaveform(FileName);
    return NewObject<tNullAudioSource>();
}

tWaveformResource* tNullAudioSubSystem::CreateWaveform() { return NewObject<tNullWaveformResource>(); }

ShortString tNullAudioSubSystem::StartModule(const ShortString& FileName) {
    tZClass PlayerClass;
    return FindStreamPlayer(FileName, PlayerClass);
}
