#pragma once
// The console as every subsystem sees it (the global Console): the engine's
// command interpreter. Lines from key bindings, scripts, demos, typed input and
// the engine's own code are split at semicolons and each piece runs the command
// registered under its first word. Subsystems register their commands here and
// show messages; the implementation is tEngineConsole (kernel/console/).

#include <cstdint>
#include <vector>

#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "libraries/math/vector.h"

// A handler routine together with the object it belongs to. Two procs name the
// same handler when their routines are equal, whatever the object.
struct tConsoleProc {
    using tRoutine = void (*)(void* Object, const ShortString& Args);
    void* Object = nullptr;
    tRoutine Routine = nullptr;

    void operator()(const ShortString& Args) const { Routine(Object, Args); }
    bool Empty() const { return Routine == nullptr; }
};

// The proc of a method that takes the argument text:
//   ConsoleProc<&tEngineConsole::EchoC>(this)
template <auto Method, class T>
tConsoleProc ConsoleProc(T* Object) {
    return {Object, [](void* o, const ShortString& Args) { (static_cast<T*>(o)->*Method)(Args); }};
}

enum tConsoleMsgType : int32_t { CMSG_ENGINEMESSAGE = 0, CMSG_ERRORMESSAGE = 1, CMSG_INFOTIP = 2 };

struct tConsoleMessage {
    ShortString Msg;
    tConsoleMsgType MsgType = CMSG_ENGINEMESSAGE;
    TVector4 MsgColor{};
};

class tConsoleMessagesHistory : public tZObject {
    Z_DECLARE_CLASS(tConsoleMessagesHistory, tZObject)
public:
    virtual void Clear() = 0;
    virtual void AddMessage(const tConsoleMessage& Msg) = 0;
    // Index 1 is the newest message, GetTotalMessages() the oldest.
    virtual void GetMessage(int32_t Index, tConsoleMessage& Msg) = 0;
    virtual int32_t GetTotalMessages() = 0;
};

class tConsoleCommandsHistory : public tZObject {
    Z_DECLARE_CLASS(tConsoleCommandsHistory, tZObject)
public:
    virtual void PutCommand(const ShortString& Line) = 0;
    virtual void SetCurrentCommand(const ShortString& Line) = 0;
    virtual ShortString GetCurrentCommand() = 0;
    virtual ShortString MoveBack() = 0;
    virtual ShortString MoveForward() = 0;
};

// What Tab makes of a line: the word that ends at the cursor completed as far
// as the names matching it agree, and those names as they were spelled when
// registered (none: nothing matched, the line is as it was).
struct tCompletion {
    ShortString Line;
    int32_t Cursor = 0;
    std::vector<ShortString> Matches;
};

// What a flight recorder sees of the console: the lines that come from
// outside the game's own code (key bindings, typed lines, "+" groups, demo
// scripts), and each update of the console's scripts, where a replay runs the
// lines those scripts ran.
class tConsoleTap {
public:
    virtual ~tConsoleTap() = default;
    // A line about to run; never one of the command queue's or of a script
    // started by another line (those follow from the line itself).
    virtual void LineRun(const ShortString& Line, bool Pressed) = 0;
    // Around the console's step of its top script in each update.
    virtual void ScriptsStepping() = 0;
    virtual void ScriptsStepped() = 0;
};

class tExec : public tInputDevice {
    Z_DECLARE_CLASS(tExec, tInputDevice)
public:
    virtual void SendCommand(const ShortString& Line, bool Pressed) = 0;
    virtual void QueryCommand(const ShortString& Line) = 0;
};

class tConsole : public tExec {
    Z_DECLARE_CLASS(tConsole, tExec)
public:
    void Display(const ShortString& Msg) { DisplayMessage(Msg, CMSG_ENGINEMESSAGE); }
    void DisplayError(const ShortString& Msg) { DisplayMessage(Msg, CMSG_ERRORMESSAGE); }
    void DisplayInfoTip(const ShortString& Msg) { DisplayMessage(Msg, CMSG_INFOTIP); }
    void UnbindAll();
    bool IsPlayingDemo() const { return PlayingDemo; }
    // A line the player gave: shown as "/" + line, then run.
    void RunTypedLine(const ShortString& Line);

    virtual void Bind(uint8_t Key, const ShortString& CommandLine) = 0;
    virtual void Unbind(uint8_t Key) = 0;
    virtual void DisplayMessage(const ShortString& Msg, tConsoleMsgType Type) = 0;
    // Adds a command; a second command of the same name is fatal, while a
    // player's alias of that name gives way to the command.
    //
    // The rule for every command: its argument comes from a player or a script,
    // and no argument may end the program. Check it first (the file exists and
    // opens, the class is known and concrete, a loader takes the extension, the
    // target is writable and where it may be, the value has the right type) and
    // refuse it with a console error carrying the text the fatal error would
    // have had; nothing changes and the game goes on. Fatal errors stay for
    // what the program itself requires to exist (its start-up scripts, the
    // start-up INI's service classes, files the game code names).
    virtual void RegisterCommand(const ShortString& Name, tConsoleProc Proc) = 0;
    virtual void UnRegisterCommand(const ShortString& Name, tConsoleProc Proc) = 0;
    // As RegisterCommand, and the command leaves when Owner, a member of the
    // handler's object, goes (see tCommandBindings).
    void RegisterCommand(const ShortString& Name, tConsoleProc Proc, tCommandBindings& Owner) {
        RegisterOwnedCommand(Name, Proc, Owner);
    }
    virtual void RegisterOwnedCommand(const ShortString& Name, tConsoleProc Proc, tCommandBindings& Owner) = 0;
    // Removes every command registered through Owner; Owner is empty afterwards.
    virtual void ReleaseCommands(tCommandBindings& Owner) = 0;
    virtual tConsoleMessagesHistory* GetMessagesHistory() = 0;
    virtual tConsoleCommandsHistory* GetCommandsHistory() = 0;
    // Tab in a typed line at the Cursor (0 = before the first character). This
    // console completes nothing.
    virtual tCompletion CompleteLine(const ShortString& Line, int32_t Cursor);

    bool PlayingDemo = false;      // a timed demo is playing
    tConsoleTap* Tap = nullptr;    // a flight recorder or player, when one runs
    // Plays a recorded flight for "PlayDemo" (its argument text); none
    // without a game that records flights.
    tConsoleProc FlightPlayer;
    bool LocalHUDVisible = false;  // the GUI console window is open
    // Set by the engine once its start-up scripts have run: from then on a
    // fatal error met inside a command unwinds to the console (tLineRecovery)
    // and is shown as an error; before, it ends the program.
    bool LinesRecover = false;
};

