// GUI layout files: the grammar of objects, parameters, properties and value
// lists, and the regions, views and widgets built from what the file names.

#include "fuzzsupport.h"
#include "kernel/loaders/guiloader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    RejectingFatals([&] {
        tMemoryStream Layout(std::string_view(reinterpret_cast<const char*>(Data), Size));
        tOwned<tGUILoader> Loader(NewObject<tGUILoader>());
        std::unique_ptr<tAtomsList> Atoms(Loader->LoadGUI(Layout));
        Atoms->DeallocateAllItems();
    });
    return 0;
}
