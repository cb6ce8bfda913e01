#pragma once
// SDL2_mixer's output for the music streams: the system's audio device, or,
// when that cannot be opened, SDL's "dummy" driver, which plays into nothing.

#include "kernel/core/shortstring.h"

class tMusicOutput {
public:
    static constexpr int MixRate = 44100;

    // The reason the system's device could not be used, or empty.
    ShortString Open();
    void Close();

    bool Opened = false;

private:
    // SDL's reason when the device of the current driver cannot be opened, or empty.
    static ShortString OpenDevice();
};
