#include "common/recordingaudio.h"

Z_IMPLEMENT_CLASS(tRecordingSource, .Operations = {{"Play"}, {"Stop"}, {"Pause"}, {"LoopSound"}, {"IsPlaying"}, {"PlaceAt"}})
Z_IMPLEMENT_CLASS(tRecordingAudio, .Operations = {{"PlaceListener"}})
