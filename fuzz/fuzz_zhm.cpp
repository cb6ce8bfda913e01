// Height maps: a ZHM description and the raw samples it names, as one input
// (the description up to the first zero byte, the samples after it, written
// to the file the description may name as "fuzz.txt"). The description's
// parameters and shaders, then the raw data's length (side, bit depth,
// truncation) and a read of every sample the terrain would read.

#include <algorithm>
#include <cstring>

#include "fuzzsupport.h"
#include "kernel/loaders/scriptloaders.h"
#include "kernel/resources/heightmapresource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    InitRenderServices();
    const uint8_t* End = Data + Size;
    const uint8_t* Split = std::find(Data, End, uint8_t{0});
    WriteFuzzFile(Split == End ? Split : Split + 1, Split == End ? 0 : static_cast<std::size_t>(End - Split - 1));
    tMemoryStream Description(std::string_view(reinterpret_cast<const char*>(Data), Split - Data));
    RejectingFatals([&] {
        tOwned<tZHMLoader> Loader(NewObject<tZHMLoader>());
        tOwned<tResource> Loaded(Loader->LoadZHM(Description));
        auto* Map = dynamic_cast<tHeightMapResource*>(Loaded.get());
        if (!Map) return;
        float Sum = 0;
        for (int32_t X = 0; X <= Map->Size + 1; ++X)
            for (int32_t Y = 0; Y <= Map->Size + 1; ++Y) Sum += Map->LandscapeHeight(X, Y);
        volatile float Kept = Sum;
        (void)Kept;
    });
    return 0;
}
