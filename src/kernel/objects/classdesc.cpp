#include "kernel/objects/classdesc.h"

#include "kernel/core/engineversion.h"
#include "kernel/core/strutils.h"

tStaticClass::tStaticClass(const char* Name, tStaticClass* Parent, DefaultFactory CreateDefault,
                           ParamsFactory CreateParams, ExtensionHook ExtensionFn, const tClassOptions& Options)
    : Declared(Name),
      UpperName(UpCaseStr(ShortString(Name))),
      ParentClass(Parent),
      Create(CreateDefault),
      CreateWithParams(CreateParams),
      Extension(ExtensionFn),
      Operations(Options.Operations),
      Published(Options.Published) {}

bool tStaticClass::IsA(const tStaticClass* Other) const {
    for (const tStaticClass* C = this; C; C = C->ParentClass)
        if (C == Other) return true;
    return false;
}

bool tStaticClass::IsA(std::string_view UpperCaseName) const {
    for (const tStaticClass* C = this; C; C = C->ParentClass)
        if (C->UpperName == UpperCaseName) return true;
    return false;
}

const tPublishedMethod* tStaticClass::FindPublished(std::string_view Name) const {
    for (const tStaticClass* C = this; C; C = C->ParentClass)
        for (const tPublishedMethod& M : C->Published)
            if (SameText(M.Name, Name)) return &M;
    return nullptr;
}

std::vector<const tVirtualOp*> tStaticClass::VirtualTable() const {
    // Lay the slots out root first; a descendant naming an inherited operation
    // implements it (or, with ZOP_ABSTRACT, leaves it open again).
    std::vector<const tStaticClass*> Chain;
    for (const tStaticClass* C = this; C; C = C->ParentClass) Chain.push_back(C);

    std::vector<const tVirtualOp*> Slots;
    for (auto Level = Chain.rbegin(); Level != Chain.rend(); ++Level) {
        for (const tVirtualOp& Op : (*Level)->Operations) {
            bool Inherited = false;
            for (const tVirtualOp*& Slot : Slots) {
                if (SameText(Slot->Name, Op.Name)) {
                    Slot = &Op;
                    Inherited = true;
                    break;
                }
            }
            if (!Inherited) Slots.push_back(&Op);
        }
    }
    return Slots;
}

int tStaticClass::FirstAbstractSlot() const {
    // Every instantiation asks; a descriptor's operations never change once
    // built, so the table is laid out once.
    if (!AbstractSlotKnown) {
        AbstractSlot = FindFirstAbstractSlot();
        AbstractSlotKnown = true;
    }
    return AbstractSlot;
}

int tStaticClass::FindFirstAbstractSlot() const {
    std::vector<const tVirtualOp*> Slots = VirtualTable();
    for (std::size_t I = 0; I < Slots.size(); ++I)
        if (Slots[I]->Abstract) return RootObjectSlots + static_cast<int>(I);
    // A class C++ cannot build has an operation left unimplemented that its
    // descriptor does not name: report the slot after the known ones.
    if (!Create) return RootObjectSlots + static_cast<int>(Slots.size());
    return -1;
}

tZClass MakeStaticClass(tStaticClass* Class, tConstructorType Kind) {
    tZClass C;
    C.ClassName = Class->Name().substr(0, MaxClassNameLength);
    if (Class->Parent()) C.ExpandsClass = ShortString(Class->Parent()->DeclaredName()).substr(0, MaxClassNameLength);
    C.StaticClass = Class;
    C.ClassConstructor = Kind;
    C.VersionNeeded = EngineVersionText;
    C.CompilationDate = CoreClassDate;
    C.PackageName = CorePackageName;
    return C;
}
