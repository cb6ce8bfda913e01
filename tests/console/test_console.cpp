// The console's interpreter as players, scripts and key bindings drive it:
// semicolons and quotes, "+" variables, "Wait" chains over ticks, aliases,
// bindings, the built-in commands' texts and the command table's rules.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "common/consoleenv.h"
#include "kernel/console/console.h"
#include "kernel/console/keynames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

using ConsoleDeathTest = ConsoleTest;

namespace {

using Lines = std::vector<std::string>;

// Records the argument texts a registered command receives.
struct tRecorder {
    void RecordC(const ShortString& Args) { Calls.push_back(Args.str()); }
    void OtherC(const ShortString&) {}
    Lines Calls;
};

bool BoolVar(const char* Name) {
    bool v = false;
    EngineVars->GetVar(Name, v);
    return v;
}

}  // namespace

TEST_F(ConsoleTest, LinesSplitAtSemicolonsOutsideQuotes) {
    Type("Echo a; Echo b;echo c");
    Type("Echo \"x; y\"; ECHO z");
    Type("eChO   two  blanks ");
    EXPECT_EQ(TakeMessages(), (Lines{"a", "b", "c", "\"x; y\"", "z", "  two  blanks "}));
    EXPECT_EQ(tEngineConsole::FindCommandSeparator("Echo \"a;b\";c"), 11);
    EXPECT_EQ(tEngineConsole::FindCommandSeparator("Echo \"a;b"), 0);

    tRecorder rec;
    Console->RegisterCommand("Record", ConsoleProc<&tRecorder::RecordC>(&rec));
    Type("record;Record;Record x \"y z\";; ;Record\tq");
    EXPECT_EQ(rec.Calls, (Lines{"", "", "x \"y z\"", "q"}));
}

TEST_F(ConsoleTest, UnknownNamesAreErrorsAndTheLineGoesOn) {
    Type("Set ShowFPS true");
    Type("Frobnicate 1; ShowFPS; Echo done");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (Lines{"Unknown command FROBNICATE", "Unknown command SHOWFPS"}));
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (Lines{"done"}));
}

TEST_F(ConsoleTest, WaitDefersTheRestByOneTickEach) {
    Type("Echo a; Wait; Echo b; WAIT; Echo c");
    EXPECT_EQ(TakeMessages(), (Lines{"a"}));
    Console->Tick(0.01f);
    EXPECT_EQ(TakeMessages(), (Lines{"b"}));
    Console->Tick(0.01f);
    EXPECT_EQ(TakeMessages(), (Lines{"c"}));
    Console->Tick(0.01f);
    Type("Wait");
    Console->Tick(0.01f);
    EXPECT_TRUE(TakeMessages().empty());

    // Queued lines run one per tick, in order.
    Console->QueryCommand("Echo 1");
    Console->QueryCommand("Echo 2");
    Console->Tick(0.01f);
    EXPECT_EQ(TakeMessages(), (Lines{"1"}));
    Console->Tick(0.01f);
    EXPECT_EQ(TakeMessages(), (Lines{"2"}));
}

TEST_F(ConsoleTest, AFullQueueRefusesLinesWithAWarning) {
    for (int i = 1; i <= 99; ++i) Console->QueryCommand("Echo " + Int2Str(i));
    CaptureStdout();
    Console->QueryCommand("Echo 100");
    EXPECT_EQ(GetCapturedStdout(), "WARNING: command queue is full, line dropped: Echo 100\n");
    for (int i = 1; i <= 100; ++i) Console->Tick(0.01f);
    Lines shown = TakeMessages();
    ASSERT_EQ(shown.size(), 99u);
    EXPECT_EQ(shown.front(), "1");
    EXPECT_EQ(shown.back(), "99");
}

TEST_F(ConsoleTest, BindingsRunOnPressAndPlusVariablesFollowTheKey) {
    const uint8_t up = KeyCodeByName("VK_UP"), f1 = KeyCodeByName("VK_F1");
    Type("Bind VK_UP +MoveUp; bind vk_f1 \"Echo hi; Echo there\"");
    Console->SendKey(up, true);
    EXPECT_TRUE(BoolVar("MoveUp"));
    EXPECT_TRUE(Console->Keys[up]);
    Console->SendKey(up, false);
    EXPECT_FALSE(BoolVar("MOVEUP"));
    EXPECT_FALSE(Console->Keys[up]);

    Console->SendKey(f1, true);
    Console->SendKey(f1, false);
    EXPECT_EQ(TakeMessages(), (Lines{"hi", "there"}));

    // "Wait; +Foo": true one tick after the press, false at once on release.
    Type("Bind VK_SPACE \"Wait; +Fire\"");
    Console->SendKey(KeyCodeByName("VK_SPACE"), true);
    EXPECT_FALSE(EngineVars->IsVarDefined("Fire"));
    Console->Tick(0.01f);
    EXPECT_TRUE(BoolVar("Fire"));
    Console->SendKey(KeyCodeByName("VK_SPACE"), false);
    EXPECT_FALSE(BoolVar("Fire"));

    // A wheel notch is a press at once followed by a release.
    Type("Bind VK_WHEELUP \"+ZoomIn; VarList ZoomIn\"");
    Console->SendKey(KeyCodeByName("VK_WHEELUP"), true);
    EXPECT_EQ(TakeMessages(), (Lines{"ZOOMIN=True"}));
    EXPECT_FALSE(BoolVar("ZoomIn"));
}

TEST_F(ConsoleTest, BindUnbindAndBindList) {
    Type("Bind F1 x; Bind VK_F1; UnBind Nope; UnBind");
    EXPECT_EQ(AllMessages()[0].MsgType, CMSG_ERRORMESSAGE);
    EXPECT_EQ(TakeMessages(), (Lines{"Unknown key name \"F1\"", "Usage: BIND <Key Name> <Command>",
                                     "Unknown key name \"NOPE\"", "Usage: UNBIND <Key Name>"}));

    const std::string longLine(100, 'x');
    Type("Bind VK_F2 \"Echo a b\"; Bind VK_A " + longLine + "; Bind VK_LBUTTON Quit");
    EXPECT_EQ(Con().GetBinding(KeyCodeByName("VK_A")).str(), std::string(80, 'x'));
    Type("BindList");
    EXPECT_EQ(TakeMessages(),
              (Lines{"VK_LBUTTON \"Quit\"", "VK_A \"" + std::string(80, 'x') + "\"", "VK_F2 \"Echo a b\""}));

    Type("UnBind vk_a; BindList");
    EXPECT_EQ(TakeMessages(), (Lines{"VK_LBUTTON \"Quit\"", "VK_F2 \"Echo a b\""}));
    Type("UnBindAll; BindList");
    EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ConsoleTest, KeyNamesCoverTheTable) {
    int named = 0;
    for (int code = 1; code <= 255; ++code)
        if (!MapKeys(static_cast<uint8_t>(code)).empty()) ++named;
    EXPECT_EQ(named, 129);
    EXPECT_EQ(MapKeys(48), "VK_0");
    EXPECT_EQ(MapKeys(90), "VK_Z");
    EXPECT_EQ(MapKeys(105), "VK_NUMPAD9");
    EXPECT_EQ(MapKeys(135), "VK_F24");
    EXPECT_EQ(MapKeys(192), "VK_COMMA2");
    EXPECT_EQ(KeyCodeByName("VK_F12"), 123);
    EXPECT_EQ(KeyCodeByName(""), 0);
}

TEST_F(ConsoleTest, AliasesRunTheirLineAndNestFourDeep) {
    Type("Alias hello \"Echo hi; Echo you\"; hello");
    EXPECT_EQ(TakeMessages(), (Lines{"hi", "you"}));

    Type("Alias again \"Echo level; again\"");
    Type("again");
    EXPECT_EQ(TakeMessages(), (Lines{"level", "level", "level", "level", "WARNING: InsideAlias>3"}));
    // Wide rather than deep: 118 pieces four deep would be 2 x 10^8 commands;
    // the line stops at its budget, the next line runs in full.
    std::string Pieces = "q";
    for (int I = 1; I < 118; ++I) Pieces += ";q";
    Type("Alias q \"" + Pieces + "\"");
    const auto Start = std::chrono::steady_clock::now();
    Type("q; Echo not reached");
    EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(5));
    Lines Shown = TakeMessages();
    ASSERT_FALSE(Shown.empty());
    EXPECT_EQ(Shown.back(), "Line runs more than 10000 commands, the rest is not run");
    Type("Echo next line");
    EXPECT_EQ(TakeMessages(), Lines{"next line"});

    // A second alias of a name replaces the first; one named like a command
    // would never run and is refused.
    Type("Alias hello \"Echo again\"; hello");
    EXPECT_EQ(TakeMessages(), (Lines{"again"}));
    Type("Alias Echo \"Clear\"; Echo still echo");
    EXPECT_EQ(TakeMessages(), (Lines{"Alias would hide the command ECHO", "still echo"}));
    // An alias that redefines itself while it runs finishes its old line.
    Type("Alias self \"Alias self Clear; Echo old\"; self");
    EXPECT_EQ(TakeMessages(), Lines{"old"});
    Type("Echo cleared; self");
    EXPECT_EQ(TakeMessages(), Lines{});
    Type("Alias x; Alias");
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP),
              (Lines{"Usage: ALIAS <alias name> <command>", "Usage: ALIAS <alias name> <command>"}));
}

TEST_F(ConsoleDeathTest, CommandRegistrationRules) {
    tRecorder rec;
    // A player's alias gives way to a command the program registers later.
    Type("Alias Later \"Echo x\"");
    Console->RegisterCommand("later", ConsoleProc<&tRecorder::RecordC>(&rec));
    Type("Later on");
    EXPECT_EQ(rec.Calls, Lines{"on"});
    EXPECT_EQ(TakeMessages(), Lines{"Alias LATER replaced by a command of the same name"});
    EXPECT_EXIT(Console->RegisterCommand("later", ConsoleProc<&tRecorder::OtherC>(&rec)),
                ::testing::ExitedWithCode(255), "Duplicate command registration: later");
    EXPECT_EXIT(Console->RegisterCommand("ECHO", ConsoleProc<&tRecorder::RecordC>(&rec)),
                ::testing::ExitedWithCode(255), "Duplicate command registration: ECHO");

    Console->RegisterCommand("Record", ConsoleProc<&tRecorder::RecordC>(&rec));
    EXPECT_EXIT(Console->UnRegisterCommand("Nope", ConsoleProc<&tRecorder::RecordC>(&rec)),
                ::testing::ExitedWithCode(255), "Command not found: Nope");
    EXPECT_EXIT(Console->UnRegisterCommand("Record", ConsoleProc<&tRecorder::OtherC>(&rec)),
                ::testing::ExitedWithCode(255), "Class cann't unregister command it didn't register");

    tRecorder another;  // the same routine on another object counts as the same handler
    Console->UnRegisterCommand("record", ConsoleProc<&tRecorder::RecordC>(&another));
    Type("Record");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (Lines{"Unknown command RECORD"}));
    Console->RegisterCommand("Record", ConsoleProc<&tRecorder::RecordC>(&rec));
}

// A command lives as long as the object that handles it: once the object
// is gone its name is unknown (the sanitizer build catches any call into
// the freed object), the name is free again, and a holder that outlives its
// console has nothing left to release.
TEST_F(ConsoleTest, CommandsGoWithTheObjectThatHoldsThem) {
    struct tPoked {
        void PokeC(const ShortString& Args) { Calls.push_back(Args.str()); }
        Lines Calls;
        tCommandBindings Commands;
    };
    auto Poked = std::make_unique<tPoked>();
    Console->RegisterCommand("Poke", ConsoleProc<&tPoked::PokeC>(Poked.get()), Poked->Commands);
    Console->RegisterCommand("Prod", ConsoleProc<&tPoked::PokeC>(Poked.get()), Poked->Commands);
    Type("Poke 1; Prod 2");
    EXPECT_EQ(Poked->Calls, (Lines{"1", "2"}));
    Poked.reset();
    Type("Poke 3; Prod 4; Echo on");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (Lines{"Unknown command POKE", "Unknown command PROD"}));
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (Lines{"on"}));

    tPoked Again;
    Console->RegisterCommand("Poke", ConsoleProc<&tPoked::PokeC>(&Again), Again.Commands);
    Type("Poke 5");
    EXPECT_EQ(Again.Calls, (Lines{"5"}));
    Again.Commands.ReleaseAll();
    EXPECT_TRUE(Again.Commands.Empty());

    // The variables manager's commands go with it too.
    Console->RegisterCommand("Poke", ConsoleProc<&tPoked::PokeC>(&Again), Again.Commands);
    tZObject::DisposeObject(EngineVars);
    Console->GetMessagesHistory()->Clear();
    Type("Set Speed 1");
    EXPECT_EQ(TakeMessages(), (Lines{"Unknown command SET"}));
    DisposeServices();
    EXPECT_TRUE(Again.Commands.Empty());
}

TEST_F(ConsoleTest, HelpListsCommandsInColumnsByFontWidth) {
    Type("Alias Fly \"Echo up\"");
    Type("Help");
    Lines narrow = TakeMessages();
    // 15 built-in commands, the 4 of the variables manager and the alias.
    ASSERT_EQ(narrow.size(), 21u);
    EXPECT_EQ(narrow[0], Fetch("EXEC", 40).str());
    EXPECT_EQ(narrow[14], Fetch("HELP", 40).str());
    EXPECT_EQ(narrow[15], Fetch("SET", 40).str());
    EXPECT_EQ(narrow[19], Fetch("FLY (alias)", 40).str());
    EXPECT_EQ(narrow[20], "   20 commands registered");

    Type("Set ConsoleFontName \"lucida console\"");
    TakeMessages();
    Type("CmdList");
    Lines wide = TakeMessages();
    ASSERT_EQ(wide.size(), 8u);
    EXPECT_EQ(wide[0], (Fetch("EXEC", 40) + Fetch("QUIT", 40) + Fetch("BIND", 40)).str());
    EXPECT_EQ(wide[6], (Fetch("TOGGLE", 40) + Fetch("FLY (alias)", 40)).str());
    EXPECT_EQ(wide[7], "   20 commands registered");
}

TEST_F(ConsoleTest, VersionCopyrightEchoAndClear) {
    Type("Version; Copyright");
    Lines shown = TakeMessages();
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0], "Halvardine 3D Engine 0.4.58.9996 [2006/05/08 14:00:44] (Public)");
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[3], "");
    Type("Echo a; Echo b; Clear; Echo c");
    EXPECT_EQ(TakeMessages(), (Lines{"c"}));
}

TEST_F(ConsoleTest, UsageTipsOfScriptCommands) {
    Type("Exec; PlayDemo; Exec \"\"");
    EXPECT_EQ(MessagesOfType(CMSG_INFOTIP),
              (Lines{"Usage: EXEC <File Name>", "Usage: PlayDemo <filename>", "Usage: EXEC <File Name>"}));
}

TEST_F(ConsoleTest, MessagesCarryTheirTypeColourAndStayVisibleTwoSeconds) {
    EXPECT_EQ(Con().GetTimeVisible(), 0.0f);
    Console->Display("plain");
    Console->DisplayError("bad");
    Console->DisplayInfoTip("tip");
    std::vector<tConsoleMessage> all = AllMessages();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].MsgColor.x, 1.0f);
    EXPECT_EQ(all[0].MsgColor.w, 0.9f);
    EXPECT_EQ(all[1].MsgType, CMSG_ERRORMESSAGE);
    EXPECT_EQ(all[1].MsgColor.y, 0.0f);
    EXPECT_EQ(all[1].MsgColor.w, 1.0f);
    EXPECT_EQ(all[2].MsgColor.x, 0.7f);
    EXPECT_EQ(all[2].MsgColor.y, 1.0f);

    EXPECT_FLOAT_EQ(Con().GetTimeVisible(), 2.0f);
    Console->Tick(1.5f);
    EXPECT_FLOAT_EQ(Con().GetTimeVisible(), 0.5f);
    Console->Display("again");
    EXPECT_FLOAT_EQ(Con().GetTimeVisible(), 2.0f);
    Console->Tick(2.5f);
    EXPECT_LE(Con().GetTimeVisible(), 0.0f);
}

TEST_F(ConsoleTest, ToggleConsoleOpensOrClosesTheWindow) {
    tRecorder add, close;
    Console->RegisterCommand("AddGUI", ConsoleProc<&tRecorder::RecordC>(&add));
    Console->RegisterCommand("CloseConsole", ConsoleProc<&tRecorder::RecordC>(&close));
    Type("ToggleConsole");
    EXPECT_EQ(add.Calls, (Lines{"UI\\Console.gui"}));
    Console->LocalHUDVisible = true;
    Type("ToggleConsole");
    EXPECT_EQ(add.Calls.size(), 1u);
    EXPECT_EQ(close.Calls, (Lines{""}));
}

// Once the game has started, a fatal error inside a line is the line's own:
// it shows as an error, the log stays open, the procedure nesting is as
// before, and the rest of the line (and of an alias inside it) still runs. Before
// that, during start-up, it ends the program.
TEST_F(ConsoleDeathTest, AFatalErrorInALineEndsOnlyTheLineOnceTheGameRuns) {
    struct tFailing {
        void FailC(const ShortString& Args) {
            ProcTrace Trace("tFailing.FailC()");
            Logger->Fatal("Broken file: " + Args);
        }
    } failing;
    Console->RegisterCommand("Fail", ConsoleProc<&tFailing::FailC>(&failing));
    EXPECT_EXIT(Type("Fail a"), ::testing::ExitedWithCode(255), "Broken file: a");

    Console->LinesRecover = true;
    const int Nesting = static_cast<tCoreLogger*>(Logger)->GetNestLevel();
    const tLogType LogType = static_cast<tCoreLogger*>(Logger)->GetLogType();
    Type("Alias Two \"Fail b; Echo after b\"");
    Type("Fail a; Echo after a; Two");
    EXPECT_EQ(MessagesOfType(CMSG_ERRORMESSAGE), (Lines{"Broken file: a", "Broken file: b"}));
    EXPECT_EQ(MessagesOfType(CMSG_ENGINEMESSAGE), (Lines{"after a", "after b"}));
    EXPECT_EQ(static_cast<tCoreLogger*>(Logger)->GetNestLevel(), Nesting);
    EXPECT_EQ(static_cast<tCoreLogger*>(Logger)->GetLogType(), LogType);
    EXPECT_FALSE(tLineRecovery::Active());
    Console->LinesRecover = false;
    Console->UnRegisterCommand("Fail", ConsoleProc<&tFailing::FailC>(&failing));
}
