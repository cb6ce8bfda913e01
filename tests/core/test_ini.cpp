// The start-up INI file read from and written back to a real Data/ tree.

#include <gtest/gtest.h>

#include <filesystem>

#include "common/testenv.h"
#include "kernel/console/console.h"
#include "kernel/core/globals.h"
#include "kernel/os/winossystem.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"

namespace {

class INITest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        OSSystem = new tWinOSSystem();
    }
    void TearDown() override {
        if (FileSystem) tZObject::DisposeObject(FileSystem);
        delete OSSystem;
        OSSystem = nullptr;
        EngineTest::TearDown();
    }
    // Writes Data/StdConfig/engine.ini and builds the file system over Data/.
    void WriteINI(const std::string& Text) {
        Work.WriteFile("Data/StdConfig/engine.ini", Text);
        if (FileSystem) tZObject::DisposeObject(FileSystem);
        FileSystem = NewObject<tVirtualFileSystem>();
        FileSystem->SetRootDir("Data\\");
    }
    std::string Saved() const { return ReadWholeFile(Work.Path() / "Data/StdConfig/engine.ini"); }
};

using INIDeathTest = INITest;

const char* const StartupINI =
    "; start-up configuration\r\n"
    "\r\n"
    "[Core]\r\n"
    "MathServer = tGenericMathServer \r\n"
    "Engine=tWinGameEngine\r\n"
    "  [ Renderer ]  \r\n"
    "Options = a=b; c\r\n"
    "Engine=tOverwritten\r\n"
    "[Core]\r\n"
    "Console=tEngineConsole\r\n"
    "[Empty]\r\n";

}  // namespace

TEST_F(INITest, LookupsAreExactAndValuesKeepEverythingAfterTheFirstEquals) {
    WriteINI(StartupINI);
    tZINIFile ini("StdConfig\\engine.ini");
    EXPECT_EQ(ini.GetValue("Core", "MathServer"), "tGenericMathServer");
    EXPECT_EQ(ini.GetValue("Core", "Engine"), "tWinGameEngine");
    EXPECT_EQ(ini.GetValue("Core", "Console"), "tEngineConsole");
    EXPECT_EQ(ini.GetValue("core", "MathServer"), "");
    EXPECT_EQ(ini.GetValue("Core", "mathserver"), "");
    EXPECT_EQ(ini.GetValue("Renderer", "Options"), "a=b; c");
    EXPECT_EQ(ini.GetValue("Renderer", "Engine"), "tOverwritten");
    EXPECT_EQ(ini.GetValue("Empty", "Anything"), "");
    EXPECT_EQ(ini.GetValue("Nope", "Engine"), "");
}

TEST_F(INITest, SaveWritesSectionsInOrderWithNewOnesLast) {
    WriteINI(StartupINI);
    {
        tZINIFile ini("StdConfig\\engine.ini");
        ini.SetValue("Engine", "RunsCount", "3");
        ini.SetValue("Core", "Engine", "tOther");
        ini.SetValue("Core", "Resources", "tZResourcesManager");
        ini.SaveINI();
    }
    EXPECT_EQ(Saved(),
              "; Halvardine 3D Engine configuration file\r\n"
              "; Written by the engine at shutdown; comments are not kept\r\n"
              "\r\n[Core]\r\nMathServer=tGenericMathServer\r\nEngine=tOther\r\nConsole=tEngineConsole\r\n"
              "Resources=tZResourcesManager\r\n"
              "\r\n[Renderer]\r\nOptions=a=b; c\r\nEngine=tOverwritten\r\n"
              "\r\n[Engine]\r\nRunsCount=3\r\n");
    EXPECT_FALSE(std::filesystem::exists(Work.Path() / "Data/StdConfig/engine.ini.tmp"));

    tZINIFile again("StdConfig\\engine.ini");  // what was written reads back the same
    EXPECT_EQ(again.GetValue("Engine", "RunsCount"), "3");
    EXPECT_EQ(again.GetValue("Renderer", "Options"), "a=b; c");
}

// The data directory's folders may be spelled in any case on the disk; the
// save goes into the folder that is there.
TEST_F(INITest, SaveFindsItsDirectoryWhateverItsCaseOnDisk) {
    Work.WriteFile("Data/stdconfig/engine.ini", "[Engine]\r\nRunsCount=1\r\n");
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    {
        tZINIFile ini("StdConfig\\engine.ini");
        ini.SetValue("Engine", "RunsCount", "2");
        ini.SaveINI();
    }
    EXPECT_NE(ReadWholeFile(Work.Path() / "Data/stdconfig/engine.ini").find("RunsCount=2"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Work.Path() / "Data/StdConfig"));
}

// A damaged line is skipped with its line number; the rest of the file
// loads, and saving writes all of it back.
TEST_F(INITest, MalformedLinesAreSkippedWithTheirLineNumber) {
    WriteINI("Key=Value\n; comment\n\n[Core]\nJustAWord\nEngine=tWinGameEngine\n = value\n[Bindings]\nVK_J\nVK_K=Echo k\n");
    tZINIFile Ini("StdConfig\\engine.ini");
    EXPECT_EQ(Ini.SkippedLines, (std::vector<ShortString>{"Key is outside section in line 1", "Invalid key name in line 5",
                                                          "Invalid key name in line 7", "Invalid key name in line 9"}));
    EXPECT_EQ(Ini.GetValue("Core", "Engine"), "tWinGameEngine");
    EXPECT_EQ(Ini.GetValue("Bindings", "VK_K"), "Echo k");
    Ini.SaveINI();
    const std::string Saved = this->Saved();
    EXPECT_NE(Saved.find("[Core]\r\nEngine=tWinGameEngine\r\n\r\n[Bindings]\r\nVK_K=Echo k\r\n"), std::string::npos) << Saved;
}

TEST_F(INIDeathTest, AFailedSaveLeavesTheOriginalWhole) {
    WriteINI(StartupINI);
    // The temporary file cannot be created: a directory stands in its place.
    std::filesystem::create_directory(Work.Path() / "Data/StdConfig/engine.ini.tmp");
    EXPECT_EXIT(
        {
            tZINIFile ini("StdConfig\\engine.ini");
            ini.SetValue("Engine", "RunsCount", "4");
            ini.SaveINI();
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(Saved(), StartupINI);
}
