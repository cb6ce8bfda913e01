#include <filesystem>
#include <string>

#include "common/consoleenv.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/objects/registry.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/vfs/filesystem.h"
#include "vfs/vfsfixture.h"

namespace {

namespace fs = std::filesystem;

// Copies a package built for the tests into Data/Packages/.
void InstallPackage(const std::string& Built, const std::string& As) {
    fs::create_directories("Data/Packages");
    fs::copy_file(fs::path(TEST_PACKAGE_DIR) / Built, "Data/Packages/" + As);
}

class PackageTest : public VFSTest {
protected:
    void SetUp() override {
        VFSTest::SetUp();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
    }
    void TearDown() override {
        if (FS) tZObject::DisposeObject(FS);
        tZObject::DisposeObject(Linker);
        VFSTest::TearDown();
    }
};

TEST_F(PackageTest, PackageClassesJoinAndPatchTheTable) {
    InstallPackage("timerpackage.so", "timers.so");
    tZClass builtIn;
    ASSERT_TRUE(Linker->FindClass("tWinTimer", builtIn));
    int32_t classes = Linker->ActiveClasses();
    Mapped();
    Linker->LoadAllPackages();

    // The new class, re-parented onto the program's tWinTimer.
    EXPECT_EQ(Linker->ActiveClasses(), classes + 1);
    const tZClass& added = Linker->GetClassRecord(classes + 1);
    EXPECT_EQ(added.ClassName, "TPACKAGETIMER");
    EXPECT_EQ(added.ExpandsClass, "TWINTIMER");
    EXPECT_EQ(added.PackageName, "Data/Packages/timers.so");
    EXPECT_NE(added.PackageID, nullptr);
    EXPECT_FALSE(added.Patch);
    EXPECT_EQ(added.CompilationDate, "2024/03/01 12:00:00");

    // The patch takes the built-in record's place.
    tZClass patched;
    ASSERT_TRUE(Linker->FindClass("TWINTIMER", patched));
    EXPECT_TRUE(patched.Patch);
    EXPECT_NE(patched.StaticClass, builtIn.StaticClass);
    EXPECT_EQ(patched.PackageID, added.PackageID);
    int32_t position = 0;
    for (int32_t i = 1; i <= Linker->ActiveClasses(); ++i)
        if (Linker->GetClassRecord(i).ClassName == "TWINTIMER") position = i;
    tZClass first;
    int32_t index = 1;
    ASSERT_TRUE(Linker->FindInterface("tWinTimer", index, first));
    EXPECT_EQ(index, position);

    // Objects of both are built by name and run the package's code.
    tZObject* timer = Linker->InstantiateClassByName("tPackageTimer", "");
    EXPECT_TRUE(timer->DynamicCast("tTimer"));
    static_cast<tTimer*>(timer)->GetCyclesPerSecond();
    tZObject* patchedTimer = Linker->InstantiateClassByName("tWinTimer", "");
    EXPECT_EQ(patchedTimer->ClassName(), "TWINTIMER");
    static_cast<tTimer*>(patchedTimer)->GetCyclesPerSecond();
    tZObject::DisposeObject(timer);
    tZObject::DisposeObject(patchedTimer);

    std::string log = Log();
    for (const char* line : {"\"Loading packages from: Packages\\\"", "\"Loading packages from: Data/Packages/\"",
                             "\"...loading package: Data/Packages/timers.so\"", "\"Initializing package...\"",
                             "\"Retrieving classes...\"", "\"Class TPACKAGETIMER expands TWINTIMER\"",
                             "\"tPackageTimer calibrating\"", "\"patched tWinTimer calibrating\""})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST_F(PackageTest, NoPackagesDirectoryIsCreated) {
    Work.WriteFile("Data/readme.txt", "");
    Mapped();
    int32_t classes = Linker->ActiveClasses();
    Linker->LoadAllPackages();
    EXPECT_TRUE(fs::is_directory("Data/Packages"));
    EXPECT_EQ(Linker->ActiveClasses(), classes);
}

TEST_F(PackageTest, AnOlderPatchIsRefused) {
    InstallPackage("oldpatchpackage.so", "old.so");
    Mapped();
    EXPECT_EXIT(Linker->LoadAllPackages(), ::testing::ExitedWithCode(255),
                "Patch for class TWINTIMER is older than CORE_PACKAGE class");
}

TEST_F(PackageTest, LibrariesThatAreNoPackagesAreFatal) {
    Work.WriteFile("Data/Packages/junk.so", "not a library");
    Mapped();
    EXPECT_EXIT(Linker->LoadPackage("Data/Packages/junk.so"), ::testing::ExitedWithCode(255),
                "LoadPackage\\(\\) failed to load Data/Packages/junk.so");
    EXPECT_EXIT(Linker->LoadPackage("libm.so.6"), ::testing::ExitedWithCode(255),
                "Unable to find InitPackage\\(\\) proc in libm.so.6");
}

class PackageConsoleTest : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        OSSystem = new tWinOSSystem();
        Linker = NewObject<tObjectsLinker>();
        Linker->RegisterClasses();
    }
    void DisposeServices() override {
        if (FileSystem) tZObject::DisposeObject(FileSystem);
        ConsoleTest::DisposeServices();
        tZObject::DisposeObject(Linker);
        delete OSSystem;
        OSSystem = nullptr;
    }
};

TEST_F(PackageConsoleTest, TheConsoleListsPackageClassesAndPatches) {
    InstallPackage("timerpackage.so", "timers.so");
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    Linker->LoadAllPackages();
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP), (std::vector<std::string>{"Loading packages from: Packages\\",
                                                                      "...loading package: Data/Packages/timers.so"}));
    TakeMessages();
    Type("EnumClasses");
    std::vector<std::string> lines = MessagesOfType(CMSG_ENGINEMESSAGE);
    auto line = [&](const std::string& name) {
        for (const std::string& l : lines)
            if (l.rfind(name + " ", 0) == 0) return l;
        return std::string();
    };
    EXPECT_EQ(line("TWINTIMER"), "TWINTIMER                From: Data/Packages/timers.so         (patch)");
    EXPECT_EQ(line("TPACKAGETIMER"), "TPACKAGETIMER            From: Data/Packages/timers.so         ");
    // The console keeps the newest 100 messages, so a built-in class from the
    // end of the table stands for all of them.
    const std::string LastBuiltIn = Linker->GetClassRecord(Linker->ActiveClasses() - 1).ClassName.str();
    EXPECT_EQ(line(LastBuiltIn), Fetch(LastBuiltIn, 25).str() + "From: Core                            ");
}

TEST(PackageRecords, ClassRecordsRoundTripFieldByField) {
    tZClass C = tWinTimer::StaticClass();
    C.ExpandsClass = "TTIMER";
    C.PackageID = reinterpret_cast<void*>(0x1122334455667788);
    C.PackageName = ShortString(std::string(300, 'p'));
    C.Patch = true;
    uint8_t record[PackageRecordSize + 1];
    record[PackageRecordSize] = 0xEE;
    WritePackageRecord(record, C);
    EXPECT_EQ(record[PackageRecordSize], 0xEE);  // nothing past the record
    EXPECT_EQ(record[0], 9);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(record + 1), 9), "TWINTIMER");
    EXPECT_EQ(record[224], 0x88);  // PackageID, little-endian
    EXPECT_EQ(record[PackageRecordSize - 1], 1);

    tZClass R = ReadPackageRecord(record);
    EXPECT_EQ(R.ClassName, C.ClassName);
    EXPECT_EQ(R.ExpandsClass, "TTIMER");
    EXPECT_EQ(R.StaticClass, C.StaticClass);
    EXPECT_EQ(R.ClassConstructor, CT_ClassConstructor);
    EXPECT_EQ(R.VersionNeeded, "0.4.58");
    EXPECT_EQ(R.CompilationDate, "2006/05/08 14:00:45");
    EXPECT_EQ(R.PackageID, C.PackageID);
    EXPECT_EQ(R.PackageName.str(), std::string(255, 'p'));
    EXPECT_TRUE(R.Patch);

    tPluginAPIStruct API = MakePluginAPI();
    EXPECT_EQ(API._SIZE, 412);
    EXPECT_EQ(PluginAPIVersion(API), "0.4.58");
}

}  // namespace
