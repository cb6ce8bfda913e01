#pragma once
// Run-time class descriptors. Every registered engine class has exactly one
// tStaticClass: its declared name, its parent's descriptor, the factories the
// registry builds objects with, the ordered list of its own virtual operations
// (so an unimplemented one can be reported by slot index) and its published
// methods (called by name on every live object, e.g. "PostInit").
//
// How to declare a class (see also zobject.h):
//
//   // foo.h — first line of the class body
//   class tFoo : public tActor {
//       Z_DECLARE_CLASS(tFoo, tActor)
//   public:
//       tFoo();
//       explicit tFoo(const ShortString& Params);   // spawnable constructor
//       void BeginPlay();
//   };
//
//   // foo.cpp — one definition line; the options are all optional
//   Z_IMPLEMENT_CLASS(tFoo,
//       .Operations = {{"Think", ZOP_ABSTRACT}, {"FileExtension"}},
//       .Published = {ZPublished<&tFoo::BeginPlay>("BeginPlay")})
//
//   // classtable.cpp — one line, at the class's place in the table
//   AddClass(tFoo::StaticClass(CT_SpawnableConstructor));
//
// Operations lists the class's own new virtual operations in slot order,
// ZOP_ABSTRACT marking those it leaves unimplemented; naming an inherited
// operation instead marks it implemented from this class on (a loader that
// answers FileExtension lists {"FileExtension"}). Class-level operations such as
// a loader's FileExtension are static member functions: the descriptor picks up
// `static ShortString FileExtension()` of the class (or of its nearest
// ancestor that has one) by itself.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <type_traits>
#include <vector>

#include "kernel/core/shortstring.h"

class tZObject;
class tStaticClass;

enum tConstructorType : int32_t {
    CT_ClassConstructor = 0,      // created with the parameterless constructor
    CT_SpawnableConstructor = 1,  // created with the constructor taking Params
};

inline constexpr std::size_t MaxClassNameLength = 80;
inline constexpr std::size_t MaxVersionTextLength = 20;
inline constexpr const char* CoreClassDate = "2006/05/08 14:00:45";
inline constexpr const char* CorePackageName = "Core";

// One registry record. Built-in classes get theirs from StaticClass(); packages
// hand in their own (PackageID set).
struct tZClass {
    ShortString ClassName;       // upper case once registered, at most 80 characters
    ShortString ExpandsClass;    // the parent's name, filled in on registration
    tStaticClass* StaticClass = nullptr;
    tConstructorType ClassConstructor = CT_ClassConstructor;
    ShortString VersionNeeded;   // at most 20 characters
    ShortString CompilationDate; // "yyyy/mm/dd hh:mm:ss"
    void* PackageID = nullptr;   // the package library; nullptr for built-in classes
    ShortString PackageName;
    bool Patch = false;          // replaces a built-in class of the same name
};

inline constexpr bool ZOP_ABSTRACT = true;

struct tVirtualOp {
    const char* Name;
    bool Abstract = false;
};

struct tPublishedMethod {
    const char* Name;
    void (*Call)(tZObject* Obj);
};

namespace zclass_detail {
template <class M> struct MemberOwner;
template <class C> struct MemberOwner<void (C::*)()> { using type = C; };
template <auto Method> void CallPublished(tZObject* Obj) {
    using Owner = typename MemberOwner<decltype(Method)>::type;
    (static_cast<Owner*>(Obj)->*Method)();
}
}  // namespace zclass_detail

// A parameterless method callable by name through CallMethodForAllObjects.
template <auto Method>
constexpr tPublishedMethod ZPublished(const char* Name) {
    return {Name, &zclass_detail::CallPublished<Method>};
}

struct tClassOptions {
    std::initializer_list<tVirtualOp> Operations = {};
    std::initializer_list<tPublishedMethod> Published = {};
};

class tStaticClass {
public:
    using DefaultFactory = tZObject* (*)();
    using ParamsFactory = tZObject* (*)(const ShortString& Params);
    using ExtensionHook = ShortString (*)();

    // Virtual operations of the language's plain object root come before
    // tZObject's, so tZObject's first operation has slot index 8.
    static constexpr int RootObjectSlots = 8;

    tStaticClass(const char* Name, tStaticClass* ParentClass, DefaultFactory Create,
                 ParamsFactory CreateWithParams, ExtensionHook Extension, const tClassOptions& Options);
    tStaticClass(const tStaticClass&) = delete;
    tStaticClass& operator=(const tStaticClass&) = delete;

    template <class T>
    static tStaticClass Make(const char* Name, tStaticClass* ParentClass, const tClassOptions& Options);

    const char* DeclaredName() const { return Declared; }
    const ShortString& Name() const { return UpperName; }  // upper case
    tStaticClass* Parent() const { return ParentClass; }
    // Packages re-parent their classes onto the program's registered ones.
    void SetParent(tStaticClass* P) { ParentClass = P; }

    bool CanCreate() const { return Create != nullptr; }
    tZObject* New() const { return Create(); }
    tZObject* New(const ShortString& Params) const { return CreateWithParams(Params); }

    // The class-level FileExtension of loader classes; empty when the class
    // has none.
    bool HasFileExtension() const { return Extension != nullptr; }
    ShortString FileExtension() const { return Extension ? Extension() : ShortString(); }

    // This class or one of its ancestors.
    bool IsA(const tStaticClass* Other) const;
    bool IsA(std::string_view UpperCaseName) const;

    // The published method of this class or its nearest ancestor, or nullptr.
    const tPublishedMethod* FindPublished(std::string_view Name) const;

    // Slot index of the first unimplemented virtual operation, -1 when the
    // class is complete.
    int FirstAbstractSlot() const;

    // The class's virtual-method table: for each slot from RootObjectSlots on,
    // the operation as declared by the class nearest to this one that names it
    // (its Abstract flag tells whether it is implemented here).
    std::vector<const tVirtualOp*> VirtualTable() const;

private:
    int FindFirstAbstractSlot() const;

    const char* Declared;
    ShortString UpperName;
    tStaticClass* ParentClass;
    DefaultFactory Create;
    ParamsFactory CreateWithParams;
    ExtensionHook Extension;
    std::vector<tVirtualOp> Operations;
    std::vector<tPublishedMethod> Published;
    mutable bool AbstractSlotKnown = false;
    mutable int AbstractSlot = -1;
};

// A record describing a built-in class: upper-case name, the core version,
// date and package name, the given constructor kind.
tZClass MakeStaticClass(tStaticClass* Class, tConstructorType Kind);
