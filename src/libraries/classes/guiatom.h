#pragma once
// The GUI atom: a drawable node of the region tree hung under the window
// manager's desktop. An atom owns its children, takes the properties of GUI
// layout files through AddParameter and draws itself, then its children, in
// RenderHierarchy. Regions, views and widgets build on it (kernel/gui,
// libraries/gui); the layout loader builds trees of atoms by class name.

#include <cstdint>

#include "kernel/objects/lists.h"
#include "libraries/classes/renderdevice.h"

class tGUIAtom;

// Atoms in drawing order, 1-based; the list never owns its atoms.
class tAtomsList : public tList {
public:
    tAtomsList() : tList("tGUIAtom") {}
    tGUIAtom* GetAtom(int32_t I) const;
};

class tGUIAtom : public tRenderable {
    Z_DECLARE_CLASS(tGUIAtom, tRenderable)
public:
    tGUIAtom();
    explicit tGUIAtom(const ShortString& Params);
    // Disposes the children.
    ~tGUIAtom() override;

    virtual ShortString GetAtomID() { return FAtomID; }
    // 1-based; nullptr when out of range.
    virtual tGUIAtom* GetChild(int32_t Index);
    virtual int32_t GetChildsNumber();
    virtual tGUIAtom* GetParentAtom() { return FParentAtom; }
    // Takes ownership of Atom and appends it (drawn last, found first).
    virtual void AddChildAtom(tGUIAtom* Atom);
    // Rebuilds what is drawn after a change of place or content.
    virtual void Update() {}
    // Update runs before the next drawing.
    virtual void ForceUpdate() { FUpdateNeeded = true; }
    virtual void SetParentAtom(tGUIAtom* Atom) { FParentAtom = Atom; }
    virtual void RemoveAllChildAtoms();
    // Moves a child to the end of the list: drawn over its siblings.
    virtual void ToFront(tGUIAtom* Atom);
    // Adds every atom of List as a child; the list is left empty.
    virtual void AddChildList(tAtomsList* List);
    // A property of a layout file: the atom knows "ID".
    virtual void AddParameter(const ShortString& Name, const ShortString& Value);
    // Disposes the child.
    virtual void RemoveChild(tGUIAtom* Atom);
    // Update when needed, Render, the children in order, PostRender.
    virtual void RenderHierarchy();
    virtual void PostRender() {}

    tGUIAtom* FParentAtom = nullptr;
    tAtomsList* FChildsList;
    ShortString FAtomID;
    bool FUpdateNeeded = true;
};
