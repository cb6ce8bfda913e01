// INI files: the reader's sections, keys and line checks on a real file read
// through the file system, then a lookup and a save of what was read.

#include "fuzzsupport.h"
#include "kernel/vfs/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    WriteFuzzFile(Data, Size);
    RejectingFatals([&] {
        tZINIFile Ini(FuzzFile);
        Ini.GetValue("Core", "Engine");
        Ini.SaveINI();
    });
    return 0;
}
