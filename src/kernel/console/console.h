#pragma once
// The engine's console (the interface is in libraries/classes/console.h). It keeps
// the key bindings, aliases, the message and typed-line histories, the queue of
// deferred lines and the stack of script and demo players.

#include <cstdint>

#include "kernel/console/commands.h"
#include "kernel/console/histories.h"
#include "libraries/classes/console.h"

class tCommandsQueue;
class tDemoPlayersStack;

// Whether the console's font is the wide "Lucida Console", whose columns hold
// three times as many cells ("Help", "VarList").
bool ConsoleFontIsWide();

class tEngineConsole;
// The global console as the engine's own (its key bindings), nullptr when
// there is none or another one stands in for it.
tEngineConsole* GameConsole();

class tEngineConsole : public tConsole {
    Z_DECLARE_CLASS(tEngineConsole, tConsole)
public:
    static constexpr std::size_t MaxBindingLength = 80;
    static constexpr float MessageVisibleSeconds = 2.0f;
    // Scripts run by "Exec" may run further scripts, this many deep.
    static constexpr int32_t MaxScriptNesting = 6;
    // Scripts with their file open at once: those running and the demos
    // playing. A script that would pass the bound is not run.
    static constexpr int32_t MaxOpenScripts = 16;
    // Commands one line may run, counting those its aliases and scripts
    // expand to; the rest of the line is refused.
    static constexpr int32_t MaxCommandsPerLine = 10000;

    tEngineConsole();
    ~tEngineConsole() override;

    // Once the engine and its render device exist: joins the engine's subsystems.
    void PostInit();

    void Tick(float DeltaSeconds) override;
    // Draws the newest message at the top left while it is fresh.
    void RenderFrame() override;
    void SendKey(uint8_t Key, bool Pressed) override;
    void SendCommand(const ShortString& Line, bool Pressed) override;
    void QueryCommand(const ShortString& Line) override;
    void Bind(uint8_t Key, const ShortString& CommandLine) override;
    void Unbind(uint8_t Key) override;
    void DisplayMessage(const ShortString& Msg, tConsoleMsgType Type) override;
    using tConsole::RegisterCommand;
    void RegisterCommand(const ShortString& Name, tConsoleProc Proc) override;
    void UnRegisterCommand(const ShortString& Name, tConsoleProc Proc) override;
    void RegisterOwnedCommand(const ShortString& Name, tConsoleProc Proc, tCommandBindings& Owner) override;
    void ReleaseCommands(tCommandBindings& Owner) override;
    tConsoleMessagesHistory* GetMessagesHistory() override;
    tConsoleCommandsHistory* GetCommandsHistory() override;
    // From the commands, aliases and variables; after "Exec", "PlayDemo" and
    // "AddGUI", from the file names of the virtual file system.
    tCompletion CompleteLine(const ShortString& Line, int32_t Cursor) override;

    // 1-based position of the first ";" outside double quotes, 0 if none.
    static int32_t FindCommandSeparator(const ShortString& Line);
    const ShortString& GetBinding(uint8_t Key) const { return KeyBindings[Key]; }
    tCommandsList* GetCommandsList() { return CommandsList; }
    tDemoPlayersStack* GetDemoPlayers() { return DemoPlayers; }
    float GetTimeVisible() const { return TimeVisible; }

    void ExecConsoleConfigC(const ShortString& Args);
    void QuitC(const ShortString& Args);
    void BindC(const ShortString& Args);
    void BindListC(const ShortString& Args);
    void UnBindC(const ShortString& Args);
    void UnBindAllC(const ShortString& Args);
    void PlayDemoC(const ShortString& Args);
    void AliasC(const ShortString& Args);
    void VersionC(const ShortString& Args);
    void CopyrightC(const ShortString& Args);
    void ClearC(const ShortString& Args);
    void EchoC(const ShortString& Args);
    void ToggleConsoleC(const ShortString& Args);
    void HelpC(const ShortString& Args);

private:
    void RegisterBuiltInCommands();
    void RunPiece(const ShortString& Piece, const ShortString& Name);
    // Starts the work count of a line that no other line runs.
    void BeginLineWork();
    // Counts one command of the current line; false (with one error per
    // line) once the line has run MaxCommandsPerLine.
    bool TakeLineWork();
    // Whether one more script may open its file; if not, the error.
    bool RoomForScript(const ShortString& File);

    ShortString KeyBindings[256];
    tCommandsList* CommandsList = nullptr;
    tDemoPlayersStack* DemoPlayers = nullptr;
    tCommandsQueue* CommandsQueue = nullptr;
    tMessagesHistory* MessagesHistory = nullptr;
    tCommandsHistory* CommandsHistory = nullptr;
    float TimeVisible = 0.0f;  // seconds the newest message stays drawn
    TVector4 MsgColor{};
    int32_t ScriptNesting = 0;  // "Exec" calls open on the call stack
    int32_t LineDepth = 0;      // SendCommand calls open on the call stack
    int32_t LineWork = 0;       // commands the current outermost line has run
};
