#include "kernel/core/commandline.h"

#include <string_view>

TCommandLine CommandLine;

void ReadCommandLine(int argc, const char* const* argv) {
    CommandLine = TCommandLine{};
    for (int i = 1; i < argc; ++i) {
        std::string_view Arg = argv[i];
        if (Arg == "--no-menu") {
            CommandLine.SkipMenu = true;
        } else if (Arg.starts_with('+')) {
            CommandLine.ConsoleLines.emplace_back(Arg.substr(1));
        } else if (!CommandLine.ConsoleLines.empty()) {
            CommandLine.ConsoleLines.back().append(" ").append(Arg);
        }
    }
}
