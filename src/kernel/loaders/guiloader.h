#pragma once
// GUI layout files (".GUI"): a tree of objects, each made by class name with
// its creation parameters, then given its properties and child objects:
//
//   GUIObject "tGUIWindow"
//   {
//      Param "GUI_CENTERED GUI_CENTERED 0.5 0.5 Panel"
//      ID "panel"
//      GUIObject "tGUIStaticWidget" { Param "0.02 0.05 0.3 0.03 Hello" }
//   }
//
// A property's value is one quoted text or a list { "a" "b" ... }. Every
// syntax error is fatal with a fixed message.

#include "kernel/resources/loader.h"
#include "libraries/classes/guiatom.h"

class tParser;

class tUserInterfaceLoader : public tLoader {
    Z_DECLARE_CLASS(tUserInterfaceLoader, tLoader)
public:
    using tLoader::tLoader;
    // Layouts are not resources: a layout loader fills nothing.
    void Load(tIStream&, tResource&) override {}
    // A new list of the file's top-level atoms in file order; the caller owns
    // the list and the atoms.
    virtual tAtomsList* LoadGUI(tIStream& Stream) = 0;
};

class tGUILoader : public tUserInterfaceLoader {
    Z_DECLARE_CLASS(tGUILoader, tUserInterfaceLoader)
public:
    // Objects nested deeper than this end the load: a runaway file cannot
    // exhaust the stack.
    static constexpr int32_t MaxNesting = 32;

    using tUserInterfaceLoader::tUserInterfaceLoader;
    static ShortString FileExtension() { return ".GUI"; }
    bool CanSave() const override { return false; }
    tAtomsList* LoadGUI(tIStream& Stream) override;

    // The first text bare, each later one quoted, separated by one blank.
    static void AddToString(ShortString& Target, const ShortString& S);

private:
    // With "GUIObject" the current token: the object and its children.
    tGUIAtom* LoadObject(tParser& P, int32_t Depth);
    // A property's value: one quoted text, or a list of them.
    ShortString ReadParams(tParser& P);
};
