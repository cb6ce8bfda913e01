#include "kernel/loaders/guiloader.h"

#include <memory>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/vfs/parser.h"

Z_IMPLEMENT_CLASS(tUserInterfaceLoader, .Operations = {{"Load"}, {"LoadGUI", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tGUILoader, .Operations = {{"FileExtension"}, {"CanSave"}, {"LoadGUI"}})

namespace {

constexpr const char* ObjectKeyword = "GUIObject";
constexpr const char* ParamKeyword = "Param";

bool IsQuote(const tParser& P) { return P.TokenType == TOKEN_DELIMITER && P.Token == "\""; }

// Only GUI classes are made: a layout never builds an engine service. A class
// that does not exist is left to the registry's own message.
bool IsOtherThanGUIClass(const ShortString& ClassName) {
    tZClass C;
    return Linker->FindClass(ClassName, C) && !(C.StaticClass && C.StaticClass->IsA(&tGUIAtom::ClassInfo));
}

// A freshly made atom, disposed when a fatal error unwinds before its parent
// or the result list takes it.
using tOwnedAtom = tOwned<tGUIAtom>;

}  // namespace

tAtomsList* tGUILoader::LoadGUI(tIStream& Stream) {
    std::unique_ptr<tParser> P(Stream.GetParser());
    Logger->Log("loading gui from stream ...");
    auto L = std::make_unique<tAtomsList>();
    // The list owns nothing: its atoms go with it when a fatal error unwinds.
    struct tDisposeAtoms {
        tAtomsList* List;
        ~tDisposeAtoms() {
            if (List) List->DeallocateAllItems();
        }
    } Guard{L.get()};

    P->NextToken_SkipLines();
    Logger->Log("p.token = " + P->Token);
    while (P->TokenType != TOKEN_EOF) {
        if (P->Token != ObjectKeyword) Logger->Fatal("GUIObject expected in *.gui file");
        tGUIAtom* A = LoadObject(*P, 1);
        if (!A) Logger->Fatal("Error loading GUIObject");
        L->AddItem(A->AllocateListItem());
        P->NextToken_SkipLines();
    }
    Guard.List = nullptr;
    return L.release();
}

tGUIAtom* tGUILoader::LoadObject(tParser& P, int32_t Depth) {
    if (Depth > MaxNesting) Logger->Fatal("GUI objects nested deeper than " + Int2Str(MaxNesting));
    ShortString ClassName, Params;
    tOwnedAtom A;

    P.NextToken_SkipLines();
    if (!IsQuote(P)) Logger->Fatal("\" not found ...");
    P.GetString(ClassName);
    P.NextToken_SkipLines();
    if (P.Token != "{") Logger->Fatal("\"{\" expected in *.gui stream !");

    for (;;) {
        P.NextToken_SkipLines();
        if (P.Token == ParamKeyword) {
            if (A) Logger->Fatal("param between GUIObjects !");
            P.NextToken_SkipLines();
            if (!IsQuote(P)) Logger->Fatal("<\"> expected after Param");
            ShortString S;
            P.GetString(S);
            AddToString(Params, S);
            continue;
        }
        // An object ends where the file ends only through a fatal error: the
        // end of the text is never a property name.
        if (P.TokenType == TOKEN_EOF) Logger->Fatal("\"}\" expected at the end of GUIObject " + ClassName);
        if (!A) {
            if (IsOtherThanGUIClass(ClassName)) Logger->Fatal("Error loading GUIObject");
            A.reset(static_cast<tGUIAtom*>(Linker->InstantiateClassByName(ClassName, Params)));
        }
        if (P.Token == ObjectKeyword) {
            tGUIAtom* C = LoadObject(P, Depth + 1);
            if (!C) Logger->Fatal("Error loading GUI subObject");
            A->AddChildAtom(C);
        } else if (P.Token == "}") {
            return A.release();
        } else {
            const ShortString Name = UpCaseStr(P.Token);
            A->AddParameter(Name, ReadParams(P));
        }
    }
}

void tGUILoader::AddToString(ShortString& Target, const ShortString& S) {
    if (Target.empty()) Target = S;
    else Target = Target + " \"" + S + "\"";
}

ShortString tGUILoader::ReadParams(tParser& P) {
    ShortString S;
    P.NextToken_SkipLines();
    if (IsQuote(P)) {
        P.GetString(S);
    } else if (P.Token == "{") {
        P.NextToken_SkipLines();
        while (P.Token != "}") {
            if (!IsQuote(P)) {
                Logger->Log("Last token: " + P.Token);
                Logger->Fatal("\" exepected in paramList !");
            }
            ShortString Item;
            P.GetString(Item);
            S = S + "\"" + Item + "\" ";
            P.NextToken_SkipLines();
        }
    } else {
        Logger->Fatal("{ expected at the beginning of ParamList");
    }
    if (GetToken(S, 2).empty()) S = GetToken(S, 1);
    return Trim(S);
}
