// Script files through the real file system: "Exec" runs a whole file before
// it returns, "PlayDemo" paces its lines by "WAIT" on the engine's timer, and
// players stack.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include "common/scriptenv.h"
#include "kernel/console/console.h"
#include "kernel/console/demoplayers.h"
#include "kernel/core/globals.h"

namespace {

using Lines = std::vector<std::string>;

float Now() { return Engine->Timer->GetSystemTime(); }

}  // namespace

TEST_F(ScriptTest, ExecRunsTheWholeFileBeforeReturning) {
    WriteData("StdConfig\\engine.cfg",
              "// a comment\r\n"
              "; another comment\n"
              "\n"
              "   Echo one; Echo two   \n"
              "Set Width 800\n"
              "WAIT 2\n"
              "  / not run\n"
              "echo three");
    MapData();
    Type("exec StdConfig\\ENGINE.CFG; Echo after");
    EXPECT_EQ(TakeMessages(), (Lines{"one", "two", "three", "after"}));
    int32_t width = 0;
    EngineVars->GetVar("Width", width);
    EXPECT_EQ(width, 800);

    // The finished player leaves the stack on the next frame.
    EXPECT_EQ(Con().GetDemoPlayers()->GetTotalItems(), 1);
    Console->Tick(0.01f);
    EXPECT_TRUE(Con().GetDemoPlayers()->IsEmpty());
}

TEST_F(ScriptTest, ScriptsThatRunThemselvesStopWithAnError) {
    WriteData("loop.cfg", "Echo round\nExec loop.cfg\n");
    WriteData("empty.cfg", "");
    MapData();
    Type("Exec empty.cfg; Exec loop.cfg; Echo survived");
    Lines shown = TakeMessages();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(tEngineConsole::MaxScriptNesting + 2));
    EXPECT_EQ(shown[0], "round");
    EXPECT_EQ(shown[tEngineConsole::MaxScriptNesting], "Scripts nested too deep, not run: loop.cfg");
    EXPECT_EQ(shown.back(), "survived");
}

TEST_F(ScriptTest, TimedDemoWaitsOnTheEngineTimer) {
    WriteData("Demos\\flight.dem", "Echo 1\nEcho 1b\nwait 0.3\nEcho 2\nWAIT 0\nEcho 3\nScreenShot a.bmp\nEcho 4\n");
    MapData();
    Type("PlayDemo Demos\\flight.dem");
    EXPECT_TRUE(TakeMessages().empty());  // it plays over the following frames

    const float paused = Now();
    Console->Tick(0.01f);
    EXPECT_EQ(TakeMessages(), (Lines{"1", "1b"}));

    Lines shown;
    float shownAt = 0;
    while (shown.empty() && Now() - paused < 5.0f) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Console->Tick(0.01f);
        shown = TakeMessages();
        shownAt = Now();
    }
    EXPECT_EQ(shown, (Lines{"2"}));
    EXPECT_GE(shownAt - paused, 0.3f);
    EXPECT_LT(shownAt - paused, 1.0f);

    Console->Tick(0.01f);  // a pause of 0 lasts one frame
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (Lines{"3"}));
    TakeMessages();
    // A screenshot is drawn at the end of its frame: the next line waits
    // for the next frame so that it cannot change the picture.
    Console->Tick(0.01f);
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (Lines{"4"}));
    Console->Tick(0.01f);
    EXPECT_TRUE(Con().GetDemoPlayers()->IsEmpty());
}

TEST_F(ScriptTest, ADemoStartedByADemoSuspendsItUntilDone) {
    WriteData("outer.dem", "Echo outer 1\nPlayDemo inner.dem\nWAIT 0\nEcho outer 2\n");
    WriteData("inner.dem", "Echo inner 1\nWait 0\nEcho inner 2\n");
    MapData();
    Type("PlayDemo outer.dem");
    Lines shown;
    for (int frame = 0; frame < 8; ++frame) {
        Console->Tick(0.01f);
        for (const std::string& line : TakeMessages()) shown.push_back(std::to_string(frame) + ": " + line);
    }
    EXPECT_EQ(shown, (Lines{"0: outer 1", "1: inner 1", "2: inner 2", "4: outer 2"}));
    EXPECT_TRUE(Con().GetDemoPlayers()->IsEmpty());
}

TEST_F(ScriptTest, QuitAsksTheEngineToStop) {
    MapData();
    EXPECT_FALSE(Engine->RequestingExit);
    Type("Echo bye; Quit");
    EXPECT_TRUE(Engine->RequestingExit);
}

TEST_F(ScriptTest, AScriptThatCannotBeOpenedIsAConsoleErrorWithTheFileLayersText) {
    WriteData("Scripts\\ok.cfg", "Echo ran");
    MapData();
    Type("Exec missing.cfg; PlayDemo Demos\\missing.dem; Exec Scripts; Exec a::b; Exec Scripts\\ok.cfg");
    Console->Tick(0.01f);
    const Lines errors = MessagesOfType(CMSG_ERRORMESSAGE);
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].rfind("Error code: 2 <File not found> \"", 0), 0u) << errors[0];
    EXPECT_TRUE(errors[1].ends_with("Data/Demos/missing.dem\"")) << errors[1];
    EXPECT_EQ(errors[3], "This implementation doen't support virtual files");
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), Lines{"ran"});
    EXPECT_TRUE(Con().GetDemoPlayers()->IsEmpty());
}

// A script that runs itself twenty times a line would run 20^6 scripts: the
// line stops after its budget of commands, every script's file is closed
// once read, and a demo that plays itself stops at the bound of open scripts.
TEST_F(ScriptTest, ScriptsThatRunScriptsStayWithinTheirBounds) {
    std::string Bomb, DemoBomb;
    for (int I = 0; I < 20; ++I) {
        Bomb += "Exec bomb.cfg\n";
        DemoBomb += "PlayDemo demobomb.cfg\n";
    }
    WriteData("bomb.cfg", Bomb);
    WriteData("demobomb.cfg", DemoBomb);
    MapData();
    const auto OpenFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator{});
    };
    const auto FilesBefore = OpenFiles();
    const auto Start = std::chrono::steady_clock::now();
    Type("Exec bomb.cfg; Echo refused too");
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
    EXPECT_EQ(OpenFiles(), FilesBefore);
    const std::string Budget = "Line runs more than " + std::to_string(tEngineConsole::MaxCommandsPerLine) +
                               " commands, the rest is not run";
    const Lines Errors = MessagesOfType(CMSG_ERRORMESSAGE);
    EXPECT_EQ(std::count(Errors.begin(), Errors.end(), Budget), 1);
    TakeMessages();
    Console->Tick(0.01f);
    EXPECT_TRUE(Con().GetDemoPlayers()->IsEmpty());
    Type("Echo the next line has its own budget");
    EXPECT_EQ(TakeMessages(), Lines{"the next line has its own budget"});

    Type("PlayDemo demobomb.cfg");
    for (int Frame = 0; Frame < 40; ++Frame) {
        Console->Tick(0.01f);
        int32_t Open = 0;
        for (int32_t I = 1; I <= Con().GetDemoPlayers()->GetTotalItems(); ++I)
            Open += Con().GetDemoPlayers()->GetDemoPlayer(I)->IsPlaying();
        ASSERT_LE(Open, tEngineConsole::MaxOpenScripts);
    }
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE).back(), "Too many scripts open, not run: demobomb.cfg");
}
