#pragma once
// The audio subsystem: sound sources and music streams for the game. It
// registers itself with the engine when it is created.

#include "libraries/classes/subsystem.h"

class tWaveformResource;

class tAudioSubSystem : public tSubSystem {
    Z_DECLARE_CLASS(tAudioSubSystem, tSubSystem)
public:
    // A new, empty waveform for the resources manager to load; the caller owns it.
    virtual tWaveformResource* CreateWaveform() = 0;
};
