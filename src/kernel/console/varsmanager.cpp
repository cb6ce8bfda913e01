#include "kernel/console/varsmanager.h"

#include <cstring>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/console.h"

Z_IMPLEMENT_CLASS(tVarsManager,
    .Operations = {{"AddVarInternal", ZOP_ABSTRACT}, {"SetVarInternal", ZOP_ABSTRACT}, {"BindExternalValue", ZOP_ABSTRACT},
                   {"Lock", ZOP_ABSTRACT}, {"Unlock", ZOP_ABSTRACT}, {"IsModified", ZOP_ABSTRACT}, {"GetVar", ZOP_ABSTRACT},
                   {"GetVarName", ZOP_ABSTRACT}, {"GetVarDef", ZOP_ABSTRACT}, {"GetVarPtr", ZOP_ABSTRACT},
                   {"GetTotalVars", ZOP_ABSTRACT}, {"IsVarDefined", ZOP_ABSTRACT}, {"BindOwnedValue", ZOP_ABSTRACT},
                   {"ReleaseBindings", ZOP_ABSTRACT}, {"ReleaseFields", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tEngineVarsManager,
    .Operations = {{"AddVarInternal"}, {"SetVarInternal"}, {"BindExternalValue"}, {"Lock"}, {"Unlock"}, {"IsModified"},
                   {"GetVar"}, {"GetVarName"}, {"GetVarDef"}, {"GetVarPtr"}, {"GetTotalVars"}, {"IsVarDefined"},
                   {"BindOwnedValue"}, {"ReleaseBindings"}, {"ReleaseFields"}})

namespace {

// The manager whose variables "%name" tokens read.
tEngineVarsManager* TokenVarsOwner = nullptr;

// Stored bytes: a boolean is one byte, a string a length byte and its
// characters, numbers their four bytes.
void StoreValue(uint8_t* Dest, const void* Src, tVarType Type) {
    switch (Type) {
        case VT_BOOLEAN: Dest[0] = *static_cast<const bool*>(Src) ? 1 : 0; break;
        case VT_STRING: {
            const ShortString& s = *static_cast<const ShortString*>(Src);
            Dest[0] = static_cast<uint8_t>(s.size());
            std::memcpy(Dest + 1, s.data(), s.size());
            break;
        }
        case VT_LONGINT: std::memcpy(Dest, Src, sizeof(int32_t)); break;
        case VT_LFLOAT: std::memcpy(Dest, Src, sizeof(float)); break;
    }
}

void LoadValue(void* Dest, const uint8_t* Src, tVarType Type) {
    switch (Type) {
        case VT_BOOLEAN: *static_cast<bool*>(Dest) = Src[0] != 0; break;
        case VT_STRING:
            *static_cast<ShortString*>(Dest) = std::string_view(reinterpret_cast<const char*>(Src + 1), Src[0]);
            break;
        case VT_LONGINT: std::memcpy(Dest, Src, sizeof(int32_t)); break;
        case VT_LFLOAT: std::memcpy(Dest, Src, sizeof(float)); break;
    }
}

template <class T>
T Stored(const tVarDefinition& D) {
    T v{};
    LoadValue(&v, D.Value, D.ValueType);
    return v;
}

ShortString ResolveTokenVariable(const ShortString& Name) { return TokenVarsOwner->TokenValue(Name); }

}  // namespace

const char* VarTypeName(tVarType Type) {
    switch (Type) {
        case VT_BOOLEAN: return "VT_BOOLEAN";
        case VT_STRING: return "VT_STRING";
        case VT_LONGINT: return "VT_LONGINT";
        case VT_LFLOAT: return "VT_LFLOAT";
    }
    return "";
}

ShortString VarValueText(const tVarDefinition& D) {
    switch (D.ValueType) {
        case VT_BOOLEAN: return Bool2Str(Stored<bool>(D));
        case VT_STRING: return Stored<ShortString>(D);
        case VT_LONGINT: return Int2Str(Stored<int32_t>(D));
        case VT_LFLOAT: return Flt2Str(Stored<float>(D));
    }
    return {};
}

tEngineVarsManager::tEngineVarsManager() {
    TotalVarDefs = 0;
    TokenVarsOwner = this;
    SetTokenVariableResolver(ResolveTokenVariable);
    Console->RegisterCommand("Set", ConsoleProc<&tEngineVarsManager::SetVarC>(this), Commands);
    Console->RegisterCommand("Add", ConsoleProc<&tEngineVarsManager::AddVarC>(this), Commands);
    Console->RegisterCommand("VarList", ConsoleProc<&tEngineVarsManager::VarListC>(this), Commands);
    Console->RegisterCommand("Toggle", ConsoleProc<&tEngineVarsManager::ToggleVarC>(this), Commands);
}

tEngineVarsManager::~tEngineVarsManager() {
    // Holders that outlive the manager (the engine's, at shutdown) have
    // nothing left to release.
    for (int32_t i = 0; i < TotalVarDefs; ++i)
        if (tFieldBindings* Owner = Links[i].Owner) {
            Owner->Manager = nullptr;
            Owner->First = 0;
        }
    if (TokenVarsOwner == this) {
        SetTokenVariableResolver(nullptr);
        TokenVarsOwner = nullptr;
    }
}

int32_t tEngineVarsManager::FindByHash(const ShortString& UpName, int32_t Hash) const {
    for (int32_t i = 0; i < TotalVarDefs; ++i)
        if (VarDefs[i].VarHash == Hash && VarDefs[i].VarName == UpName) return i + 1;
    return 0;
}

int32_t tEngineVarsManager::FindByName(const ShortString& UpName) const {
    for (int32_t i = 0; i < TotalVarDefs; ++i)
        if (VarDefs[i].VarName == UpName) return i + 1;
    return 0;
}

void tEngineVarsManager::Refuse(const ShortString& Msg) {
    if (!ConsoleInput) Logger->Fatal(Msg);
    if (Console) Console->DisplayError(Msg);
}

void tEngineVarsManager::ReportTypeMismatch(const ShortString& UpName, tVarType Got, tVarType Expected) {
    Warning->Log("Invalid value type for: " + UpName);
    Warning->Log(ShortString("Got ") + VarTypeName(Got) + " expected " + VarTypeName(Expected));
    Refuse("Found type missmatch for: " + UpName);
}

int32_t tEngineVarsManager::SetVarInternal(const ShortString& Name, const void* Value, tVarType Type) {
    ProcTrace trace("SetVarInternal(" + Name + ")");
    const ShortString name = UpCaseStr(Name);
    const int32_t hash = StrHash(name);

    if (int32_t index = FindByHash(name, hash)) {
        tVarDefinition& d = Def(index);
        if (d.Locked) {
            Warning->Log("WARNING: variable " + name + " is locked");
            return 0;
        }
        if (d.ValueType != Type) {
            ReportTypeMismatch(name, Type, d.ValueType);
            return 0;
        }
        StoreValue(d.Value, Value, Type);
        if (d.ExternalValue) LoadValue(d.ExternalValuePtr, d.Value, Type);
        d.Modified = true;
        return index;
    }

    if (TotalVarDefs >= MaxVarDefs) {
        Refuse("SetVar() number of Var definitions exceeded on: " + name);
        return 0;
    }
    tVarDefinition& d = VarDefs[TotalVarDefs++];
    d = tVarDefinition{};
    d.VarName = name;
    d.Spelling = Name;
    d.VarHash = hash;
    d.ValueType = Type;
    d.Modified = true;
    StoreValue(d.Value, Value, Type);
    return TotalVarDefs;
}

int32_t tEngineVarsManager::AddVarInternal(const ShortString& Name, const void* Value, tVarType Type) {
    ProcTrace trace("AddVarInternal(" + Name + ")");
    const ShortString name = UpCaseStr(Name);

    const int32_t index = FindByHash(name, StrHash(name));
    if (index == 0) {
        Refuse("Variable not found: " + name);
        return 0;
    }
    tVarDefinition& d = Def(index);
    if (d.Locked) {
        Warning->Log("WARNING: variable " + name + " is locked");
        return 0;
    }
    if (d.ValueType != Type) {
        ReportTypeMismatch(name, Type, d.ValueType);
        return 0;
    }
    if (!d.ExternalValue) {
        Refuse("Cann't add to console variables");
        return 0;
    }
    if (Type == VT_LONGINT) {
        // A sum past 32 bits would wrap into the bound field: refused instead.
        auto* field = static_cast<int32_t*>(d.ExternalValuePtr);
        int32_t sum = 0;
        if (__builtin_add_overflow(*field, *static_cast<const int32_t*>(Value), &sum)) {
            Refuse("Integer overflow adding to: " + name);
            return 0;
        }
        *field = sum;
    } else if (Type == VT_LFLOAT) {
        *static_cast<float*>(d.ExternalValuePtr) += *static_cast<const float*>(Value);
    }
    StoreValue(d.Value, d.ExternalValuePtr, Type);
    d.Modified = true;
    return index;
}

void tEngineVarsManager::GuardIndex(int32_t Index, const char* Operation) const {
    Logger->Guard(Index >= 1 && Index <= TotalVarDefs, ShortString(Operation) + " invalid variable index: " + Int2Str(Index));
}

void tEngineVarsManager::BindExternalValue(int32_t Index, void* Ptr) {
    GuardIndex(Index, "BindExternalValue()");
    Unlink(Index);  // its former holder no longer owns it
    Def(Index).ExternalValue = true;
    Def(Index).ExternalValuePtr = Ptr;
}

void tEngineVarsManager::BindOwnedValue(int32_t Index, void* Ptr, tFieldBindings& Owner) {
    GuardIndex(Index, "BindOwnedValue()");
    Logger->Guard(Owner.Manager == nullptr || Owner.Manager == this, "BindOwnedValue() holder of another manager");
    BindExternalValue(Index, Ptr);
    tBindingLink& Link = Links[Index - 1];
    Link.Owner = &Owner;
    Link.Next = Owner.First;
    if (Owner.First != 0) Links[Owner.First - 1].Prev = Index;
    Owner.First = Index;
    Owner.Manager = this;
}

void tEngineVarsManager::Unlink(int32_t Index) {
    tBindingLink& Link = Links[Index - 1];
    if (!Link.Owner) return;
    if (Link.Prev != 0) Links[Link.Prev - 1].Next = Link.Next;
    else Link.Owner->First = Link.Next;
    if (Link.Next != 0) Links[Link.Next - 1].Prev = Link.Prev;
    // A holder whose last variable another took over (a second aircraft
    // binding the same names) has nothing left here: it must not call back
    // into a manager that may be gone by the time it goes.
    if (Link.Owner->First == 0) Link.Owner->Manager = nullptr;
    Link = tBindingLink{};
}

void tEngineVarsManager::ReleaseBindings(tFieldBindings& Owner) {
    if (Owner.Manager != this) return;
    while (Owner.First != 0) {
        const int32_t Index = Owner.First;
        KeepLastValue(Index);
        Unlink(Index);
    }
    Owner.Manager = nullptr;
}

int32_t tEngineVarsManager::Lock(const ShortString& Name) { return SetLocked(Name, true); }

int32_t tEngineVarsManager::Unlock(const ShortString& Name) { return SetLocked(Name, false); }

int32_t tEngineVarsManager::SetLocked(const ShortString& Name, bool Locked) {
    const ShortString name = UpCaseStr(Name);
    const int32_t index = FindByName(name);
    if (index == 0) Warning->Log("Variable not found: " + name);
    else Def(index).Locked = Locked;
    return index;
}

bool tEngineVarsManager::IsModified(const ShortString& Name) {
    const ShortString name = UpCaseStr(Name);
    const int32_t index = FindByName(name);
    if (index == 0) Logger->Fatal("GetVar() variable not found: " + name);
    const bool modified = Def(index).Modified;
    Def(index).Modified = false;
    return modified;
}

int32_t tEngineVarsManager::GetVar(const ShortString& Name, void* Value, tVarType Type) {
    ProcTrace trace("GetVar()");
    const ShortString name = UpCaseStr(Name);
    const int32_t index = FindByHash(name, StrHash(name));
    if (index == 0) Logger->Fatal("GetVar() variable not found: " + name);
    tVarDefinition& d = Def(index);
    // The caller's variable must be of the variable's type, or the copy would
    // write past it.
    if (d.ValueType != Type) ReportTypeMismatch(name, Type, d.ValueType);
    if (d.ExternalValue) {
        uint8_t bytes[VarValueBytes];
        StoreValue(bytes, d.ExternalValuePtr, Type);
        LoadValue(Value, bytes, Type);
    } else {
        LoadValue(Value, d.Value, Type);
    }
    d.Modified = false;
    return index;
}

ShortString tEngineVarsManager::GetVarName(int32_t Index) {
    Logger->Guard(Index >= 1 && Index <= TotalVarDefs, "GetVarName() invalid variable index: " + Int2Str(Index));
    return Def(Index).VarName;
}

tVarDefinition tEngineVarsManager::GetVarDef(int32_t Index) {
    Logger->Guard(Index >= 1 && Index <= TotalVarDefs, "GetVarDef() invalid variable index: " + Int2Str(Index));
    return Def(Index);
}

void* tEngineVarsManager::GetVarPtr(const ShortString& Name) {
    ProcTrace trace("GetVarPtr()");
    const ShortString name = UpCaseStr(Name);
    const int32_t index = FindByHash(name, StrHash(name));
    if (index == 0) Logger->Fatal("GetVar() variable not found: " + name);
    if (!Def(index).ExternalValue) Logger->Fatal("GetVarPtr() variable doesn't have external ptr: " + name);
    return Def(index).ExternalValuePtr;
}

int32_t tEngineVarsManager::GetTotalVars() { return TotalVarDefs; }

bool tEngineVarsManager::IsVarDefined(const ShortString& Name) { return FindByName(UpCaseStr(Name)) != 0; }

void* tEngineVarsManager::tLastingValue::For(tVarType Type) {
    switch (Type) {
        case VT_BOOLEAN: return &Bool;
        case VT_STRING: return &Text;
        case VT_LONGINT: return &Int;
        case VT_LFLOAT: return &Float;
    }
    return nullptr;
}

void tEngineVarsManager::KeepLastValue(int32_t Index) {
    tVarDefinition& d = Def(Index);
    if (!LastingValues) LastingValues = std::make_unique<tLastingValue[]>(MaxVarDefs);
    void* lasting = LastingValues[Index - 1].For(d.ValueType);
    StoreValue(d.Value, d.ExternalValuePtr, d.ValueType);
    LoadValue(lasting, d.Value, d.ValueType);
    d.ExternalValuePtr = lasting;
}

void tEngineVarsManager::ReleaseFields(const void* Begin, std::size_t Size) {
    const auto first = reinterpret_cast<uintptr_t>(Begin);
    for (int32_t i = 1; i <= TotalVarDefs; ++i) {
        const tVarDefinition& d = Def(i);
        const auto field = reinterpret_cast<uintptr_t>(d.ExternalValuePtr);
        if (!d.ExternalValue || field < first || field - first >= Size) continue;
        KeepLastValue(i);
        Unlink(i);
    }
}

ShortString tEngineVarsManager::TokenValue(const ShortString& Name) {
    const ShortString name = UpCaseStr(Name);
    const int32_t index = FindByHash(name, StrHash(name));
    if (index == 0) {
        if (Console) Console->DisplayError("GetVar() variable not found: " + name);
        return {};
    }
    Def(index).Modified = false;
    tVarDefinition live = Def(index);
    if (live.ExternalValue) StoreValue(live.Value, live.ExternalValuePtr, live.ValueType);
    return VarValueText(live);
}
