// BMP files: the header checks, the size check against the file and the
// decoder; every image accepted is written back out as a screenshot would be.

#include "fuzzsupport.h"
#include "kernel/loaders/bmploader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    static tBMPLoader* Loader = NewObject<tBMPLoader>();
    tMemoryStream File(std::string_view(reinterpret_cast<const char*>(Data), Size));
    RejectingFatals([&] {
        TBMPRec Image = Loader->ReadImage(File);
        tMemoryStream Out;
        Loader->SaveBitmap(Out, Image);
    });
    return 0;
}
