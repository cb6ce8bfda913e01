// DDS files: the texture-type estimate from the mapped header, volumes through
// the decoder and cube maps read as stored.

#include "fuzzsupport.h"
#include "kernel/loaders/ddsloader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    static tDDSLoader* Loader = NewObject<tDDSLoader>();
    tMemoryStream File(std::string_view(reinterpret_cast<const char*>(Data), Size));
    RejectingFatals([&] { Loader->ReadImage(File); });
    return 0;
}
