#pragma once
// Console variables: a fixed table of named, typed values that scripts and the
// console read and change, optionally bound to a field of the program so that
// "Set" changes that field directly. Names are case-insensitive (stored upper
// case) and looked up by a precomputed hash before the name is compared.

#include <cstddef>
#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

enum tVarType : int32_t { VT_BOOLEAN = 0, VT_STRING = 1, VT_LONGINT = 2, VT_LFLOAT = 3 };

// "VT_BOOLEAN", "VT_STRING", ... as messages print them.
const char* VarTypeName(tVarType Type);

constexpr int MaxVarDefs = 1024;
constexpr int VarValueBytes = 256;  // the largest value: a string, length byte first

struct tVarDefinition {
    ShortString VarName;   // upper case
    ShortString Spelling;  // as first set, for completion
    int32_t VarHash = 0;  // StrHash(VarName)
    tVarType ValueType = VT_BOOLEAN;
    uint8_t Value[VarValueBytes] = {};  // the stored bytes of the current value
    bool Locked = false;
    bool Modified = false;
    bool ExternalValue = false;
    void* ExternalValuePtr = nullptr;  // the bound program variable, typed by ValueType
};

class tVarsManager;

// The console variables bound to the fields of one object, as a member of
// that object (declared after the fields it binds, so it goes first): when
// it goes, each variable still bound through it lives on in storage of the
// manager's own, holding the field's last value, so no "Set", "Add", "+" or
// "%" can reach freed memory. A manager that goes first lets go of it.
class tFieldBindings {
public:
    tFieldBindings() = default;
    ~tFieldBindings() { ReleaseAll(); }
    tFieldBindings(const tFieldBindings&) = delete;
    tFieldBindings& operator=(const tFieldBindings&) = delete;

    // Releases every variable bound through this holder now.
    void ReleaseAll();
    bool Empty() const { return First == 0; }

private:
    friend class tEngineVarsManager;
    tVarsManager* Manager = nullptr;
    int32_t First = 0;  // the newest of its variables in the manager's chain; 0 for none
};

// The stored value as text: True/False, the string itself, the decimal integer,
// or the float with three decimals.
ShortString VarValueText(const tVarDefinition& D);

// The abstract manager. Values travel as the address of a program variable of
// the type's C++ representation: bool, ShortString, int32_t or float.
class tVarsManager : public tZObject {
    Z_DECLARE_CLASS(tVarsManager, tZObject)
public:
    // Index of the variable (1-based), 0 when refused.
    virtual int32_t AddVarInternal(const ShortString& Name, const void* Value, tVarType Type) = 0;
    virtual int32_t SetVarInternal(const ShortString& Name, const void* Value, tVarType Type) = 0;
    virtual void BindExternalValue(int32_t Index, void* Ptr) = 0;
    virtual int32_t Lock(const ShortString& Name) = 0;
    virtual int32_t Unlock(const ShortString& Name) = 0;
    virtual bool IsModified(const ShortString& Name) = 0;
    // Copies the value into *Value, which must be a variable of the given type.
    virtual int32_t GetVar(const ShortString& Name, void* Value, tVarType Type) = 0;
    virtual ShortString GetVarName(int32_t Index) = 0;
    virtual tVarDefinition GetVarDef(int32_t Index) = 0;
    virtual void* GetVarPtr(const ShortString& Name) = 0;
    virtual int32_t GetTotalVars() = 0;
    virtual bool IsVarDefined(const ShortString& Name) = 0;
    // Binds the variable to Ptr for as long as Owner lives (see tFieldBindings).
    virtual void BindOwnedValue(int32_t Index, void* Ptr, tFieldBindings& Owner) = 0;
    // Every variable still bound through Owner goes over to the manager's own
    // storage with its last value; Owner is empty afterwards.
    virtual void ReleaseBindings(tFieldBindings& Owner) = 0;
    // For fields bound without a holder: variables bound to a field inside
    // [Begin, Begin + Size) are released as a holder's would be. The engine's
    // own objects bind through a tFieldBindings member instead.
    virtual void ReleaseFields(const void* Begin, std::size_t Size) = 0;

    template <class T>
    void ReleaseFieldsOf(const T* Owner) { ReleaseFields(Owner, sizeof(T)); }

    int32_t SetVar(const ShortString& Name, const ShortString& Value) { return SetVarInternal(Name, &Value, VT_STRING); }
    int32_t SetVar(const ShortString& Name, const char* Value) { return SetVar(Name, ShortString(Value)); }
    int32_t SetVar(const ShortString& Name, int32_t Value) { return SetVarInternal(Name, &Value, VT_LONGINT); }
    int32_t SetVar(const ShortString& Name, bool Value) { return SetVarInternal(Name, &Value, VT_BOOLEAN); }
    int32_t SetVar(const ShortString& Name, float Value) { return SetVarInternal(Name, &Value, VT_LFLOAT); }

    int32_t AddVar(const ShortString& Name, int32_t Value) { return AddVarInternal(Name, &Value, VT_LONGINT); }
    int32_t AddVar(const ShortString& Name, float Value) { return AddVarInternal(Name, &Value, VT_LFLOAT); }

    // Sets the variable to the field's current value and binds it to the field
    // until Owner (a member of the field's object) goes.
    void RegisterVar(const ShortString& Name, ShortString& Field, tFieldBindings& Owner) { Bind(SetVar(Name, Field), &Field, Owner); }
    void RegisterVar(const ShortString& Name, int32_t& Field, tFieldBindings& Owner) { Bind(SetVar(Name, Field), &Field, Owner); }
    void RegisterVar(const ShortString& Name, bool& Field, tFieldBindings& Owner) { Bind(SetVar(Name, Field), &Field, Owner); }
    void RegisterVar(const ShortString& Name, float& Field, tFieldBindings& Owner) { Bind(SetVar(Name, Field), &Field, Owner); }
    // Without a holder: for fields that outlive the manager (or whose owner
    // calls ReleaseFieldsOf).
    void RegisterVar(const ShortString& Name, ShortString& Field) { Bind(SetVar(Name, Field), &Field); }
    void RegisterVar(const ShortString& Name, int32_t& Field) { Bind(SetVar(Name, Field), &Field); }
    void RegisterVar(const ShortString& Name, bool& Field) { Bind(SetVar(Name, Field), &Field); }
    void RegisterVar(const ShortString& Name, float& Field) { Bind(SetVar(Name, Field), &Field); }

    // While one lives, a misuse by console input (a Set of another type, an
    // Add on an unknown or unbound name) is a console error instead of fatal.
    class ConsoleInputScope {
    public:
        explicit ConsoleInputScope(tVarsManager& M) : Manager(M), Outer(M.ConsoleInput) { M.ConsoleInput = true; }
        ~ConsoleInputScope() { Manager.ConsoleInput = Outer; }
        ConsoleInputScope(const ConsoleInputScope&) = delete;
        ConsoleInputScope& operator=(const ConsoleInputScope&) = delete;

    private:
        tVarsManager& Manager;
        bool Outer;
    };

    int32_t GetVar(const ShortString& Name, ShortString& Value) { return GetVar(Name, &Value, VT_STRING); }
    int32_t GetVar(const ShortString& Name, int32_t& Value) { return GetVar(Name, &Value, VT_LONGINT); }
    int32_t GetVar(const ShortString& Name, bool& Value) { return GetVar(Name, &Value, VT_BOOLEAN); }
    int32_t GetVar(const ShortString& Name, float& Value) { return GetVar(Name, &Value, VT_LFLOAT); }

protected:
    bool ConsoleInput = false;

private:
    // Registration is the program's own doing: a type mismatch there is fatal.
    void Bind(int32_t Index, void* Field) { if (Index != 0) BindExternalValue(Index, Field); }
    void Bind(int32_t Index, void* Field, tFieldBindings& Owner) { if (Index != 0) BindOwnedValue(Index, Field, Owner); }
};

inline void tFieldBindings::ReleaseAll() {
    if (Manager) Manager->ReleaseBindings(*this);
}

