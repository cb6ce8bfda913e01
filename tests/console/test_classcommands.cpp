// The commands other services add to the console: the registry's "SpawnClass",
// "EnumClasses" and "ClassInfo" (registered while packages load) and the file
// system's "Mount" (registered when the engine starts).

#include <gtest/gtest.h>

#include <algorithm>

#include "common/scriptenv.h"
#include "kernel/console/console.h"
#include "kernel/console/histories.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/subsystem.h"

namespace {

using Lines = std::vector<std::string>;

// A subsystem: the engine owns what "SpawnClass" makes.
class tSpawnProbe : public tSubSystem {
    Z_DECLARE_CLASS(tSpawnProbe, tSubSystem)
public:
    tSpawnProbe() = default;
    explicit tSpawnProbe(const ShortString& P) : Params(P) { Last = this; }
    void Tick(float) override {}
    void RenderFrame() override {}
    ShortString Params;
    static inline tSpawnProbe* Last = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tSpawnProbe, .Operations = {{"Tick"}, {"RenderFrame"}})

namespace {

class ClassCommandsTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        Linker->AddClass(tSpawnProbe::StaticClass(CT_SpawnableConstructor));
    }
    void TearDown() override {
        if (tSpawnProbe::Last) tZObject::DisposeObject(tSpawnProbe::Last);
        ScriptTest::TearDown();
    }
    // The engine's start: packages (with the registry's commands), then PostInit.
    void StartEngine() {
        MapData();
        Linker->LoadAllPackages();
        Linker->BroadcastEngineInit();
        TakeMessages();
    }
};


}  // namespace

TEST_F(ClassCommandsTest, PackagesAnnounceThemselvesAndAddTheRegistryCommands) {
    MapData();
    Linker->LoadAllPackages();
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP), (Lines{"Loading packages from: Packages\\"}));
    Type("ClassInfo; SpawnClass; EnumClasses");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), Lines{});
}

TEST_F(ClassCommandsTest, SpawnClassBuildsByNameWithOneParameterToken) {
    StartEngine();
    Type("Set PlaneChassis tSpawnProbe");
    Type("SpawnClass %PlaneChassis \"64 64 200\" ignored");
    ASSERT_NE(tSpawnProbe::Last, nullptr);
    EXPECT_EQ(tSpawnProbe::Last->Params, "64 64 200");
    EXPECT_TRUE(tSpawnProbe::Last->ObjectFlags & OBJ_Instanciated);

    Type("SpawnClass");
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP), (Lines{"Usage: SpawnClass <class name> [<constructor params>]"}));
}

TEST_F(ClassCommandsTest, SpawningAClassThatCannotBeMadeOrOwnedIsAConsoleError) {
    StartEngine();
    const int32_t objects = Linker->ObjectsGraph().GetTotalItems();
    Type("SpawnClass tNoSuchClass; SpawnClass tSubSystem \"1 2 3\"; SpawnClass tZObject; SpawnClass tEngineConsole; "
         "SpawnClass tWinGameEngine; SpawnClass tBMPLoader");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE),
              (Lines{"Unable to instantiate class: class not found: TNOSUCHCLASS", "Class is abstract: TSUBSYSTEM",
                     "Class can't be spawned: TZOBJECT", "Class can't be spawned: TENGINECONSOLE",
                     "Class can't be spawned: TWINGAMEENGINE", "Class can't be spawned: TBMPLOADER"}));
    EXPECT_EQ(Linker->ObjectsGraph().GetTotalItems(), objects);
}

TEST_F(ClassCommandsTest, EnumClassesListsTheTableInColumns) {
    StartEngine();
    Type("EnumClasses");
    Lines shown = TakeMessages();
    // The message history keeps the latest lines only: the heading scrolls
    // away once the table outgrows it.
    const std::size_t listed = static_cast<std::size_t>(Linker->ActiveClasses() + 2);
    const std::size_t kept = static_cast<std::size_t>(tMessagesHistory::Capacity);
    ASSERT_EQ(shown.size(), std::min(listed, kept));
    if (listed <= kept) {
        EXPECT_EQ(shown.front(), Int2Str(Linker->ActiveClasses()).str() + " classes registered:");
    }
    // The last class of the table is always among the lines kept.
    const ShortString Last = Linker->GetClassRecord(Linker->ActiveClasses()).ClassName;
    const std::string last = (Fetch(Last, 25) + Fetch("From: Core", 38)).str();
    EXPECT_NE(std::find(shown.begin(), shown.end(), last), shown.end()) << last;
    EXPECT_EQ(shown.back(), "Instantiated: " + Int2Str(Linker->ObjectsGraph().GetTotalItems()).str());
}

TEST_F(ClassCommandsTest, ClassInfoDescribesOneRecord) {
    StartEngine();
    Type("ClassInfo tEngineConsole");
    EXPECT_EQ(TakeMessages(), (Lines{"ClassName:            TENGINECONSOLE expands TCONSOLE",
                                     "VersionNeeded:        0.4.58 (valid)",
                                     "CompilationDate:      2006/05/08 14:00:45",
                                     "PackageName:          Core"}));
    Type("classinfo tsubsystem");
    EXPECT_EQ(TakeMessages()[1], "VersionNeeded:        0.4.58 (abstract)");
    Type("ClassInfo tNope; ClassInfo");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (Lines{"Class not found: TNOPE"}));
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP), (Lines{"Usage: ClassInfo <class name>"}));
}

TEST_F(ClassCommandsTest, MountGraftsADirectoryTheScriptsCanRun) {
    WriteData("Mods\\readme.txt", "");
    Work.WriteFile("extra/mod.cfg", "Echo from the mod\n");
    StartEngine();
    Type("Mount");
    EXPECT_EQ(TakeMessages(), (Lines{"Usage: mount [physical path] [mount point]"}));
    Type("Mount extra Mods; Exec Mods\\mod.cfg");
    EXPECT_EQ(TakeMessages(), (Lines{"from the mod"}));
}
