#pragma once
// The console's command table: named handlers registered by the subsystems and
// aliases that stand for a whole command line.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/lists.h"
#include "kernel/objects/zobject.h"
#include "libraries/classes/console.h"

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

    ShortString CmdName;   // upper case
    ShortString Spelling;  // as registered, for completion
    tConsoleProc CmdProc;
    tCommandBindings* Owner = nullptr;  // none: it lives as long as the console
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
