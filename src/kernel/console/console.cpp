#include "kernel/console/console.h"

#include <algorithm>

#include "kernel/console/commandsqueue.h"
#include "kernel/console/completion.h"
#include "kernel/console/demoplayers.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tExec, .Operations = {{"SendCommand", ZOP_ABSTRACT}, {"QueryCommand", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tConsole,
    .Operations = {{"Display"}, {"DisplayError"}, {"DisplayInfoTip"}, {"UnbindAll"}, {"IsPlayingDemo"},
                   {"Bind", ZOP_ABSTRACT}, {"Unbind", ZOP_ABSTRACT}, {"DisplayMessage", ZOP_ABSTRACT},
                   {"RegisterCommand", ZOP_ABSTRACT}, {"UnRegisterCommand", ZOP_ABSTRACT},
                   {"GetMessagesHistory", ZOP_ABSTRACT}, {"GetCommandsHistory", ZOP_ABSTRACT}, {"CompleteLine"},
                   {"RegisterOwnedCommand", ZOP_ABSTRACT}, {"ReleaseCommands", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tEngineConsole,
    .Operations = {{"Tick"}, {"RenderFrame"}, {"SendKey"}, {"SendCommand"}, {"QueryCommand"}, {"Bind"}, {"Unbind"},
                   {"DisplayMessage"}, {"RegisterCommand"}, {"UnRegisterCommand"}, {"GetMessagesHistory"},
                   {"GetCommandsHistory"}, {"CompleteLine"}, {"RegisterOwnedCommand"}, {"ReleaseCommands"}},
    .Published = {ZPublished<&tEngineConsole::PostInit>("PostInit")})

namespace {

constexpr uint8_t WheelUpKey = 5;
constexpr uint8_t WheelDownKey = 6;

}  // namespace

bool ConsoleFontIsWide() {
    static const ShortString FontVar = "CONSOLEFONTNAME";
    if (!EngineVars) return false;
    // Read through the table, not GetVar: looking must not clear "modified".
    for (int32_t i = 1; i <= EngineVars->GetTotalVars(); ++i) {
        if (EngineVars->GetVarName(i) != FontVar) continue;
        const tVarDefinition def = EngineVars->GetVarDef(i);
        if (def.ValueType != VT_STRING) return false;
        ShortString font = def.ExternalValue ? *static_cast<const ShortString*>(def.ExternalValuePtr)
                                             : VarValueText(def);
        return UpCaseStr(font) == "LUCIDA CONSOLE";
    }
    return false;
}

void tConsole::UnbindAll() {
    for (int key = 0; key <= 255; ++key) Unbind(static_cast<uint8_t>(key));
}

void tConsole::RunTypedLine(const ShortString& Line) {
    DisplayInfoTip("/" + Line);
    SendCommand(Line, true);
}

tCompletion tConsole::CompleteLine(const ShortString& Line, int32_t Cursor) { return {Line, Cursor, {}}; }

void tCommandBindings::ReleaseAll() {
    if (Console) Console->ReleaseCommands(*this);
}

// ---- tEngineConsole --------------------------------------------------------

tEngineConsole::tEngineConsole() {
    CommandsList = new tCommandsList();
    DemoPlayers = new tDemoPlayersStack();
    MessagesHistory = NewObject<tMessagesHistory>();
    CommandsHistory = NewObject<tCommandsHistory>();
    CommandsQueue = NewObject<tCommandsQueue>();
    TimeVisible = 0.0f;
    LocalHUDVisible = false;
    UnbindAll();
    RegisterBuiltInCommands();
}

tEngineConsole::~tEngineConsole() {
    DisposeObject(MessagesHistory);
    DisposeObject(CommandsHistory);
    DisposeObject(CommandsQueue);
    while (!DemoPlayers->IsEmpty()) DemoPlayers->PopAndDeallocate();
    delete DemoPlayers;
    DemoPlayers = nullptr;
    // Holders that outlive the console (the engine's, at shutdown) have
    // nothing left to release.
    for (int32_t i = 1, n = CommandsList->GetTotalItems(); i <= n; ++i)
        if (tCommandBindings* Owner = CommandsList->GetCommand(i)->Owner) {
            Owner->Console = nullptr;
            Owner->Count = 0;
        }
    CommandsList->DeallocateAllItems();
    delete CommandsList;
    CommandsList = nullptr;
}

int32_t tEngineConsole::FindCommandSeparator(const ShortString& Line) {
    bool quoted = false;
    for (std::size_t i = 0; i < Line.size(); ++i) {
        if (Line[i] == '"') quoted = !quoted;
        else if (Line[i] == ';' && !quoted) return static_cast<int32_t>(i + 1);
    }
    return 0;
}

// Pieces run one after another rather than nested, so a long line with many
// semicolons cannot exhaust the procedure nesting.
void tEngineConsole::SendCommand(const ShortString& Line, bool Pressed) {
    if (LineDepth == 0) {
        if (Tap) Tap->LineRun(Line, Pressed);
        BeginLineWork();
    }
    tNestingLevel depth(LineDepth);
    ShortString line = Line;
    for (;;) {
        ProcTrace trace("tEngineConsole.SendCommand(" + line + ")");
        ShortString piece = line, rest;
        if (int32_t sep = FindCommandSeparator(line); sep > 0) {
            piece = line.substr(0, static_cast<std::size_t>(sep - 1));
            rest = line.substr(static_cast<std::size_t>(sep));
        }
        ShortString name = UpCaseStr(GetToken(piece, 1));
        if (!name.empty() && !TakeLineWork()) return;

        if (name.size() > 1 && name[0] == '+') {
            tVarsManager::ConsoleInputScope input(*EngineVars);
            EngineVars->SetVar(name.substr(1), Pressed);
        } else if (name.view().starts_with("WAIT") && Pressed) {
            if (!rest.empty()) QueryCommand(rest);
            return;
        } else if (Pressed && !name.empty()) {  // empty: a blank piece or an undefined "%name", shown already
            RunPiece(piece, name);
        }
        if (rest.empty()) return;
        line = rest;
    }
}

// Name is token 1 of the piece as SendCommand read it, "%name" already
// replaced: reading it again would report an undefined variable twice.
void tEngineConsole::RunPiece(const ShortString& Piece, const ShortString& Name) {
    // The argument text starts one character after the name's first occurrence.
    std::size_t at = UpCaseStr(Piece).find(Name.view());
    std::size_t nameEnd = (at == ShortString::npos ? 0 : at + 1) + Name.size();
    ShortString args = Piece.substr(nameEnd);

    tConsoleCommand* cmd = CommandsList->FindCommand(Name);
    if (!cmd) {
        DisplayError("Unknown command " + Name);
        return;
    }
    if (!LinesRecover) {
        cmd->Exec(args);
        return;
    }
    // What the command built before the error is undone by its owners as the
    // error unwinds; a command that removed itself is never touched again.
    try {
        tLineRecovery recovery;
        cmd->Exec(args);
    } catch (const tFatalHalt& Halt) {
        DisplayError(Halt.Text);
    }
}

void tEngineConsole::BeginLineWork() { LineWork = 0; }

bool tEngineConsole::TakeLineWork() {
    if (LineWork > MaxCommandsPerLine) return false;
    if (++LineWork <= MaxCommandsPerLine) return true;
    DisplayError("Line runs more than " + Int2Str(MaxCommandsPerLine) + " commands, the rest is not run");
    return false;
}

bool tEngineConsole::RoomForScript(const ShortString& File) {
    int32_t Open = ScriptNesting;
    for (int32_t I = 1; I <= DemoPlayers->GetTotalItems(); ++I) Open += DemoPlayers->GetDemoPlayer(I)->IsPlaying();
    if (Open < MaxOpenScripts) return true;
    DisplayError("Too many scripts open, not run: " + File);
    return false;
}

void tEngineConsole::QueryCommand(const ShortString& Line) {
    ProcTrace trace("tEngineConsole.QueryCommand(" + Line + ")");
    CommandsQueue->PutString(Line);
}

void tEngineConsole::SendKey(uint8_t Key, bool Pressed) {
    tConsole::SendKey(Key, Pressed);
    if (!KeyBindings[Key].empty()) SendCommand(KeyBindings[Key], Pressed);
    if ((Key == WheelUpKey || Key == WheelDownKey) && Pressed) SendKey(Key, false);
}

void tEngineConsole::Bind(uint8_t Key, const ShortString& CommandLine) {
    KeyBindings[Key] = CommandLine.substr(0, MaxBindingLength);
}

void tEngineConsole::Unbind(uint8_t Key) { KeyBindings[Key].clear(); }

tEngineConsole* GameConsole() {
    return Console && Console->DynamicCast("tEngineConsole") ? static_cast<tEngineConsole*>(Console) : nullptr;
}

void tEngineConsole::DisplayMessage(const ShortString& Msg, tConsoleMsgType Type) {
    tConsoleMessage m;
    m.Msg = Msg;
    m.MsgType = Type;
    m.MsgColor = ConsoleMessageColor(Type);
    TimeVisible = MessageVisibleSeconds;
    MessagesHistory->AddMessage(m);
}

void tEngineConsole::Tick(float DeltaSeconds) {
    {
        // The queue's lines follow from lines already run: no tap sees them.
        // Together they are one line's work.
        BeginLineWork();
        tNestingLevel depth(LineDepth);
        CommandsQueue->ProcessQueue();
    }
    if (Tap) Tap->ScriptsStepping();
    if (tDemoPlayer* top = DemoPlayers->GetTop()) {
        if (top->IsPlaying()) top->Play();
        else DemoPlayers->PopAndDeallocate();
    }
    if (Tap) Tap->ScriptsStepped();
    if (TimeVisible > 0.0f) TimeVisible -= DeltaSeconds;
}

void tEngineConsole::PostInit() {
    ProcTrace trace("tConsole.PostInit()");
    Logger->Guard(Engine, "Engine not found");
    Logger->Guard(Engine->Renderer, "Renderer not found");
    Engine->RegisterSubsystem(this);
}

void tEngineConsole::RenderFrame() {
    if (TimeVisible <= 0.0f || MessagesHistory->GetTotalMessages() < 1) return;
    tConsoleMessage Newest;
    MessagesHistory->GetMessage(1, Newest);
    MsgColor = Newest.MsgColor;
    Engine->Renderer->AddTextString(0, 0, Newest.Msg, &MsgColor);
}

void tEngineConsole::RegisterCommand(const ShortString& Name, tConsoleProc Proc) {
    tConsoleCommand* existing = CommandsList->FindCommand(Name);
    if (existing && existing->IsAlias()) {
        // The alias may be running this very registration: nothing of it is
        // used once its Exec returns.
        DisplayError("Alias " + existing->CmdName + " replaced by a command of the same name");
        CommandsList->RemoveItem(existing);
        DisposeObject(existing);
    }
    Logger->Guard(existing == nullptr, "Duplicate command registration: " + Name);
    CommandsList->AddItem(NewObject<tConsoleCommand>(Name, Proc)->AllocateListItem());
}

void tEngineConsole::UnRegisterCommand(const ShortString& Name, tConsoleProc Proc) {
    ProcTrace trace("tEngineConsole.UnRegisterCommand(" + Name + ")");
    tConsoleCommand* cmd = CommandsList->FindCommand(Name);
    if (!cmd) Logger->Fatal("Command not found: " + Name);
    if (!cmd->Equal(Proc)) Logger->Fatal("Class cann't unregister command it didn't register");
    if (tCommandBindings* Owner = cmd->Owner; Owner && --Owner->Count == 0) Owner->Console = nullptr;
    CommandsList->RemoveItem(cmd);
    DisposeObject(cmd);
}

void tEngineConsole::RegisterOwnedCommand(const ShortString& Name, tConsoleProc Proc, tCommandBindings& Owner) {
    Logger->Guard(Owner.Console == nullptr || Owner.Console == this, "RegisterCommand() holder of another console");
    RegisterCommand(Name, Proc);
    CommandsList->FindCommand(Name)->Owner = &Owner;
    Owner.Console = this;
    ++Owner.Count;
}

void tEngineConsole::ReleaseCommands(tCommandBindings& Owner) {
    if (Owner.Console != this) return;
    for (int32_t i = CommandsList->GetTotalItems(); i >= 1; --i) {
        tConsoleCommand* cmd = CommandsList->GetCommand(i);
        if (cmd->Owner != &Owner) continue;
        CommandsList->RemoveItem(cmd);
        DisposeObject(cmd);
    }
    Owner.Console = nullptr;
    Owner.Count = 0;
}

tConsoleMessagesHistory* tEngineConsole::GetMessagesHistory() { return MessagesHistory; }

tConsoleCommandsHistory* tEngineConsole::GetCommandsHistory() { return CommandsHistory; }

tCompletion tEngineConsole::CompleteLine(const ShortString& Line, int32_t Cursor) {
    Cursor = std::clamp(Cursor, 0, static_cast<int32_t>(Line.size()));
    const tCompletionWord Word = WordBeforeCursor(Line, Cursor);
    if (!Word.TakesFileName) return CompleteFromNames(Line, Cursor, Word.Start, ConsoleNames(*CommandsList, EngineVars));
    const ShortString Typed = Line.substr(static_cast<std::size_t>(Word.Start), static_cast<std::size_t>(Cursor - Word.Start));
    return CompleteFromNames(Line, Cursor, Word.Start, FileSystem ? FileNamesFor(Typed, *FileSystem) : std::vector<ShortString>{});
}
