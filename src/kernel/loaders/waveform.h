#pragma once
// TWaveform: PCM samples as the sound loaders hand them to a waveform resource.

#include <cstdint>
#include <vector>

struct TWaveform {
    int32_t Channels = 0;
    int32_t SamplesPerSec = 0;
    int32_t BitsPerSample = 0;
    std::vector<uint8_t> WaveData;  // the sample bytes, as stored in the file
};
