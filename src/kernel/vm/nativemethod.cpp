#include "kernel/vm/nativemethod.h"

#include <vector>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"

namespace {

constexpr std::string_view ModuleSeparator = "$$";
constexpr std::string_view ClassSeparator = "_$$_";
constexpr std::string_view MethodSeparator = "$";

}  // namespace

ShortString GetTokenToSep(const ShortString& Sep, ShortString& S) {
    std::size_t At = S.find(Sep.view());
    if (At == ShortString::npos) {
        ShortString Token = S;
        S.clear();
        return Token;
    }
    ShortString Token = S.substr(0, At);
    S = S.substr(At + Sep.size());
    return Token;
}

void tNativeMethod::UndecorateName(const ShortString& SymbolName) {
    ShortString S = SymbolName;
    ModuleNameStr = GetTokenToSep(ModuleSeparator, S);
    if (S.view().starts_with(ClassSeparator)) {
        S = S.substr(ClassSeparator.size());
        ClassNameStr = GetTokenToSep(ClassSeparator, S);
    } else {
        ClassNameStr.clear();
    }
    MethodNameStr = GetTokenToSep(MethodSeparator, S);
}

void tNativeMethod::SetVMTIndex(int32_t Index) {
    VMTIndex = Index;
    tZClass C;
    Logger->Guard(Linker && Linker->FindClass(ClassNameStr, C), "Unable to find class: " + ClassNameStr);
    // Slots below RootObjectSlots belong to the language's plain object root,
    // which no descriptor lists.
    std::vector<const tVirtualOp*> Table = C.StaticClass->VirtualTable();
    int32_t Slot = Index - tStaticClass::RootObjectSlots;
    if (Slot < 0 || Slot >= static_cast<int32_t>(Table.size()))
        Logger->Fatal("Virtual-method index " + Int2Str(Index) + " is outside the table of class " + C.ClassName +
                      " (" + Int2Str(tStaticClass::RootObjectSlots) + ".." +
                      Int2Str(tStaticClass::RootObjectSlots + static_cast<int32_t>(Table.size()) - 1) + ")");
    MethodAddr = Table[static_cast<std::size_t>(Slot)];
}
