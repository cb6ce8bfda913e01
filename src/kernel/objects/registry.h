#pragma once
// tObjectsLinker, the global class registry (Linker). It maps upper-case class
// names to registry records so services, actors, loaders and widgets are built
// from names found in data files and console lines, picks file loaders by
// extension, and keeps the object graph: every live engine object, in creation
// order, for published-method broadcasts, lookups by identifier and proxies.

#include <cstdint>
#include <memory>
#include <vector>

#include "kernel/core/shortstring.h"
#include "kernel/objects/lists.h"
#include "kernel/objects/proxy.h"
#include "kernel/objects/zobject.h"
#include "kernel/os/ossystem.h"

class tObjectsLinker : public tZObject {
    Z_DECLARE_CLASS(tObjectsLinker, tZObject)
public:
    static constexpr int32_t MAX_CLASSES = 1000;

    tObjectsLinker();
    ~tObjectsLinker() override;

    // Adds the built-in class table (src/classtable.cpp).
    virtual void RegisterClasses();
    // Registers one class, or lets a package record patch a built-in one.
    virtual void AddClass(tZClass C);
    // Removes the record named like C; the last record takes its place.
    virtual void RemoveClass(const tZClass& C);
    // Fills C.ExpandsClass (and re-parents package classes).
    virtual void IntroduceClass(tZClass& C);
    // Links a package class to its nearest built-in ancestor; that ancestor's name.
    virtual ShortString IntroduceVMT(tStaticClass* Class);
    // The version and abstractness check of FindFileLoader.
    virtual bool IsClassValid(const tZClass& C);
    virtual tZObject* InstantiateClassByName(const ShortString& Name, const ShortString& Params);
    // Case-insensitive lookup; copies the record to C.
    virtual bool FindClass(const ShortString& Name, tZClass& C) const;
    // A new weak reference to Obj; the caller owns it.
    virtual tProxy* CreateProxy(tZObject* Obj);
    virtual void AddObject(tZObject* Obj);
    virtual void RemoveObject(tZObject* Obj);
    // Loads every package of "Packages\" (kernel/resources/packages.cpp).
    virtual void LoadAllPackages();
    // The first live object with identifier ID, or nullptr.
    virtual tZObject* FindObject(int64_t ID) const;
    // The first record at or after Index (1-based) whose class is, or descends
    // from, InterfaceName; Index is left at that record.
    virtual bool FindInterface(const ShortString& InterfaceName, int32_t& Index, tZClass& C) const;
    // The first valid class descending from LoaderInterface whose FileExtension
    // matches FileName's; fatal when there is none.
    virtual bool FindFileLoader(const ShortString& LoaderInterface, const ShortString& FileName, tZClass& C);
    // FindFileLoader without the fatal error: false when no loader matches.
    bool LookUpFileLoader(const ShortString& LoaderInterface, const ShortString& FileName, tZClass& C);
    // FindFileLoader's fatal message when no loader matches FileName.
    static ShortString NoLoaderMessage(const ShortString& FileName);
    // The fatal message InstantiateClassByName(Name) would stop at before the
    // constructor runs (an unknown or abstract class), or an empty text.
    ShortString InstantiationError(const ShortString& Name);
    // As above, and Name must be a class of Kind: otherwise "<Name> isn't "
    // followed by KindName ("a weapon class").
    ShortString InstantiationError(const ShortString& Name, const tStaticClass& Kind, const char* KindName);
    virtual void BroadcastEngineInit();
    virtual void BroadcastBeginPlay();

    // Calls the published method MethodName on every live object whose class
    // (or an ancestor) publishes it, in graph order.
    void CallMethodForAllObjects(const ShortString& MethodName);
    // Loads one package library and registers its classes.
    void LoadPackage(const ShortString& FileName);

    // Console commands "SpawnClass", "EnumClasses", "ClassInfo"
    // (kernel/console/classcommands.cpp), registered by LoadAllPackages.
    void SpawnClassC(const ShortString& Args);
    void EnumClassesC(const ShortString& Args);
    void ClassInfoC(const ShortString& Args);

    int32_t ActiveClasses() const { return Active; }
    // Record I, 1-based.
    const tZClass& GetClassRecord(int32_t I) const { return Classes[I - 1]; }
    const tObjectsList& ObjectsGraph() const { return *Graph; }

private:
    static ShortString ClassNotFoundMessage(const ShortString& UpperName);
    // 0-based position of the record named UpperName, -1 when absent.
    int32_t IndexOfClass(const ShortString& UpperName) const;

    // The loaded package libraries, released after everything else.
    std::vector<std::unique_ptr<tOSLibrary>> Packages;
    std::unique_ptr<tZClass[]> Classes;
    int32_t Active = 0;
    std::unique_ptr<tObjectsList> Graph;
};
