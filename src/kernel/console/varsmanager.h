#pragma once
// The engine's console variables (see libraries/classes/varsmanager.h).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/varsmanager.h"

class tEngineVarsManager : public tVarsManager {
    Z_DECLARE_CLASS(tEngineVarsManager, tVarsManager)
public:
    tEngineVarsManager();
    ~tEngineVarsManager() override;

    int32_t AddVarInternal(const ShortString& Name, const void* Value, tVarType Type) override;
    int32_t SetVarInternal(const ShortString& Name, const void* Value, tVarType Type) override;
    void BindExternalValue(int32_t Index, void* Ptr) override;
    int32_t Lock(const ShortString& Name) override;
    int32_t Unlock(const ShortString& Name) override;
    bool IsModified(const ShortString& Name) override;
    int32_t GetVar(const ShortString& Name, void* Value, tVarType Type) override;
    ShortString GetVarName(int32_t Index) override;
    tVarDefinition GetVarDef(int32_t Index) override;
    void* GetVarPtr(const ShortString& Name) override;
    int32_t GetTotalVars() override;
    bool IsVarDefined(const ShortString& Name) override;
    void BindOwnedValue(int32_t Index, void* Ptr, tFieldBindings& Owner) override;
    void ReleaseBindings(tFieldBindings& Owner) override;
    void ReleaseFields(const void* Begin, std::size_t Size) override;
    using tVarsManager::GetVar;

    // Console input: the type comes from the text ("True", 12, 1.5, abc). A
    // refusal is a console error, never the end of the program.
    void SetVarString(const ShortString& Name, const ShortString& Value);
    // Whether the variable exists and holds a fraction.
    bool HoldsFraction(const ShortString& Name) const;
    void AddVarString(const ShortString& Name, const ShortString& Value);

    // The value text of the variable a "%name" token names, read like GetVar;
    // an unknown name is a console error and gives an empty text.
    ShortString TokenValue(const ShortString& Name);

    void SetVarC(const ShortString& Args);
    void AddVarC(const ShortString& Args);
    void VarListC(const ShortString& Args);
    void ToggleVarC(const ShortString& Args);

private:
    int32_t FindByHash(const ShortString& UpName, int32_t Hash) const;
    int32_t FindByName(const ShortString& UpName) const;
    int32_t SetLocked(const ShortString& Name, bool Locked);
    tVarDefinition& Def(int32_t Index) { return VarDefs[Index - 1]; }
    // A misuse: from console input a console error, from the program fatal.
    void Refuse(const ShortString& Msg);
    void ReportTypeMismatch(const ShortString& UpName, tVarType Got, tVarType Expected);

    // Where a released variable lives on: one slot per entry, in the C++
    // type of the entry's value. Made when the first binding is released.
    struct tLastingValue {
        ShortString Text;
        int32_t Int = 0;
        float Float = 0;
        bool Bool = false;
        void* For(tVarType Type);
    };

    // Entry Index's place in its holder's chain of bound variables.
    struct tBindingLink {
        tFieldBindings* Owner = nullptr;
        int32_t Prev = 0;
        int32_t Next = 0;
    };
    void GuardIndex(int32_t Index, const char* Operation) const;
    void Unlink(int32_t Index);
    // The entry's bound field is going: the variable lives on in LastingValues.
    void KeepLastValue(int32_t Index);

    tVarDefinition VarDefs[MaxVarDefs];
    tBindingLink Links[MaxVarDefs];
    int32_t TotalVarDefs = 0;
    std::unique_ptr<tLastingValue[]> LastingValues;
    // "Set", "Add", "VarList" and "Toggle": they go with the manager.
    tCommandBindings Commands;
};
