#pragma once
// tNativeMethod: where script code finds an engine method. A decorated symbol
// name gives the module, class and method names; the class's virtual-method
// table in the class registry then gives the operation at a slot index.

#include <cstdint>

#include "kernel/core/shortstring.h"

struct tVirtualOp;

// The text of S before the first Sep (all of S when there is none); S keeps
// what follows that Sep (nothing when there is none).
ShortString GetTokenToSep(const ShortString& Sep, ShortString& S);

class tNativeMethod {
public:
    tNativeMethod() = default;
    virtual ~tNativeMethod() = default;

    // Splits a symbol of the form module "$$" "_$$_" class "_$$_" method "$" rest
    // into ModuleNameStr, ClassNameStr and MethodNameStr.
    virtual void UndecorateName(const ShortString& SymbolName);
    // Stores Index and finds the operation in slot Index of the registered
    // class ClassNameStr; fatal when the class or the slot does not exist.
    virtual void SetVMTIndex(int32_t Index);

    ShortString ModuleNameStr;
    ShortString ClassNameStr;
    ShortString MethodNameStr;
    int32_t VMTIndex = 0;
    const tVirtualOp* MethodAddr = nullptr;
};
