// Console lines: every line of the input is typed into the console (commands,
// semicolons, quotes, %-variables, aliases, bindings, scripts and demos from
// the fuzz Data/ tree), then the console ticks so queued lines and demos run.
// The console and its variables live on from input to input; what an input
// piles up (aliases, bindings, scripts and demos still playing, messages) is
// cleared before the next, so later inputs run as fast as the first. No line
// may reach the halt hook: a fatal error here aborts as a finding.

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzzsupport.h"
#include "kernel/console/console.h"
#include "kernel/console/demoplayers.h"
#include "kernel/core/globals.h"

namespace {
constexpr int MaxLines = 64;
constexpr int Ticks = 3;
constexpr float TickSeconds = 0.01f;

void ForgetPreviousInput(tEngineConsole& Con) {
    tCommandsList& Commands = *Con.GetCommandsList();
    for (int32_t I = Commands.GetTotalItems(); I >= 1; --I) {
        tZObject* Command = Commands.GetCommand(I);
        if (Commands.GetCommand(I)->IsAlias()) Commands.DeallocateItem(Command);
    }
    while (Con.GetDemoPlayers()->GetTop()) Con.GetDemoPlayers()->PopAndDeallocate();
    Con.GetMessagesHistory()->Clear();
    Con.UnbindAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    InitFuzzEngine();
    InitFuzzServices();
    ForgetPreviousInput(*static_cast<tEngineConsole*>(Console));
    std::string_view Text(reinterpret_cast<const char*>(Data), Size);
    // No console line may end the program: reaching the halt hook is a finding.
    try {
        for (int Line = 0; Line < MaxLines && !Text.empty(); ++Line) {
            std::size_t End = Text.find('\n');
            Console->SendCommand(ShortString(Text.substr(0, End)), true);
            Text = End == std::string_view::npos ? std::string_view() : Text.substr(End + 1);
        }
        for (int I = 0; I < Ticks; ++I) Console->Tick(TickSeconds);
    } catch (const tFatalHalt& Halt) {
        std::fprintf(stderr, "A console line ended the program: %s\n", Halt.Text.c_str());
        std::abort();
    }
    return 0;
}
