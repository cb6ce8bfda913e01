// WAV files: the walk over the RIFF chunks, the format checks and the sample
// block sized from the data chunk.

#include "fuzzsupport.h"
#include "kernel/loaders/wavloader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    tMemoryStream File(std::string_view(reinterpret_cast<const char*>(Data), Size));
    RejectingFatals([&] { tWAVLoader::ReadWaveform(File); });
    return 0;
}
