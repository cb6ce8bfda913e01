#include "kernel/console/completion.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "kernel/console/commands.h"
#include "kernel/core/strutils.h"
#include "kernel/core/textchars.h"
#include "kernel/vfs/direntry.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/varsmanager.h"

namespace {

constexpr std::array<std::string_view, 3> FileCommands = {"EXEC", "PLAYDEMO", "ADDGUI"};

char Upper(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

bool SameLetters(char A, char B) { return Upper(A) == Upper(B); }

bool StartsWithAnyCase(std::string_view Text, std::string_view Prefix) {
    return Text.size() >= Prefix.size() && std::equal(Prefix.begin(), Prefix.end(), Text.begin(), SameLetters);
}

bool LessAnyCase(const ShortString& A, const ShortString& B) {
    return std::lexicographical_compare(A.view().begin(), A.view().end(), B.view().begin(), B.view().end(),
                                        [](char X, char Y) { return Upper(X) < Upper(Y); });
}

bool EqualAnyCase(const ShortString& A, const ShortString& B) {
    return A.size() == B.size() && StartsWithAnyCase(A.view(), B.view());
}

}  // namespace

tCompletionWord WordBeforeCursor(const ShortString& Line, int32_t Cursor) {
    const std::string_view Text = Line.view().substr(0, static_cast<std::size_t>(std::clamp<int32_t>(Cursor, 0, static_cast<int32_t>(Line.size()))));
    std::size_t PieceStart = 0, WordStart = 0;
    bool Quoted = false;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char C = Text[I];
        if (C == '"') {
            Quoted = !Quoted;
            WordStart = I + 1;
        } else if (!Quoted && C == ';') {
            PieceStart = WordStart = I + 1;
        } else if (!Quoted && IsBlank(C)) {
            WordStart = I + 1;
        }
    }
    tCompletionWord Word;
    Word.Start = static_cast<int32_t>(WordStart);

    // Which token of its piece the word is, and the piece's command; the
    // quote that opens the word is part of its token.
    std::string_view Before = Text.substr(PieceStart, WordStart - PieceStart);
    if (Quoted && Before.ends_with('"')) Before.remove_suffix(1);
    std::string_view Command;
    int32_t Tokens = 0;
    bool InToken = false;
    Quoted = false;
    for (std::size_t I = 0; I < Before.size(); ++I) {
        const char C = Before[I];
        if (C == '"') Quoted = !Quoted;
        const bool Separates = !Quoted && IsBlank(C);
        if (!Separates && !InToken) {
            ++Tokens;
            if (Tokens == 1) {
                std::size_t End = Before.find_first_of(" \t\"", I + 1);
                Command = Before.substr(I, End == std::string_view::npos ? std::string_view::npos : End - I);
            }
        }
        InToken = !Separates;
    }
    if (Tokens == 1) {
        for (std::string_view Name : FileCommands)
            if (Command.size() == Name.size() && StartsWithAnyCase(Name, Command)) Word.TakesFileName = true;
    }
    return Word;
}

tCompletion CompleteFromNames(const ShortString& Line, int32_t Cursor, int32_t Start, std::vector<ShortString> Names) {
    tCompletion Result{Line, Cursor, {}};
    if (Start < 0 || Start > Cursor || Cursor > static_cast<int32_t>(Line.size())) return Result;
    const std::string_view Word = Line.view().substr(static_cast<std::size_t>(Start), static_cast<std::size_t>(Cursor - Start));

    std::erase_if(Names, [Word](const ShortString& Name) { return Name.empty() || !StartsWithAnyCase(Name.view(), Word); });
    std::sort(Names.begin(), Names.end(), LessAnyCase);
    Names.erase(std::unique(Names.begin(), Names.end(), EqualAnyCase), Names.end());
    if (Names.empty()) return Result;

    // As far as every match agrees, spelled as the first.
    std::size_t Agreed = Names.front().size();
    for (const ShortString& Name : Names) {
        std::size_t I = 0;
        while (I < Agreed && I < Name.size() && SameLetters(Name[I], Names.front()[I])) ++I;
        Agreed = I;
    }
    std::string Completed(Names.front().view().substr(0, Agreed));
    if (Names.size() == 1 && !Completed.ends_with('\\')) Completed += ' ';

    std::string NewLine(Line.view().substr(0, static_cast<std::size_t>(Start)));
    NewLine += Completed;
    const std::size_t NewCursor = NewLine.size();
    NewLine += Line.view().substr(static_cast<std::size_t>(Cursor));
    // A line that would not fit stays as it was; the matches are still told.
    if (NewLine.size() <= ShortString::Capacity) {
        Result.Line = ShortString(NewLine);
        Result.Cursor = static_cast<int32_t>(NewCursor);
    }
    Result.Matches = std::move(Names);
    return Result;
}

std::vector<ShortString> ConsoleNames(tCommandsList& Commands, tVarsManager* Vars) {
    std::vector<ShortString> Names;
    for (int32_t I = 1; I <= Commands.GetTotalItems(); ++I) {
        const tConsoleCommand* Cmd = Commands.GetCommand(I);
        Names.push_back(Cmd->Spelling.empty() ? Cmd->CmdName : Cmd->Spelling);
    }
    if (Vars) {
        for (int32_t I = 1; I <= Vars->GetTotalVars(); ++I) {
            const tVarDefinition Def = Vars->GetVarDef(I);
            Names.push_back(Def.Spelling.empty() ? Def.VarName : Def.Spelling);
        }
    }
    return Names;
}

std::vector<ShortString> FileNamesFor(const ShortString& Word, tFileSystem& Files) {
    std::vector<ShortString> Names;
    const std::size_t Cut = Word.view().find_last_of("\\/");
    const ShortString Typed = Cut == std::string_view::npos ? ShortString() : Word.substr(0, Cut + 1);
    ShortString Dir = Typed;
    for (std::size_t I = 0; I < Dir.size(); ++I)
        if (Dir[I] == '/') Dir[I] = '\\';
    const pDirectoryEntry Parent = Files.GetDirectoryEntry(Dir);
    if (!Parent || !Parent->IsDirectory()) return Names;
    for (pDirectoryEntry Entry = Parent->Child; Entry; Entry = Entry->Next) {
        // The name as the disk spells it: the physical path's last part.
        std::string_view Physical = Entry->PhysicalName.view();
        if (Physical.ends_with('/')) Physical.remove_suffix(1);
        std::string_view Spelled = Physical.substr(Physical.find_last_of('/') + 1);
        if (Spelled.empty() || !EqualAnyCase(ShortString(Spelled), Entry->Name)) Spelled = Entry->Name.view();
        ShortString Name = Typed + ShortString(Spelled);
        if (Entry->IsDirectory()) Name += '\\';
        Names.push_back(Name);
    }
    return Names;
}
