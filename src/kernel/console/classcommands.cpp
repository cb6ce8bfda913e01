// The class registry's console commands: "SpawnClass", "EnumClasses" and
// "ClassInfo".

#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/console.h"

namespace {

constexpr std::size_t ClassNameColumn = 25;
constexpr std::size_t PackageColumn = 38;

// Subsystems of which the program makes exactly one for itself.
constexpr std::string_view EngineServices[] = {"TENGINE", "TINPUTDEVICE", "TVIEWPORT", "TAUDIOSUBSYSTEM"};

// What "SpawnClass" may make: objects that someone owns once made, world
// objects (the world, but not the weapons an aircraft owns) and subsystems
// (the engine), but not the engine's own services. Anything else would live unowned to the end, or take over a
// service the program already has.
bool OwnedOnceSpawned(const tZClass& C) {
    const tStaticClass* Class = C.StaticClass;
    // A gun is owned by the aircraft that carries it; made alone, nobody
    // would ever dispose it.
    if (Class->IsA("TWEAPON")) return false;
    if (Class->IsA("TSPAWNABLE")) return true;
    if (!Class->IsA("TSUBSYSTEM")) return false;
    for (std::string_view Service : EngineServices)
        if (Class->IsA(Service)) return false;
    return true;
}

// Services of which the game holds one: a second would take over the
// commands and variables of the first, or live beside it unused.
constexpr std::string_view SingleServices[] = {"TMATCH", "TCONSOLE", "TGUIMANAGER", "TRENDERDEVICE", "TFREECAMERA"};

// The service of Class of which one already lives, or empty.
std::string_view LiveSingleService(const tStaticClass& Class, const tObjectsList& Graph) {
    for (std::string_view Service : SingleServices) {
        if (!Class.IsA(Service)) continue;
        for (int32_t I = 1; I <= Graph.GetTotalItems(); ++I)
            if (Graph.GetObject(I)->GetClass()->IsA(Service)) return Service;
    }
    return {};
}

}  // namespace

void tObjectsLinker::SpawnClassC(const ShortString& Args) {
    const ShortString name = UpCaseStr(GetToken(Args, 1));
    if (name.empty()) {
        Console->DisplayInfoTip("Usage: SpawnClass <class name> [<constructor params>]");
        return;
    }
    if (ShortString error = InstantiationError(name); !error.empty()) {
        Console->DisplayError(error);
        return;
    }
    tZClass c;
    FindClass(name, c);
    if (!OwnedOnceSpawned(c)) {
        Console->DisplayError("Class can't be spawned: " + name);
        return;
    }
    if (const std::string_view Service = LiveSingleService(*c.StaticClass, ObjectsGraph()); !Service.empty()) {
        Console->DisplayError("Class can't be spawned: " + name + " (the game has its " + ShortString(Service) + " already)");
        return;
    }
    InstantiateClassByName(name, GetToken(Args, 2));
}

void tObjectsLinker::EnumClassesC(const ShortString&) {
    Console->Display(Int2Str(ActiveClasses()) + " classes registered:");
    for (int32_t i = 1; i <= ActiveClasses(); ++i) {
        const tZClass& c = GetClassRecord(i);
        ShortString line = Fetch(c.ClassName, ClassNameColumn) + Fetch("From: " + c.PackageName, PackageColumn);
        if (c.Patch) line += "(patch)";
        Console->Display(line);
    }
    Console->Display("Instantiated: " + Int2Str(ObjectsGraph().GetTotalItems()));
}

void tObjectsLinker::ClassInfoC(const ShortString& Args) {
    const ShortString name = UpCaseStr(GetToken(Args, 1));
    if (name.empty()) {
        Console->DisplayInfoTip("Usage: ClassInfo <class name>");
        return;
    }
    tZClass c;
    if (!FindClass(name, c)) {
        Console->DisplayError("Class not found: " + name);
        return;
    }
    ShortString state = IsClassValid(c) ? " (valid)" : " (not valid)";
    if (tZObject::IsAbstractClass(c)) state = " (abstract)";
    Console->Display("ClassName:            " + c.ClassName + " expands " + c.ExpandsClass);
    Console->Display("VersionNeeded:        " + c.VersionNeeded + state);
    Console->Display("CompilationDate:      " + c.CompilationDate);
    Console->Display("PackageName:          " + c.PackageName);
}
