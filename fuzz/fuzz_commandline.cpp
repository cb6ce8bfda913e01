// The program's command line: the input's NUL-separated words as the
// arguments. Whatever it accepts is console lines a console can take: each
// non-empty, at most a console line long, without control characters.

#include <cstdlib>
#include <string>
#include <vector>

#include "kernel/core/commandline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    std::vector<std::string> Args(1);
    for (std::size_t I = 0; I < Size; ++I) {
        if (Data[I] == 0) Args.emplace_back();
        else Args.back() += static_cast<char>(Data[I]);
    }
    const tCommandLineResult R = ParseCommandLine(Args);
    if (R.Action == tCommandLineAction::Refuse) {
        if (R.Error.empty()) std::abort();
        return 0;
    }
    for (const std::string& Line : R.Options.ConsoleLines) {
        if (Line.empty() || Line.size() > MaxCommandLineGroup) std::abort();
        for (char C : Line)
            if (static_cast<unsigned char>(C) < 32 && C != '\t') std::abort();
    }
    return 0;
}
