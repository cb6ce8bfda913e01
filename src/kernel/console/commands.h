#pragma once
// The console's command table: named handlers registered by the subsystems and
// aliases that stand for a whole command line.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/resources/zobject.h"
#include "libraries/classes/lists.h"

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

// One level of a nesting counter (aliases inside aliases, scripts inside
// scripts) for as long as it lives, so a command cut short by a fatal error
// that a test or fuzz target catches leaves the counter as it found it.
class tNestingLevel {
public:
    explicit tNestingLevel(int32_t& Counter) : Count(Counter) { ++Count; }
    ~tNestingLevel() { --Count; }
    tNestingLevel(const tNestingLevel&) = delete;
    tNestingLevel& operator=(const tNestingLevel&) = delete;

private:
    int32_t& Count;
};

class tConsoleCommand : public tZObject {
    Z_DECLARE_CLASS(tConsoleCommand, tZObject)
public:
    tConsoleCommand(const ShortString& Name, tConsoleProc Proc);

    virtual void Exec(const ShortString& Args);
    virtual bool Equal(const tConsoleProc& Proc) const;
    virtual bool IsAlias() const { return false; }

    ShortString CmdName;  // upper case
    tConsoleProc CmdProc;
};

// Runs its command line through the console, nested at most four deep.
class tAliasCommand : public tConsoleCommand {
    Z_DECLARE_CLASS(tAliasCommand, tConsoleCommand)
public:
    static constexpr int32_t MaxAliasNesting = 3;

    tAliasCommand(const ShortString& Name, const ShortString& CommandLine);
    void Exec(const ShortString& Args) override;
    bool IsAlias() const override { return true; }

    ShortString AliasCommand;  // as typed
};

class tCommandsList : public tList {
public:
    tCommandsList();
    tConsoleCommand* GetCommand(int32_t Index);
    // The first command registered under the name (any letter case), or nullptr.
    tConsoleCommand* FindCommand(const ShortString& Name);
};
