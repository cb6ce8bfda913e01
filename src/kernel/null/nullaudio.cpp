#include "kernel/null/nullaudio.h"

Z_IMPLEMENT_CLASS(tNullAudioSubSystem, .Operations = {{"Tick"}, {"RenderFrame"}, {"CreateWaveform"}})
Z_IMPLEMENT_CLASS(tNullWaveformResource, .Operations = {{"AttachWaveform"}, {"GetBufferID"}})

tWaveformResource* tNullAudioSubSystem::CreateWaveform() { return NewObject<tNullWaveformResource>(); }
