// Console lines: every line of the input is typed into the console (commands,
// semicolons, quotes, %-variables, aliases, bindings, scripts and demos from
// the fuzz Data/ tree), then the console ticks so queued lines and demos run.
// The console, its variables and aliases live on from input to input.

#include <string_view>

#include "fuzzsupport.h"
#include "kernel/core/console.h"
#include "kernel/core/globals.h"

namespace {
constexpr int MaxLines = 64;
constexpr int Ticks = 3;
constexpr float TickSeconds = 0.01f;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    RejectingFatals([&] {
        for (int Line = 0; Line < MaxLines && !Text.empty(); ++Line) {
            std::size_t End = Text.find('\n');
            Console->SendCommand(ShortString(Text.substr(0, End)), true);
            Text = End == std::string_view::npos ? std::string_view() : Text.substr(End + 1);
        }
        for (int I = 0; I < Ticks; ++I) Console->Tick(TickSeconds);
    });
    return 0;
}
