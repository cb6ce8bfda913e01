#include "libraries/classes/audiosubsystem.h"

Z_IMPLEMENT_CLASS(tAudioSubSystem, .Operations = {{"CreateWaveform", ZOP_ABSTRACT}})
