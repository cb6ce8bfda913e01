#include "kernel/objects/zobject.h"

#include <unistd.h>

#include <cstdio>
// <cstdio>'s EOF macro collides with tIStream::EOF.
#pragma push_macro("EOF")
#undef EOF
#include "kernel/core/stream.h"
#pragma pop_macro("EOF")
#include <cstring>
#include <exception>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/lists.h"
#include "kernel/objects/registry.h"
#include "kernel/objects/version.h"

tStaticClass tZObject::ClassInfo = tStaticClass::Make<tZObject>(
    "tZObject", nullptr,
    tClassOptions{.Operations = {{"Init"}, {"InitParams"}, {"Done"}, {"AllocateListItem"}, {"AllocateProxy"},
                                 {"Replicate"}, {"LoadFromStream"}, {"SaveToStream"}, {"Instanciated"}}});

const tStaticClass* tZObject::ClassUnderConstruction = nullptr;

namespace {

constexpr int MisuseExitCode = 255;

// Identifiers come from the time-stamp counter but must never repeat, even for
// two objects built within one tick: proxies tell objects apart by them.
int64_t NewObjectGUID() {
    static int64_t LastGUID = 0;
    int64_t Tick = GetTSC();
    LastGUID = Tick > LastGUID ? Tick : LastGUID + 1;
    return LastGUID;
}

// Addresses of destroyed objects with their classes, so disposing a stale
// copy of a reference is reported without touching freed memory. A fixed
// table, one entry per slot of the address's hash: an entry is dropped when a
// new object is built at the same address or another destroyed object takes
// its slot. Unbounded, the record would grow with every object ever made
// under an allocator that seldom reuses addresses (the sanitizers'), and a
// map would allocate for every object destroyed.
class tDestroyedObjects {
public:
    void Forget(const tZObject* Obj) {
        tEntry& E = Slot(Obj);
        if (E.Obj == Obj) E = {};
    }
    void Remember(const tZObject* Obj, const tStaticClass* Class) { Slot(Obj) = {Obj, Class}; }
    // The class of the object destroyed at Obj, or nullptr.
    const tStaticClass* ClassAt(const tZObject* Obj) {
        const tEntry& E = Slot(Obj);
        return E.Obj == Obj ? E.Class : nullptr;
    }

private:
    static constexpr uint32_t Slots = 16384;  // a power of two
    struct tEntry {
        const tZObject* Obj = nullptr;
        const tStaticClass* Class = nullptr;
    };
    tEntry& Slot(const tZObject* Obj) {
        const auto Address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(Obj));
        return Table[((Address >> 4) * 0x9E3779B97F4A7C15ull) >> 50];
    }
    static_assert(Slots == 1u << (64 - 50));
    tEntry Table[Slots];
};

tDestroyedObjects& DestroyedObjects() {
    static tDestroyedObjects Record;
    return Record;
}

// A ShortString in a fixed block: length byte, characters, then Fill.
void WriteBlock(tStream& Stream, const ShortString& S, uint8_t Fill) {
    uint8_t Block[ObjectHeaderBlockSize];
    std::memset(Block, Fill, sizeof Block);
    Block[0] = static_cast<uint8_t>(S.size());
    std::memcpy(Block + 1, S.data(), S.size());
    Stream.BlockWrite(Block, ObjectHeaderBlockSize);
}

ShortString DecodeBlock(const uint8_t* Block) {
    return ShortString(std::string_view(reinterpret_cast<const char*>(Block + 1), Block[0]));
}

ShortString ReadBlock(tIStream& Stream) {
    uint8_t Block[ObjectHeaderBlockSize] = {};
    Stream.BlockRead(Block, ObjectHeaderBlockSize);
    return DecodeBlock(Block);
}

}  // namespace

tZObject::tZObject()
    : FGUID(NewObjectGUID()),
      ObjectFlags(OBJ_Orphan),
      ObjectClass(ClassUnderConstruction ? ClassUnderConstruction : &ClassInfo) {
    ClassUnderConstruction = nullptr;
    DestroyedObjects().Forget(this);
    if (Linker) Linker->AddObject(this);
}

tZObject::tZObject(const ShortString&) : tZObject() {}

tZObject::~tZObject() {
    ProcTrace trace("tZObject.Done(" + ClassName() + ")");
    // A constructor cut short by an exception (a fatal error under a throwing
    // halt hook) destroys the parts already built: the object was never
    // handed out, so this is no misuse.
    if (!(ObjectFlags & OBJ_DisposeObject) && std::uncaught_exceptions() == 0) {
        std::printf("%s: Use DisposeObject() instead of Dispose()\n", ClassName().c_str());
        std::fflush(stdout);
        _exit(MisuseExitCode);
    }
    ObjectFlags |= OBJ_Destructed;
    if (Linker && !(ObjectFlags & OBJ_Orphan)) Linker->RemoveObject(this);
    DestroyedObjects().Remember(this, ObjectClass);
}

void tZObject::DisposeObjectImpl(tZObject* Obj) {
    Logger->Guard(Obj != nullptr, "tZObject.DisposeObject: unable to dispose NIL object");
    const tStaticClass* Destroyed = DestroyedObjects().ClassAt(Obj);
    if (Destroyed || (Obj->ObjectFlags & OBJ_Destructed)) {
        const tStaticClass* Class = Destroyed ? Destroyed : Obj->ObjectClass;
        Logger->Fatal("tZObject.DisposeObject: destructor of this object has been called already: " + Class->Name());
    }
    Obj->ObjectFlags |= OBJ_DisposeObject;
    delete Obj;
}

tListItem* tZObject::AllocateListItem() { return new tListItem(this); }

tProxy* tZObject::AllocateProxy() { return Linker->CreateProxy(this); }

tZObject* tZObject::Replicate() {
    Logger->Fatal("Replication isn't supported yet");
    return nullptr;  // Fatal does not return; virtual calls do not carry [[noreturn]]
}

void tZObject::LoadFromStream(tIStream& Stream) {
    Logger->Guard(ReadBlock(Stream) == ObjectStreamTag,
                  "Invalid stream format: unable to read cluster (" + ClassName() + ")");
    ShortString Name = ReadBlock(Stream);
    Logger->Guard(Name == ClassName(), "Invalid class name: got " + Name + " (expected: " + ClassName() + ")");
}

void tZObject::SaveToStream(tStream& Stream) {
    WriteBlock(Stream, ObjectStreamTag, ' ');
    WriteBlock(Stream, ClassName(), 0);
}

bool tZObject::IsStreamHeader(const uint8_t* Header, const ShortString& ClassName) {
    return DecodeBlock(Header) == ObjectStreamTag && DecodeBlock(Header + ObjectHeaderBlockSize) == ClassName;
}

void tZObject::Instanciated() { ObjectFlags |= OBJ_Instanciated; }

const ShortString& tZObject::ClassName() const { return ObjectClass->Name(); }

bool tZObject::DynamicCast(const ShortString& Name) const { return ObjectClass->IsA(UpCaseStr(Name).view()); }

bool tZObject::DynamicCast(const tZClass& Class) const { return ObjectClass->IsA(Class.StaticClass); }

bool tZObject::DynamicCast(const tStaticClass* Class) const { return ObjectClass->IsA(Class); }

ShortString tZObject::GetObjectFlagsString() const {
    ShortString S;
    if (ObjectFlags & OBJ_Orphan) S += " OBJ_Orphan";
    if (ObjectFlags & OBJ_Destructed) S += " OBJ_Destructed";
    return Trim(S);
}

bool tZObject::IsAbstractClass(const tZClass& Class) {
    int Slot = Class.StaticClass->FirstAbstractSlot();
    if (Slot < 0) return false;
    Logger->Log("Class " + Class.ClassName + " has an abstract entry at " + Int2Str(Slot));
    return true;
}

ShortString tZObject::InstantiationError(const tZClass& Class) {
    if (Class.StaticClass == nullptr) return "Class not found: " + Class.ClassName;
    if (IsAbstractClass(Class)) return "Class is abstract: " + Class.ClassName;
    if (!EngineIsAtLeast(Class.VersionNeeded))
        return "Class " + Class.ClassName + " needs engine version: " + Class.VersionNeeded;
    if (Class.ClassConstructor != CT_ClassConstructor && Class.ClassConstructor != CT_SpawnableConstructor)
        return "Invalid constructor type";
    return {};
}

tZObject* tZObject::Instantiate(const tZClass& Class, const ShortString& Params) {
    ProcTrace trace("tZObject.Instantiate(" + Class.ClassName + "," + Params + ")");
    if (ShortString Error = InstantiationError(Class); !Error.empty()) Logger->Fatal(Error);
    tZObject* Obj = Class.ClassConstructor == CT_SpawnableConstructor ? Class.StaticClass->New(Params)
                                                                      : Class.StaticClass->New();
    tOwned<tZObject> Built(Obj);
    Logger->Guard(Obj->DynamicCast(Class.ClassName), "Wrong object was instantiated for class: " + Class.ClassName);
    // A spawnable enters the world here and loads what it shows: an error
    // there (a console line recovering from it) must not leave it alive.
    Obj->Instanciated();
    return Built.release();
}
