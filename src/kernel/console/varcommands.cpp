// The variables manager's console commands: "Set", "Add", "VarList", "Toggle".

#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

namespace {

constexpr std::size_t VarListCellWidth = 50;
constexpr std::size_t VarListNarrowLine = 50;
constexpr std::size_t VarListWideLine = 150;

// NAME=value as "VarList" shows it, strings in double quotes.
ShortString VarListText(const tVarDefinition& D) {
    ShortString text = D.VarName + "=";
    if (D.ValueType == VT_STRING) return text + "\"" + VarValueText(D) + "\"";
    return text + VarValueText(D);
}

// The upper-cased name (token 1) and the value (token 2); false when either
// is missing.
bool NameAndValue(const ShortString& Args, ShortString& Name, ShortString& Value) {
    Name = UpCaseStr(GetToken(Args, 1));
    Value = GetToken(Args, 2);
    return !Name.empty() && !Value.empty();
}

}  // namespace

// A player types "Set CameraZ 150" for a variable that holds fractions: the
// whole number is that fraction, not a mismatch.
bool tEngineVarsManager::HoldsFraction(const ShortString& Name) const {
    const int32_t Index = FindByName(UpCaseStr(Name));
    return Index != 0 && VarDefs[Index - 1].ValueType == VT_LFLOAT;
}

void tEngineVarsManager::SetVarString(const ShortString& Name, const ShortString& Value) {
    ProcTrace trace("SetVarString(" + Name + ",\"" + Value + "\")");
    ConsoleInputScope input(*this);
    const ShortString upper = UpCaseStr(Value);
    if (upper == "TRUE") SetVar(Name, true);
    else if (upper == "FALSE") SetVar(Name, false);
    else if (IsCorrectInt(Value) && !HoldsFraction(Name)) SetVar(Name, Str2Int(Value));
    else if (IsCorrectGLD(Value)) SetVar(Name, Str2Flt(Value));
    else SetVar(Name, Value);
}

void tEngineVarsManager::AddVarString(const ShortString& Name, const ShortString& Value) {
    ConsoleInputScope input(*this);
    if (IsCorrectInt(Value) && !HoldsFraction(Name)) AddVar(Name, Str2Int(Value));
    else if (IsCorrectGLD(Value)) AddVar(Name, Str2Flt(Value));
    else Console->DisplayError("Value to add should be numeric");
}

void tEngineVarsManager::SetVarC(const ShortString& Args) {
    ProcTrace trace("SetVarC(" + Args + ")");
    ShortString name, value;
    if (NameAndValue(Args, name, value)) SetVarString(name, value);
    else Console->Display("Usage: SET <Var name> <Var value>");
}

void tEngineVarsManager::AddVarC(const ShortString& Args) {
    ProcTrace trace("AddVarC(" + Args + ")");
    ShortString name, value;
    if (NameAndValue(Args, name, value)) AddVarString(name, value);
    else Console->Display("Usage: ADD <Var name> <value to add>");
}

void tEngineVarsManager::ToggleVarC(const ShortString& Args) {
    const ShortString name = UpCaseStr(Args);
    const int32_t index = FindByName(name);
    if (index == 0) return;
    if (Def(index).ValueType != VT_BOOLEAN) {
        Warning->Log("Only boolean variable can be toggled");
        return;
    }
    bool value = false;
    GetVar(name, value);
    ConsoleInputScope input(*this);
    SetVar(name, !value);
}

void tEngineVarsManager::VarListC(const ShortString& Args) {
    if (!Args.empty()) {
        const ShortString name = GetToken(UpCaseStr(Args), 1);
        if (int32_t index = FindByName(name)) Console->Display(VarListText(Def(index)));
        else Warning->Log("Variable not found: " + name);
        return;
    }
    const std::size_t width = ConsoleFontIsWide() ? VarListWideLine : VarListNarrowLine;
    ShortString line;
    for (int32_t i = 1; i <= TotalVarDefs; ++i) {
        ShortString cell = VarListText(Def(i));
        if (Def(i).Locked) cell += " (locked)";
        line += Fetch(cell, VarListCellWidth);
        if (line.size() == width) {
            Console->Display(line);
            line.clear();
        }
    }
    if (!line.empty()) Console->Display(line);
    Console->Display("   " + Int2Str(GetTotalVars()) + " variables registered");
}
