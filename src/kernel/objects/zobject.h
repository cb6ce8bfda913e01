#pragma once
// tZObject: the root of every engine object. It carries a unique identifier,
// the life-cycle flags and the class descriptor, puts itself on the registry's
// object graph when the registry exists, and may only be destroyed through
// tZObject::DisposeObject(obj), which also clears the caller's reference.
//
// Declaring a class: Z_DECLARE_CLASS(tFoo, tParent) as the first line of the
// class body, Z_IMPLEMENT_CLASS(tFoo, ...) in its .cpp and one AddClass line in
// src/classtable.cpp (details in classdesc.h). Creating objects:
// Linker->InstantiateClassByName("tFoo", Params) by name, tZObject::Instantiate
// with a registry record, or NewObject<tFoo>(...) in code that knows the type.

#include <cstdint>
#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

#include "kernel/core/shortstring.h"
#include "kernel/objects/classdesc.h"

class tIStream;
class tStream;
class tListItem;
class tProxy;

enum tObjectFlags : uint32_t {
    OBJ_Orphan = 1,         // not on the object graph
    OBJ_Instanciated = 2,   // created through Instantiate
    OBJ_Destructed = 4,     // the destructor has run
    OBJ_DisposeObject = 8,  // destruction was requested through DisposeObject
};

inline constexpr const char* ObjectStreamTag = "Z-cluster";
inline constexpr int32_t ObjectHeaderBlockSize = 256;

// Sets the object's class as each level of its construction begins (unless a
// more derived class is known already), so the most derived class is known
// from then on, through destruction.
struct tClassStamp {
    tClassStamp(tZObject* Obj, const tStaticClass* Class);
};

#define Z_DECLARE_CLASS(Class, ParentClass)                                              \
public:                                                                                  \
    using Super = ParentClass;                                                           \
    static tStaticClass ClassInfo;                                                       \
    static tZClass StaticClass(tConstructorType Kind = CT_ClassConstructor) {            \
        return MakeStaticClass(&ClassInfo, Kind);                                        \
    }                                                                                    \
                                                                                         \
private:                                                                                 \
    [[no_unique_address]] tClassStamp ZClassStamp_{this, &ClassInfo};

#define Z_IMPLEMENT_CLASS(Class, ...)                                                    \
    static_assert(std::is_base_of_v<Class::Super, Class>, #Class " must derive from its declared parent"); \
    tStaticClass Class::ClassInfo =                                                      \
        tStaticClass::Make<Class>(#Class, &Class::Super::ClassInfo, tClassOptions{__VA_ARGS__});

class tZObject {
public:
    static tStaticClass ClassInfo;
    static tZClass StaticClass(tConstructorType Kind = CT_ClassConstructor) { return MakeStaticClass(&ClassInfo, Kind); }

    tZObject();
    // The spawnable constructor; the root ignores Params.
    explicit tZObject(const ShortString& Params);
    virtual ~tZObject();
    tZObject(const tZObject&) = delete;
    tZObject& operator=(const tZObject&) = delete;

    // A new list cell carrying this object.
    virtual tListItem* AllocateListItem();
    // A weak reference to this object; the caller owns it.
    virtual tProxy* AllocateProxy();
    virtual tZObject* Replicate();
    // Reads and checks the object header; derived classes read their data after it.
    virtual void LoadFromStream(tIStream& Stream);
    // Writes the 512-byte object header; derived classes append their data.
    virtual void SaveToStream(tStream& Stream);
    // Whether the 512 bytes at Header are the header that LoadFromStream of
    // the class named ClassName (upper case) accepts. Lets a reader of a
    // derived file tell a damaged one from a sound one without failing.
    static bool IsStreamHeader(const uint8_t* Header, const ShortString& ClassName);
    // Called once after Instantiate built the object.
    virtual void Instanciated();

    // The class name as declared, in upper case.
    const ShortString& ClassName() const;
    const tStaticClass* GetClass() const { return ObjectClass; }
    // Whether this object's class is the named class or descends from it.
    bool DynamicCast(const ShortString& Name) const;
    bool DynamicCast(const tZClass& Class) const;
    bool DynamicCast(const tStaticClass* Class) const;
    ShortString GetObjectFlagsString() const;

    int64_t FGUID = 0;
    uint32_t ObjectFlags = 0;

    static bool IsAbstractClass(const tZClass& Class);
    static tZObject* Instantiate(const tZClass& Class, const ShortString& Params);
    // The fatal message Instantiate would stop at before building the object,
    // or an empty text.
    static ShortString InstantiationError(const tZClass& Class);

    // The only sanctioned way to destroy an engine object; clears Obj.
    template <class T>
    static void DisposeObject(T*& Obj) {
        tZObject* Base = Obj;
        DisposeObjectImpl(Base);
        Obj = nullptr;
    }

private:
    friend struct tClassStamp;
    template <class T, class... Args>
    friend T* NewObject(Args&&... args);

    static void DisposeObjectImpl(tZObject* Obj);

    // The class of the object about to be built by NewObject, taken by the
    // root constructor so "adding: " already names the real class.
    static const tStaticClass* ClassUnderConstruction;

    const tStaticClass* ObjectClass;
};

// Lets a std::unique_ptr hold an engine object, so a fatal error that unwinds
// (under a throwing halt hook) disposes what was built so far:
//   tOwned<tSectionNode> Section(NewObject<tSectionNode>(Name, ID));
struct tDisposeObject {
    template <class T>
    void operator()(T* Obj) const { tZObject::DisposeObject(Obj); }
};
template <class T>
using tOwned = std::unique_ptr<T, tDisposeObject>;

// An object made through NewObject knows its most derived class from the
// root constructor on, so traces inside base constructors name it; a stamp
// only ever moves the class further down the tree.
inline tClassStamp::tClassStamp(tZObject* Obj, const tStaticClass* Class) {
    if (Class->IsA(Obj->ObjectClass)) Obj->ObjectClass = Class;
}

// Builds an engine object whose type is known at compile time.
template <class T, class... Args>
T* NewObject(Args&&... args) {
    tZObject::ClassUnderConstruction = &T::ClassInfo;
    return new T(std::forward<Args>(args)...);
}

template <class T>
tStaticClass tStaticClass::Make(const char* Name, tStaticClass* ParentClass, const tClassOptions& Options) {
    DefaultFactory Create = nullptr;
    ParamsFactory CreateWithParams = nullptr;
    // A class that code builds only with arguments of its own (a console
    // command, a demo player) has no factory: it cannot be built by name.
    constexpr bool Buildable = std::is_default_constructible_v<T> || std::is_constructible_v<T, const ShortString&>;
    if constexpr (!std::is_abstract_v<T> && Buildable) {
        // A class without a parameterless constructor gets empty Params; one
        // without a spawnable constructor ignores them.
        if constexpr (std::is_default_constructible_v<T>)
            Create = []() -> tZObject* { return NewObject<T>(); };
        else
            Create = []() -> tZObject* { return NewObject<T>(ShortString()); };
        if constexpr (std::is_constructible_v<T, const ShortString&>)
            CreateWithParams = [](const ShortString& Params) -> tZObject* { return NewObject<T>(Params); };
        else
            CreateWithParams = [](const ShortString&) -> tZObject* { return NewObject<T>(); };
    }
    ExtensionHook Extension = nullptr;
    if constexpr (requires { { T::FileExtension() } -> std::convertible_to<ShortString>; })
        Extension = []() -> ShortString { return T::FileExtension(); };
    return tStaticClass(Name, ParentClass, Create, CreateWithParams, Extension, Options);
}
