// Tab completion from the console's names and the file tree, and the typed
// lines kept between runs in the history file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/scriptenv.h"
#include "kernel/console/histories.h"
#include "kernel/console/historyfile.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

using Names = std::vector<std::string>;

struct tShotCommand {
    void ShotC(const ShortString&) {}
};

Names Spelled(const tCompletion& C) {
    Names Out;
    for (const ShortString& Name : C.Matches) Out.push_back(Name.str());
    return Out;
}

// Completes with the cursor at the line's end, or before the "|" in Line.
tCompletion Tab(const std::string& Line) {
    std::string Text = Line;
    std::size_t Cursor = Text.find('|');
    if (Cursor == std::string::npos) Cursor = Text.size();
    else Text.erase(Cursor, 1);
    return Console->CompleteLine(ShortString(Text), static_cast<int32_t>(Cursor));
}

class CompletionTest : public ScriptTest {
protected:
    void SetUp() override {
        ScriptTest::SetUp();
        Console->RegisterCommand("ScreenShot", ConsoleProc<&tShotCommand::ShotC>(&Shot));
        ShortString Dir = "ScreenShots\\";
        EngineVars->RegisterVar("ScreenShotDir", Dir);
        EngineVars->ReleaseFields(&Dir, sizeof Dir);
    }
    void DisposeServices() override {
        Console->UnRegisterCommand("ScreenShot", ConsoleProc<&tShotCommand::ShotC>(&Shot));
        ScriptTest::DisposeServices();
    }
    tShotCommand Shot;
};

}  // namespace

TEST_F(CompletionTest, NamesCompleteUniquelyToTheirAgreementOrNotAtAll) {
    MapData();
    Type("Alias GoHome \"Echo home\"");

    // Several names: as far as they agree, spelled as registered.
    tCompletion C = Tab("ScreenS");
    EXPECT_EQ(C.Line, "ScreenShot");
    EXPECT_EQ(C.Cursor, 10);
    EXPECT_EQ(Spelled(C), (Names{"ScreenShot", "ScreenShotDir"}));
    // One name, in any letter case: taken whole, with a blank to go on typing.
    C = Tab("set screenshotd");
    EXPECT_EQ(C.Line, "set ScreenShotDir ");
    EXPECT_EQ(C.Cursor, 18);
    EXPECT_EQ(Tab("goh").Line, "GoHome ");
    // Within a later piece of the line, and before text that stays.
    EXPECT_EQ(Tab("Echo a; ech").Line, "Echo a; Echo ");
    C = Tab("screensh| x");
    EXPECT_EQ(C.Line, "ScreenShot x");
    EXPECT_EQ(C.Cursor, 10);
    // Nothing matches: the line stays, no names.
    C = Tab("Frobn");
    EXPECT_EQ(C.Line, "Frobn");
    EXPECT_EQ(C.Cursor, 5);
    EXPECT_TRUE(C.Matches.empty());
    // A completion that would not fit a console line leaves it as it was.
    const std::string Long(250, 'x');
    EXPECT_EQ(Tab(Long + " ScreenShotD").Line, ShortString(Long + " ScreenShotD"));
    // Cursors outside the line are taken at its ends.
    EXPECT_EQ(Console->CompleteLine("goh", 99).Line, "GoHome ");
    EXPECT_EQ(Console->CompleteLine("goh", -3).Line, "goh");
}

TEST_F(CompletionTest, FileArgumentsCompleteFromTheFileTree) {
    WriteData("Demos\\flight.dem", "Echo f\n");
    WriteData("Demos\\fleet.dem", "Echo f\n");
    WriteData("UI\\Console.gui", "");
    MapData();

    EXPECT_EQ(Tab("Exec dem").Line, "Exec Demos\\");
    tCompletion C = Tab("PlayDemo demos\\fl");
    EXPECT_EQ(C.Line, "PlayDemo demos\\fl");
    EXPECT_EQ(Spelled(C), (Names{"demos\\fleet.dem", "demos\\flight.dem"}));
    EXPECT_EQ(Tab("playdemo demos\\fli").Line, "playdemo demos\\flight.dem ");
    EXPECT_EQ(Tab("Echo x; AddGUI ui/c").Line, "Echo x; AddGUI ui/Console.gui ");
    // Inside double quotes the quote is not part of the name.
    EXPECT_EQ(Tab("Exec \"Demos\\fli").Line, "Exec \"Demos\\flight.dem ");
    // Only the file argument takes file names; other words take console names.
    EXPECT_TRUE(Tab("Echo Dem").Matches.empty());
    EXPECT_TRUE(Tab("Exec x Dem").Matches.empty());
    EXPECT_TRUE(Tab("Exec nosuchdir\\").Matches.empty());
}

TEST_F(CompletionTest, HistoryFileKeepsTheNewestLinesAndRefusesDamage) {
    MapData();
    auto* Kept = NewObject<tCommandsHistory>();
    for (int I = 1; I <= tCommandsHistory::Capacity + 6; ++I) Kept->PutCommand("Echo line " + Int2Str(I));
    SaveCommandsHistory(*Kept);
    tZObject::DisposeObject(Kept);

    auto* Read = NewObject<tCommandsHistory>();
    CaptureStdout();
    LoadCommandsHistory(*Read);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(Read->GetTotalCommands(), tCommandsHistory::Capacity);
    EXPECT_EQ(Read->MoveBack(), "Echo line " + Int2Str(tCommandsHistory::Capacity + 6));
    EXPECT_EQ(Read->GetCommand(tCommandsHistory::Capacity), "Echo line 7");
    tZObject::DisposeObject(Read);

    const std::filesystem::path File = Work.Path() / "Data" / "StdConfig" / "history.txt";
    const std::string Header = "HalvardineHistory 1\n";
    std::string TooMany = Header;
    for (int I = 0; I <= tCommandsHistory::Capacity; ++I) TooMany += "Echo x\n";
    const std::vector<std::string> Damaged = {
        "Echo no header\n", "", std::string("\x89PNG\r\n\x1a\n\0\0", 10), Header + std::string(256, 'x') + "\n",
        Header + "Echo a\x01z\n", TooMany, Header + std::string(200000, 'y'),
    };
    for (const std::string& Text : Damaged) {
        std::ofstream(File, std::ios::binary | std::ios::trunc) << Text;
        auto* History = NewObject<tCommandsHistory>();
        CaptureStdout();
        LoadCommandsHistory(*History);
        const std::string Out = GetCapturedStdout();
        EXPECT_EQ(History->GetTotalCommands(), 0) << Text.substr(0, 40);
        EXPECT_TRUE(Out.find("damaged") != std::string::npos) << Out;
        EXPECT_EQ(std::count(Out.begin(), Out.end(), '\n'), 1) << Out;
        tZObject::DisposeObject(History);
    }
    // A file that cannot be read at all, and no file: the first run.
    std::filesystem::remove(File);
    std::filesystem::create_directory(File);
    auto* History = NewObject<tCommandsHistory>();
    CaptureStdout();
    LoadCommandsHistory(*History);
    std::string Out = GetCapturedStdout();
    EXPECT_TRUE(Out.find("Unable to read") != std::string::npos) << Out;
    std::filesystem::remove(File);
    CaptureStdout();
    LoadCommandsHistory(*History);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(History->GetTotalCommands(), 0);
    // CR LF line ends and blank lines are read as they were meant.
    std::ofstream(File, std::ios::binary) << "HalvardineHistory 1\r\nEcho one\r\n\r\nEcho two\r\n";
    LoadCommandsHistory(*History);
    EXPECT_EQ(History->MoveBack(), "Echo two");
    EXPECT_EQ(History->MoveBack(), "Echo one");
    tZObject::DisposeObject(History);
}
