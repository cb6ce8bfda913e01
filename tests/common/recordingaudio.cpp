#include "common/recordingaudio.h"

Z_IMPLEMENT_CLASS(tRecordingSource, .Operations = {{"Play"}, {"Stop"}, {"Pause"}, {"LoopSound"}, {"IsPlaying"}})
Z_IMPLEMENT_CLASS(tRecordingAudio)
