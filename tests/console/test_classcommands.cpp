// The commands other services add to the console: the registry's "SpawnClass",
// "EnumClasses" and "ClassInfo" (registered while packages load) and the file
// system's "Mount" (registered when the engine starts).

#include <gtest/gtest.h>

#include <algorithm>

#include "common/scriptenv.h"
#include "kernel/console/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"

namespace {

using Lines = std::vector<std::string>;

class tSpawnProbe : public tZObject {
    Z_DECLARE_CLASS(tSpawnProbe, tZObject)
public:
    tSpawnProbe() = default;
    explicit tSpawnProbe(const ShortString& P) : tZObject(P), Params(P) { Last = this; }
    ShortString Params;
    static inline tSpawnProbe* Last = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tSpawnProbe)

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

using ClassCommandsDeathTest = ClassCommandsTest;

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

TEST_F(ClassCommandsDeathTest, SpawningAnUnknownClassIsFatal) {
    StartEngine();
    EXPECT_EXIT(Type("SpawnClass tNoSuchClass"), ::testing::ExitedWithCode(255),
                "Unable to instantiate class: class not found: TNOSUCHCLASS");
}

TEST_F(ClassCommandsTest, EnumClassesListsTheTableInColumns) {
    StartEngine();
    Type("EnumClasses");
    Lines shown = TakeMessages();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(Linker->ActiveClasses() + 2));
    EXPECT_EQ(shown.front(), Int2Str(Linker->ActiveClasses()).str() + " classes registered:");
    const std::string console = (Fetch("TENGINECONSOLE", 25) + Fetch("From: Core", 38)).str();
    EXPECT_NE(std::find(shown.begin(), shown.end(), console), shown.end());
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
