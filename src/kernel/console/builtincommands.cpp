// The console's own commands: scripts and demos, key bindings, aliases, the
// version banner and the command list.

#include "kernel/console/console.h"
#include "kernel/console/demoplayers.h"
#include "kernel/console/flightlookup.h"
#include "kernel/console/keynames.h"
#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/vfs/filemapper.h"
#include "libraries/classes/engine.h"

namespace {

constexpr const char* CopyrightLines[] = {
    "Copyright (c) the Halvardine developers. All rights reserved.",
    "",
    "A data-driven, console-driven 3D engine and its aerial arcade game.",
    "Type Help for the list of commands.",
};

constexpr std::size_t HelpCellWidth = 40;
constexpr std::size_t HelpNarrowLine = 40;
constexpr std::size_t HelpWideLine = 120;

// "Unknown key name "NAME"" for Bind and UnBind.
ShortString UnknownKeyMessage(const ShortString& Name) { return "Unknown key name \"" + Name + "\""; }

// Whether a script or demo can be read; if not, the error that opening it
// would have ended the program with is shown instead.
bool ScriptReadable(tConsole& Con, const ShortString& File) {
    ShortString error = tIFileMapper::OpenError(File);
    if (!error.empty()) Con.DisplayError(error);
    return error.empty();
}

}  // namespace

void tEngineConsole::RegisterBuiltInCommands() {
    RegisterCommand("Exec", ConsoleProc<&tEngineConsole::ExecConsoleConfigC>(this));
    RegisterCommand("Quit", ConsoleProc<&tEngineConsole::QuitC>(this));
    RegisterCommand("Bind", ConsoleProc<&tEngineConsole::BindC>(this));
    RegisterCommand("BindList", ConsoleProc<&tEngineConsole::BindListC>(this));
    RegisterCommand("UnBind", ConsoleProc<&tEngineConsole::UnBindC>(this));
    RegisterCommand("UnBindAll", ConsoleProc<&tEngineConsole::UnBindAllC>(this));
    RegisterCommand("PlayDemo", ConsoleProc<&tEngineConsole::PlayDemoC>(this));
    RegisterCommand("Alias", ConsoleProc<&tEngineConsole::AliasC>(this));
    RegisterCommand("Version", ConsoleProc<&tEngineConsole::VersionC>(this));
    RegisterCommand("Copyright", ConsoleProc<&tEngineConsole::CopyrightC>(this));
    RegisterCommand("Clear", ConsoleProc<&tEngineConsole::ClearC>(this));
    RegisterCommand("Echo", ConsoleProc<&tEngineConsole::EchoC>(this));
    RegisterCommand("ToggleConsole", ConsoleProc<&tEngineConsole::ToggleConsoleC>(this));
    RegisterCommand("CmdList", ConsoleProc<&tEngineConsole::HelpC>(this));
    RegisterCommand("Help", ConsoleProc<&tEngineConsole::HelpC>(this));
}

void tEngineConsole::ExecConsoleConfigC(const ShortString& Args) {
    ProcTrace trace("tEngineConsole.ExecConsoleConfig(" + Args + ")");
    ShortString file = GetToken(Args, 1);
    if (file.empty()) {
        DisplayInfoTip("Usage: EXEC <File Name>");
        return;
    }
    // A script that runs itself would recurse until the stack gives out.
    if (ScriptNesting >= MaxScriptNesting) {
        DisplayError("Scripts nested too deep, not run: " + file);
        return;
    }
    if (!RoomForScript(file) || !ScriptReadable(*this, file)) return;
    tDemoPlayer* player = nullptr;
    {
        tNestingLevel level(ScriptNesting);
        player = NewObject<tInstantDemoPlayer>(file);
    }
    // The finished script leaves the stack on the next frame; one finished
    // already on top stands for any number of them.
    if (tDemoPlayer* top = DemoPlayers->GetTop(); top && !top->IsPlaying()) DisposeObject(player);
    else DemoPlayers->Push(player);
}

void tEngineConsole::QuitC(const ShortString&) {
    Logger->Guard(Engine, "Engine not found");
    Engine->RequestingExit = true;
}

void tEngineConsole::BindC(const ShortString& Args) {
    ShortString name = UpCaseStr(GetToken(Args, 1));
    ShortString line = GetToken(Args, 2);
    if (name.empty() || line.empty()) {
        DisplayInfoTip("Usage: BIND <Key Name> <Command>");
        return;
    }
    if (uint8_t key = KeyCodeByName(name)) Bind(key, line);
    else DisplayError(UnknownKeyMessage(name));
}

void tEngineConsole::BindListC(const ShortString&) {
    for (int key = 1; key <= 255; ++key) {
        const ShortString& line = KeyBindings[key];
        if (!line.empty()) Display(MapKeys(static_cast<uint8_t>(key)) + " \"" + line + "\"");
    }
}

void tEngineConsole::UnBindC(const ShortString& Args) {
    ShortString name = UpCaseStr(GetToken(Args, 1));
    if (name.empty()) {
        DisplayInfoTip("Usage: UNBIND <Key Name>");
        return;
    }
    if (uint8_t key = KeyCodeByName(name)) Unbind(key);
    else DisplayError(UnknownKeyMessage(name));
}

void tEngineConsole::UnBindAllC(const ShortString&) { UnbindAll(); }

void tEngineConsole::PlayDemoC(const ShortString& Args) {
    ProcTrace trace("tEngineConsole.PlayDemoC(" + Args + ")");
    ShortString file = GetToken(Args, 1);
    if (file.empty()) {
        DisplayInfoTip("Usage: PlayDemo <filename>");
        return;
    }
    // A recorded flight is the game's to replay; a script is played here.
    if (const ShortString Flight = RecordedFlightFile(file); !FlightPlayer.Empty() && !Flight.empty()) {
        FlightPlayer(Flight);
        return;
    }
    if (!RoomForScript(file) || !ScriptReadable(*this, file)) return;
    DemoPlayers->Push(NewObject<tTimedDemoPlayer>(file));
}

void tEngineConsole::AliasC(const ShortString& Args) {
    const ShortString spelling = GetToken(Args, 1);
    ShortString name = UpCaseStr(spelling);
    ShortString line = GetToken(Args, 2);
    if (name.empty() || line.empty()) {
        DisplayInfoTip("Usage: ALIAS <alias name> <command>");
        return;
    }
    if (tConsoleCommand* existing = CommandsList->FindCommand(name)) {
        // An alias under a command's name would never run.
        if (!existing->IsAlias()) DisplayError("Alias would hide the command " + name);
        else static_cast<tAliasCommand*>(existing)->AliasCommand = line;
        return;
    }
    CommandsList->AddItem(NewObject<tAliasCommand>(spelling, line)->AllocateListItem());
}

void tEngineConsole::VersionC(const ShortString&) {
    // The last part of the version tells its kind: three characters mark an
    // experimental build, otherwise odd numbers are development builds.
    std::string_view version = EngineVersionText;
    ShortString part = version.substr(version.rfind('.') + 1);
    ShortString line = EngineBanner;
    if (part.size() == 3) {
        line += " (Experimental)";
    } else {
        if (!IsCorrectInt(part)) Logger->Fatal("VersionC() cann't recognize engine version: " + part);
        line += Str2Int(part) % 2 != 0 ? " (Development)" : " (Public)";
    }
    Display(line);
}

void tEngineConsole::CopyrightC(const ShortString& Args) {
    VersionC(Args);
    for (const char* line : CopyrightLines) Display(line);
}

void tEngineConsole::ClearC(const ShortString&) { MessagesHistory->Clear(); }

void tEngineConsole::EchoC(const ShortString& Args) { Display(Args); }

void tEngineConsole::ToggleConsoleC(const ShortString&) {
    SendCommand(LocalHUDVisible ? "CloseConsole" : "AddGUI UI\\Console.gui", true);
}

void tEngineConsole::HelpC(const ShortString&) {
    const std::size_t width = ConsoleFontIsWide() ? HelpWideLine : HelpNarrowLine;
    ShortString line;
    const int32_t count = CommandsList->GetTotalItems();
    for (int32_t i = 1; i <= count; ++i) {
        tConsoleCommand* cmd = CommandsList->GetCommand(i);
        ShortString cell = cmd->CmdName;
        if (cmd->IsAlias()) cell += " (alias)";
        line += Fetch(cell, HelpCellWidth);
        if (line.size() == width) {
            Display(line);
            line.clear();
        }
    }
    if (!line.empty()) Display(line);
    Display("   " + Int2Str(count) + " commands registered");
}
