#include "kernel/null/nullaudio.h"

Z_IMPLEMENT_CLASS(tNullAudioSubSystem, .Operations = {{"Tick"}, {"RenderFrame"}})
