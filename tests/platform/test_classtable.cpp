// Every class of the built-in class table against its descriptor: the classes
// the descriptor calls concrete can be built through the registry, and the
// ones it calls abstract cannot be built by C++ either. A class whose declared
// list of virtual operations drifted from the code fails here at once.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "common/enginehost.h"
#include "kernel/core/globals.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/objects/registry.h"
#include "kernel/world/world.h"

namespace {

// The services the test host already runs, one instance each: a second one
// would register the same console commands and variables again.
const std::set<std::string> RunningServices = {"TENGINECONSOLE", "TENGINEVARSMANAGER", "TWINGAMEENGINE"};

// Classes that load the game's data files (meshes, height maps, sounds,
// shaders) or draw through a real render device as they are built: the test
// host has neither. The game's integration tests build them.
const std::set<std::string> NeedGameData = {
    "TLEVEL",      "TVIRGINFOREST",     "TMIPTERRAIN",         "TBOXACTOR",        "TAIRPLANEACTOR",
    "TBIPLANE",    "TPURSUITPLANE",     "TCREDITSPICKUP",      "TANNOUNCER",       "TPARTICLEPROJECTILE",
    "TSHELLPROJECTILE", "TPLASMAPROJECTILE", "TRAILSHAFT",     "TRAILGUN",         "TPLASMAGUN",
    "TPULSEGUN",   "TATMOSPHERERENDERER", "TWEATHERCONDITIONS", "TCLOUDYDAY",      "TCLEARDAY",
    "THELLFIRE",   "TSTORMYDAY",        "TLENSFLARE",          "TEXPLOSION",       "TSPLASH",
    "TBURNINGWRECK", "TNETPUPPET"};

// Constructor parameters for the spawnable classes that read theirs.
std::string ParamsFor(const std::string& ClassName) {
    if (ClassName == "TWINDOWSTTFMANIPULATOR") return "\"DejaVu Sans Mono\" 8 16";
    return "";
}

TEST_F(EngineHostTest, EveryConcreteClassOfTheTableCanBeBuiltAndEveryAbstractOneCannot) {
    StartActiveEngine();
    Engine->GetWorld();
    int32_t Built = 0;
    for (int32_t I = 1; I <= Linker->ActiveClasses(); ++I) {
        const tZClass& C = Linker->GetClassRecord(I);
        const std::string Name = C.ClassName.str();
        const bool Abstract = tZObject::IsAbstractClass(C);
        // The descriptor names an operation abstract that C++ implements, or
        // the reverse.
        EXPECT_EQ(Abstract, !C.StaticClass->CanCreate()) << Name;
        // The window manager needs a window of at least 800 x 600, and GUI
        // objects live on its desktop: the GUI's own tests build them.
        const bool NeedsGUI = Name == "TWINDOWMANAGER" || Name.rfind("TGUI", 0) == 0;
        if (Abstract || RunningServices.count(Name) || NeedGameData.count(Name) || NeedsGUI) continue;

        tZObject* Obj = tZObject::Instantiate(C, ParamsFor(Name));
        ASSERT_NE(Obj, nullptr) << Name;
        EXPECT_EQ(Obj->ClassName(), C.ClassName);
        // Worlds replace the current one, cameras and spawnables enter it:
        // the engine disposes them with the world.
        // A weapon is its aircraft's, in no world list.
        const bool WorldOwned = Obj->DynamicCast("tWorld") || Obj->DynamicCast("tCamera") ||
                                (Obj->DynamicCast("tSpawnable") && !Obj->DynamicCast("tWeapon"));
        if (!WorldOwned) tZObject::DisposeObject(Obj);
        ++Built;
    }
    EXPECT_GE(Built, 18);
}

}  // namespace
