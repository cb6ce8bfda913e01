// Music files: the checks a file's bytes pass before a decoder sees them.
// The first byte picks the format (as its extension would), the rest is the
// file.

#include <iterator>

#include "fuzzsupport.h"
#include "kernel/audio/musiccheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    static const char* const Extensions[] = {".MID", ".MOD", ".S3M", ".XM", ".IT", ".OGG", ".MP3"};
    if (Size < 1) return 0;
    const char* Extension = Extensions[Data[0] % std::size(Extensions)];
    MusicFileError(std::string_view(reinterpret_cast<const char*>(Data + 1), Size - 1), Extension);
    return 0;
}
