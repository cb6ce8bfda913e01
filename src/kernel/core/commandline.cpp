#include "kernel/core/commandline.h"

#include <cstdio>
#include <string_view>

#include "kernel/core/engineversion.h"

TCommandLine CommandLine;

namespace {

// The word as one token of a console line.
std::string AsToken(std::string_view Word) {
    const bool Splits = Word.find_first_of(" \t;") != std::string_view::npos;
    if (!Splits || Word.find('"') != std::string_view::npos) return std::string(Word);
    return "\"" + std::string(Word) + "\"";
}

// Bytes below 32 other than the tab would end or break the console line.
bool HasControlCharacter(std::string_view Word) {
    for (char C : Word)
        if (static_cast<unsigned char>(C) < 32 && C != '\t') return true;
    return false;
}

}  // namespace

tCommandLineResult ParseCommandLine(const std::vector<std::string>& Args) {
    tCommandLineResult R;
    bool InGroup = false;
    bool PortFollows = false;
    // The option whose folder the next word is.
    std::string* FolderFollows = nullptr;
    std::string_view FolderOption;
    auto Refuse = [&R](std::string Why) {
        R.Action = tCommandLineAction::Refuse;
        R.Error = std::move(Why);
        return R;
    };
    for (const std::string& Arg : Args) {
        const std::string_view Word = Arg;
        if (HasControlCharacter(Word)) return Refuse("control character in argument");
        if (FolderFollows) {
            if (Word.empty() || Word.starts_with("--")) return Refuse(std::string(FolderOption) + " needs a folder");
            *FolderFollows = Arg;
            FolderFollows = nullptr;
            continue;
        }
        if (PortFollows) {
            PortFollows = false;
            const bool Digits = !Word.empty() && Word.size() <= 5 && Word.find_first_not_of("0123456789") == Word.npos;
            if (!Digits || std::stoi(Arg) < 1 || std::stoi(Arg) > 65535) return Refuse("--port needs a port 1 ... 65535");
            R.Options.Port = std::stoi(Arg);
            continue;
        }
        if (Word.starts_with("--") || Word == "-h") {
            InGroup = false;
            if (Word == "--no-menu") R.Options.SkipMenu = true;
            else if (Word == "--dedicated") R.Options.Dedicated = true;
            else if (Word == "--port") PortFollows = true;
            else if (Word == "--headless") R.Options.Headless = true;
            else if (Word == "--autopilot") R.Options.Autopilot = true;
            else if (Word == "--data" || Word == "--home") {
                FolderOption = Word;
                FolderFollows = Word == "--data" ? &R.Options.DataDir : &R.Options.HomeDir;
            }
            else if (Word == "--help" || Word == "-h") R.Action = tCommandLineAction::ShowHelp;
            else if (Word == "--version") {
                if (R.Action != tCommandLineAction::ShowHelp) R.Action = tCommandLineAction::ShowVersion;
            } else return Refuse("unknown option " + Arg);
        } else if (Word.starts_with('+')) {
            InGroup = true;
            // The "+" word is a line as written ("+Set TimeDemoQuit True" given
            // as one argument); the words after it are tokens of that line.
            R.Options.ConsoleLines.emplace_back(Word.substr(1));
        } else if (InGroup) {
            std::string& Line = R.Options.ConsoleLines.back();
            if (!Line.empty()) Line += ' ';
            Line += AsToken(Word);
        } else {
            return Refuse("unexpected argument " + Arg + " (console lines start with +)");
        }
        if (InGroup && R.Options.ConsoleLines.back().size() > MaxCommandLineGroup)
            return Refuse("console line longer than " + std::to_string(MaxCommandLineGroup) + " characters");
    }
    if (PortFollows) return Refuse("--port needs a port 1 ... 65535");
    if (FolderFollows) return Refuse(std::string(FolderOption) + " needs a folder");
    if (R.Options.Port != 0 && !R.Options.Dedicated) return Refuse("--port goes with --dedicated");
    if (R.Options.Headless && R.Options.Dedicated) return Refuse("--headless is a client, --dedicated a server: one of them");
    // "+" alone with nothing after it asks for nothing.
    std::erase_if(R.Options.ConsoleLines, [](const std::string& Line) { return Line.empty(); });
    return R;
}

std::string CommandLineUsage(const std::string& Program) {
    return "Usage: " + Program + " [options] [+command [arguments]]...\n"
           "\n"
           "Options:\n"
           "  --no-menu    start straight into the match, without the main menu\n"
           "  --dedicated  host the match with no window, sound or menu: console lines\n"
           "               from standard input, messages on standard output\n"
           "  --port N     the port a dedicated server hosts on (default 27960)\n"
           "  --headless   a client with no window, sound or menu (+Connect host[:port]),\n"
           "               console lines from standard input, messages on standard output\n"
           "  --autopilot  fly a joined match by the computer pilots' judgement\n"
           "  --data DIR   read the game's data from DIR (default: the installed data)\n"
           "  --home DIR   write options, bindings, history, screenshots, recordings,\n"
           "               caches and logs to DIR (default: the XDG folders,\n"
           "               ~/.local/share, ~/.config and ~/.cache, each /halvardine)\n"
           "  --help, -h   show this help and exit\n"
           "  --version    show the engine's version and exit\n"
           "\n"
           "Each + group is a console line, run after the start-up scripts as if typed:\n"
           "  " + Program + " +Set PlaneChassis tPursuitPlane +Exec my.cfg\n";
}

int ReadCommandLine(int argc, const char* const* argv) {
    std::string Program = argc > 0 && argv[0] && *argv[0] ? std::string(argv[0]) : std::string("halvardine");
    Program.erase(0, Program.find_last_of('/') + 1);
    std::vector<std::string> Args;
    for (int I = 1; I < argc; ++I) Args.emplace_back(argv[I]);
    tCommandLineResult R = ParseCommandLine(Args);
    CommandLine = std::move(R.Options);
    switch (R.Action) {
        case tCommandLineAction::Run: return -1;
        case tCommandLineAction::ShowHelp: std::fputs(CommandLineUsage(Program).c_str(), stdout); return 0;
        case tCommandLineAction::ShowVersion: std::printf("%s\n", EngineBanner); return 0;
        case tCommandLineAction::Refuse:
            std::fprintf(stderr, "%s: %s\n\n%s", Program.c_str(), R.Error.c_str(), CommandLineUsage(Program).c_str());
            return 2;
    }
    return -1;
}
