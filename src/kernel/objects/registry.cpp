#include "kernel/objects/registry.h"

#include <cstdio>

#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/version.h"

Z_IMPLEMENT_CLASS(tObjectsLinker,
    .Operations = {{"RegisterClasses"}, {"AddClass"}, {"RemoveClass"}, {"IntroduceClass"}, {"IntroduceVMT"},
                   {"IsClassValid"}, {"InstantiateClassByName"}, {"FindClass"}, {"CreateProxy"}, {"AddObject"},
                   {"RemoveObject"}, {"LoadAllPackages"}, {"FindObject"}, {"FindInterface"}, {"FindFileLoader"},
                   {"BroadcastEngineInit"}, {"BroadcastBeginPlay"}})

namespace {

// The extension with its dot ("Sky.Bmp" gives ".Bmp"); empty when the last
// path component has none.
ShortString FileExtensionOf(const ShortString& FileName) {
    std::string_view Name = FileName.view();
    std::size_t Dot = Name.find_last_of(".\\/:");
    if (Dot == std::string_view::npos || Name[Dot] != '.') return {};
    return ShortString(Name.substr(Dot));
}

}  // namespace

tObjectsLinker::tObjectsLinker() {
    ProcTrace trace("tObjectsLinker.Init()");
    Classes = std::make_unique<tZClass[]>(MAX_CLASSES);
    Graph = std::make_unique<tObjectsList>();
}

tObjectsLinker::~tObjectsLinker() {
    // The leak report goes to standard output: the log may be gone by now.
    std::printf("Objects left: %d\n", Graph->GetTotalItems());
    for (int32_t I = 1; I <= Graph->GetTotalItems(); ++I) std::printf("%s\n", Graph->GetObject(I)->ClassName().c_str());
    std::fflush(stdout);
    Graph.reset();
}

void tObjectsLinker::AddClass(tZClass C) {
    ProcTrace trace("tObjectsLinker.AddClass(" + C.ClassName + ")");
    Logger->Guard(Active < MAX_CLASSES, "Unable to register class: ActiveClasses>MAX_CLASSES");
    C.ClassName = UpCaseStr(C.ClassName).substr(0, MaxClassNameLength);
    int32_t Existing = IndexOfClass(C.ClassName);
    if (Existing >= 0) {
        const tZClass& Builtin = Classes[Existing];
        Logger->Guard(!Builtin.Patch && C.Patch, "Unable to register class: duplicate name: " + C.ClassName);
        Logger->Guard(C.PackageID != nullptr,
                      "Unable to use patch from CORE_PACKAGE for class: duplicate name: " + C.ClassName);
        Logger->Guard(!(C.CompilationDate < Builtin.CompilationDate),
                      "Patch for class " + C.ClassName + " is older than CORE_PACKAGE class");
        IntroduceClass(C);
        Classes[Existing] = C;
        return;
    }
    IntroduceClass(C);
    Classes[Active++] = C;
}

void tObjectsLinker::RemoveClass(const tZClass& C) {
    ProcTrace trace("tObjectsLinker.RemoveClass()");
    int32_t Index = -1;
    for (int32_t I = 0; I < Active; ++I) {
        if (Classes[I].ClassName == C.ClassName) {
            Index = I;
            break;
        }
    }
    if (Index < 0) Logger->Fatal("Class not found: " + C.ClassName);
    Classes[Index] = Classes[Active - 1];
    --Active;
}

void tObjectsLinker::IntroduceClass(tZClass& C) {
    if (C.PackageID == nullptr) {
        Logger->Guard(C.StaticClass != nullptr, "Unable to determine class ancestor");
        tStaticClass* Parent = C.StaticClass->Parent();
        C.ExpandsClass = Parent ? Parent->Name().substr(0, MaxClassNameLength) : ShortString();
    } else {
        C.ExpandsClass = IntroduceVMT(C.StaticClass);
    }
}

ShortString tObjectsLinker::IntroduceVMT(tStaticClass* Class) {
    if (!Class) Logger->Fatal("Unable to determine class ancestor");
    for (tStaticClass* Cls = Class; tStaticClass* P = Cls->Parent(); Cls = P) {
        int32_t Index = IndexOfClass(P->Name());
        if (Index >= 0 && Classes[Index].PackageID == nullptr) {
            Logger->Log("Class " + Cls->Name() + " expands " + P->Name());
            Cls->SetParent(Classes[Index].StaticClass);
            return P->Name();
        }
    }
    return {};
}

bool tObjectsLinker::IsClassValid(const tZClass& C) {
    Logger->Guard(EngineIsAtLeast(C.VersionNeeded),
                  "Class \"" + C.ClassName + "\" needs more recent engine version (" + C.VersionNeeded + ")");
    if (IsAbstractClass(C)) return false;
    int32_t Engine = CalcVersion(EngineVersionText);
    int32_t Needed = CalcVersion(C.VersionNeeded);
    bool Compatible = ValuesDelta(GetMajorVersion(Engine), GetMajorVersion(Needed)) <= 1 &&
                      ValuesDelta(GetMinorVersion(Engine), GetMinorVersion(Needed)) <= 1 &&
                      ValuesDelta(GetSubVersion(Engine), GetSubVersion(Needed)) <= 1;
    Logger->Guard(Compatible, "Class \"" + C.ClassName + "\" seems to be compiled for older engine version (" +
                                  C.VersionNeeded + "). Recompile package: \"" + C.PackageName + "\"");
    return true;
}

tZObject* tObjectsLinker::InstantiateClassByName(const ShortString& Name, const ShortString& Params) {
    ProcTrace trace("tObjectsLinker.InstantiateClassByName(" + Name + ",\"" + Params + "\")");
    ShortString UpperName = UpCaseStr(Name);
    tZClass C;
    if (!FindClass(UpperName, C)) Logger->Fatal(ClassNotFoundMessage(UpperName));
    return Instantiate(C, Params);
}

ShortString tObjectsLinker::ClassNotFoundMessage(const ShortString& UpperName) {
    return "Unable to instantiate class: class not found: " + UpperName;
}

ShortString tObjectsLinker::InstantiationError(const ShortString& Name) {
    tZClass C;
    if (!FindClass(Name, C)) return ClassNotFoundMessage(UpCaseStr(Name));
    return tZObject::InstantiationError(C);
}

ShortString tObjectsLinker::InstantiationError(const ShortString& Name, const tStaticClass& Kind, const char* KindName) {
    if (ShortString Error = InstantiationError(Name); !Error.empty()) return Error;
    tZClass C;
    FindClass(Name, C);
    if (!C.StaticClass->IsA(&Kind)) return Name + " isn't " + KindName;
    return {};
}

int32_t tObjectsLinker::IndexOfClass(const ShortString& UpperName) const {
    for (int32_t I = 0; I < Active; ++I)
        if (Classes[I].ClassName == UpperName) return I;
    return -1;
}

bool tObjectsLinker::FindClass(const ShortString& Name, tZClass& C) const {
    int32_t Index = IndexOfClass(UpCaseStr(Name));
    if (Index < 0) return false;
    C = Classes[Index];
    return true;
}

tProxy* tObjectsLinker::CreateProxy(tZObject* Obj) { return new tObjectProxy(Obj, this); }

void tObjectsLinker::AddObject(tZObject* Obj) {
    if (Warning) Warning->Log("adding: " + Obj->ClassName());
    Obj->ObjectFlags &= ~OBJ_Orphan;
    Graph->AddItem(Obj->AllocateListItem());
}

void tObjectsLinker::RemoveObject(tZObject* Obj) {
    if (Warning) Warning->Log("removing: " + Obj->ClassName() + "   (" + Obj->GetObjectFlagsString() + ")");
    // Every object passes here: the messages are built only when a check fails.
    if (Obj->ObjectFlags & OBJ_Orphan) Logger->Fatal(" Orphan object found: " + Obj->ClassName());
    if (!(Obj->ObjectFlags & OBJ_Destructed)) Logger->Fatal("RemoveObject() could be called only from tZObject.Done()");
    if (Graph->IsEmpty()) Logger->Fatal(" There's no objects left: " + Obj->ClassName());
    if (!Graph->RemoveLatest(Obj))
        Logger->Fatal("Object not found: " + Obj->ClassName() + ", (Check if inherited constructor was called)");
}

tZObject* tObjectsLinker::FindObject(int64_t ID) const {
    for (int32_t I = 1; I <= Graph->GetTotalItems(); ++I)
        if (Graph->GetObject(I)->FGUID == ID) return Graph->GetObject(I);
    return nullptr;
}

bool tObjectsLinker::FindInterface(const ShortString& InterfaceName, int32_t& Index, tZClass& C) const {
    ShortString UpperName = UpCaseStr(InterfaceName);
    for (int32_t I = Index < 1 ? 1 : Index; I <= Active; ++I) {
        if (Classes[I - 1].StaticClass->IsA(UpperName.view())) {
            Index = I;
            C = Classes[I - 1];
            return true;
        }
    }
    return false;
}

bool tObjectsLinker::FindFileLoader(const ShortString& LoaderInterface, const ShortString& FileName, tZClass& C) {
    ProcTrace trace("tObjectsLinker.FindFileLoader(" + FileName + ")");
    if (!LookUpFileLoader(LoaderInterface, FileName, C)) Logger->Fatal(NoLoaderMessage(FileName));
    return true;
}

bool tObjectsLinker::LookUpFileLoader(const ShortString& LoaderInterface, const ShortString& FileName, tZClass& C) {
    ShortString Ext = UpCaseStr(FileExtensionOf(FileName));
    for (int32_t I = 1; FindInterface(LoaderInterface, I, C); ++I) {
        if (IsClassValid(C) && C.StaticClass->HasFileExtension() &&
            UpCaseStr(C.StaticClass->FileExtension()) == Ext) {
            Logger->Guard(C.StaticClass->IsA(UpCaseStr(LoaderInterface).view()),
                          C.StaticClass->Name() + " isn't a " + LoaderInterface);
            return true;
        }
    }
    return false;
}

ShortString tObjectsLinker::NoLoaderMessage(const ShortString& FileName) {
    return "Unable to find apropriate loader for: " + UpCaseStr(FileExtensionOf(FileName)) + " (" + FileName + ")";
}

void tObjectsLinker::CallMethodForAllObjects(const ShortString& MethodName) {
    ProcTrace trace("tObjectsLinker.CallMethodForAllObjects()");
    int32_t Count = Graph->GetTotalItems();
    for (int32_t I = 1; I <= Count; ++I) {
        tZObject* Obj = Graph->GetObject(I);
        if (!Obj) break;  // a called method disposed objects: the graph got shorter
        const tPublishedMethod* Method = Obj->GetClass()->FindPublished(MethodName.view());
        if (!Method) continue;
        Logger->Log("Found " + MethodName + "() in " + Obj->ClassName());
        Method->Call(Obj);
    }
}

void tObjectsLinker::BroadcastEngineInit() { CallMethodForAllObjects("PostInit"); }

void tObjectsLinker::BroadcastBeginPlay() { CallMethodForAllObjects("BeginPlay"); }
