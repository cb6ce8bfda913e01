#include "libraries/classes/guiatom.h"

#include "kernel/core/logger.h"
#include "kernel/core/globals.h"

Z_IMPLEMENT_CLASS(tGUIAtom,
    .Operations = {{"GetAtomID"}, {"GetChild"}, {"GetChildsNumber"}, {"GetParentAtom"}, {"AddChildAtom"},
                   {"Update"}, {"ForceUpdate"}, {"SetParentAtom"}, {"RemoveAllChildAtoms"}, {"ToFront"},
                   {"AddChildList"}, {"AddParameter"}, {"RemoveChild"}, {"RenderHierarchy"}, {"PostRender"}})

tGUIAtom* tAtomsList::GetAtom(int32_t I) const { return static_cast<tGUIAtom*>(GetObject(I)); }

tGUIAtom::tGUIAtom() : FChildsList(new tAtomsList) {}

tGUIAtom::tGUIAtom(const ShortString& Params) : tRenderable(Params), FChildsList(new tAtomsList) {}

tGUIAtom::~tGUIAtom() {
    RemoveAllChildAtoms();
    delete FChildsList;
}

tGUIAtom* tGUIAtom::GetChild(int32_t Index) {
    if (Index < 1 || Index > FChildsList->GetTotalItems()) return nullptr;
    return FChildsList->GetAtom(Index);
}

int32_t tGUIAtom::GetChildsNumber() { return FChildsList->GetTotalItems(); }

void tGUIAtom::AddChildAtom(tGUIAtom* Atom) {
    FChildsList->AddItem(Atom->AllocateListItem());
    Atom->SetParentAtom(this);
}

void tGUIAtom::RemoveAllChildAtoms() {
    // Children leave the list before they go, so none of them ever sees a
    // sibling that is already destroyed.
    while (!FChildsList->IsEmpty()) {
        tGUIAtom* Child = FChildsList->GetAtom(FChildsList->GetTotalItems());
        FChildsList->RemoveItem(Child);
        DisposeObject(Child);
    }
}

void tGUIAtom::ToFront(tGUIAtom* Atom) {
    if (FChildsList->IsItemOnList(Atom)) FChildsList->ShiftToEnd(Atom);
}

void tGUIAtom::AddChildList(tAtomsList* List) {
    while (!List->IsEmpty()) {
        tGUIAtom* Atom = List->GetAtom(1);
        List->RemoveFirstItem();
        AddChildAtom(Atom);
    }
}

void tGUIAtom::AddParameter(const ShortString& Name, const ShortString& Value) {
    if (Name == "ID") FAtomID = Value;
}

void tGUIAtom::RemoveChild(tGUIAtom* Atom) {
    if (!FChildsList->IsItemOnList(Atom)) return;
    FChildsList->RemoveItem(Atom);
    DisposeObject(Atom);
}

void tGUIAtom::RenderHierarchy() {
    if (FUpdateNeeded) {
        FUpdateNeeded = false;
        Update();
    }
    Render();
    for (int32_t I = 1; I <= FChildsList->GetTotalItems(); ++I) FChildsList->GetAtom(I)->RenderHierarchy();
    PostRender();
}
