#include "kernel/console/commands.h"

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/console.h"

Z_IMPLEMENT_CLASS(tConsoleCommand, .Operations = {{"Exec"}, {"Equal"}})
Z_IMPLEMENT_CLASS(tAliasCommand)

namespace {

// Aliases being run on the call stack right now, across all consoles.
int32_t InsideAlias = 0;

}  // namespace

tConsoleCommand::tConsoleCommand(const ShortString& Name, tConsoleProc Proc)
    : CmdName(UpCaseStr(Name)), Spelling(Name), CmdProc(Proc) {}

void tConsoleCommand::Exec(const ShortString& Args) { CmdProc(Args); }

bool tConsoleCommand::Equal(const tConsoleProc& Proc) const { return CmdProc.Routine == Proc.Routine; }

tAliasCommand::tAliasCommand(const ShortString& Name, const ShortString& CommandLine)
    : tConsoleCommand(Name, tConsoleProc{}), AliasCommand(CommandLine) {}

void tAliasCommand::Exec(const ShortString&) {
    if (InsideAlias > MaxAliasNesting) {
        Console->DisplayError("WARNING: InsideAlias>3");
        return;
    }
    tNestingLevel level(InsideAlias);
    // The line may replace or remove this alias: nothing of it is used after.
    Console->SendCommand(AliasCommand, true);
}

tCommandsList::tCommandsList() : tList("tConsoleCommand") {}

tConsoleCommand* tCommandsList::GetCommand(int32_t Index) { return static_cast<tConsoleCommand*>(GetObject(Index)); }

tConsoleCommand* tCommandsList::FindCommand(const ShortString& Name) {
    const ShortString name = UpCaseStr(Name);
    for (int32_t i = 1, n = GetTotalItems(); i <= n; ++i) {
        tConsoleCommand* cmd = GetCommand(i);
        if (cmd->CmdName == name) return cmd;
    }
    return nullptr;
}
