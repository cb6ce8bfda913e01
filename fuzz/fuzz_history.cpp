// The console's history file: read as the game reads it at start-up (a
// damaged file leaves an empty history), and what was read written back and
// read again to the same lines.

#include <cstdlib>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "kernel/console/histories.h"
#include "kernel/console/historyfile.h"
#include "kernel/objects/zobject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    WriteFuzzFile(Data, Size);
    RejectingFatals([&] {
        auto* History = NewObject<tCommandsHistory>();
        LoadCommandsHistory(*History, FuzzFile);
        std::vector<ShortString> Lines;
        std::string Error;
        const std::string Text(reinterpret_cast<const char*>(Data), Size);
        const bool Accepted = ParseHistoryText(Text, Lines, Error);
        const auto Held = static_cast<std::size_t>(History->GetTotalCommands());
        // Lines read are the file's lines; a refused file (or one too large to
        // read) leaves none.
        if (Held > 0 && (!Accepted || Held != Lines.size())) std::abort();
        std::vector<ShortString> Again;
        if (!ParseHistoryText(HistoryText(*History), Again, Error)) std::abort();
        if (Again.size() != Held || (Held > 0 && Again != Lines)) std::abort();
        tZObject::DisposeObject(History);
    });
    return 0;
}
