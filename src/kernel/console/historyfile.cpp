#include "kernel/console/historyfile.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "kernel/console/histories.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/classes/filesystem.h"

namespace {

constexpr std::string_view Header = "HalvardineHistory 1";

std::filesystem::path PhysicalPath(const ShortString& File) {
    return std::filesystem::path(FileSystem->VirtualNameToPhysical(File).str());
}

// The player's copy, whatever was read.
std::filesystem::path WritablePath(const ShortString& File) {
    return std::filesystem::path(FileSystem->WritableNameToPhysical(File).str());
}

void Warn(const ShortString& Msg) {
    if (Warning) Warning->Log(Msg);
}

}  // namespace

bool ParseHistoryText(std::string_view Text, std::vector<ShortString>& Lines, std::string& Error) {
    Lines.clear();
    bool First = true;
    while (!Text.empty()) {
        std::size_t End = Text.find('\n');
        std::string_view Line = Text.substr(0, End);
        Text = End == std::string_view::npos ? std::string_view() : Text.substr(End + 1);
        if (Line.ends_with('\r')) Line.remove_suffix(1);
        if (First) {
            if (Line != Header) return Error = "no history header", Lines.clear(), false;
            First = false;
            continue;
        }
        if (Line.empty()) continue;
        if (Line.size() > ShortString::Capacity) return Error = "line too long", Lines.clear(), false;
        for (char C : Line)
            if (static_cast<unsigned char>(C) < 32 && C != '\t') return Error = "control character", Lines.clear(), false;
        if (static_cast<int32_t>(Lines.size()) == tCommandsHistory::Capacity)
            return Error = "more lines than the history holds", Lines.clear(), false;
        Lines.emplace_back(Line);
    }
    if (First) return Error = "empty file", false;
    return true;
}

std::string HistoryText(const tCommandsHistory& History) {
    std::string Text(Header);
    Text += '\n';
    for (int32_t N = History.GetTotalCommands(); N >= 1; --N) {
        Text += History.GetCommand(N).view();
        Text += '\n';
    }
    return Text;
}

void LoadCommandsHistory(tCommandsHistory& History, const ShortString& File) {
    ProcTrace trace("LoadCommandsHistory(" + File + ")");
    const std::filesystem::path Path = PhysicalPath(File);
    std::error_code Code;
    if (!std::filesystem::exists(Path, Code)) return;
    std::ifstream In(Path, std::ios::binary);
    // The largest sound file: the header and every line at full length.
    constexpr std::size_t MaxFileSize = 64 + tCommandsHistory::Capacity * (ShortString::Capacity + 2);
    std::string Text;
    if (In) {
        Text.resize(MaxFileSize + 1);
        In.read(Text.data(), static_cast<std::streamsize>(Text.size()));
        Text.resize(static_cast<std::size_t>(In.gcount()));
    }
    if (!In && !In.eof()) {
        Warn("Unable to read the console history " + File + "; starting with an empty one");
        return;
    }
    std::vector<ShortString> Lines;
    std::string Error;
    if (Text.size() > MaxFileSize) Error = "file too large";
    if (!Error.empty() || !ParseHistoryText(Text, Lines, Error)) {
        Warn("The console history " + File + " is damaged (" + ShortString(Error) + "); starting with an empty one");
        return;
    }
    for (const ShortString& Line : Lines) History.PutCommand(Line);
}

void SaveCommandsHistory(const tCommandsHistory& History, const ShortString& File) {
    ProcTrace trace("SaveCommandsHistory(" + File + ")");
    const std::filesystem::path Path = WritablePath(File);
    std::filesystem::path Temporary = Path;
    Temporary += ".new";
    std::error_code Code;
    std::filesystem::create_directories(Path.parent_path(), Code);
    {
        std::ofstream Out(Temporary, std::ios::binary | std::ios::trunc);
        Out << HistoryText(History);
        Out.close();
        if (!Out) {
            Warn("Unable to write the console history " + File);
            std::filesystem::remove(Temporary, Code);
            return;
        }
    }
    std::filesystem::rename(Temporary, Path, Code);
    if (Code) Warn("Unable to write the console history " + File + ": " + ShortString(Code.message()));
}
