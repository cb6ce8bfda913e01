// The program's command line: options, "+" groups turned into console lines,
// and what is refused before anything opens.

#include <gtest/gtest.h>

#include "kernel/core/commandline.h"

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

namespace {

using Words = std::vector<std::string>;

}  // namespace

TEST(CommandLine, PlusGroupsBecomeConsoleLinesAsTyped) {
    tCommandLineResult R = ParseCommandLine({"+Set", "PlaneChassis", "tPursuitPlane", "+Exec", "my.cfg"});
    EXPECT_EQ(R.Action, tCommandLineAction::Run);
    EXPECT_FALSE(R.Options.SkipMenu);
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Set PlaneChassis tPursuitPlane", "Exec my.cfg"}));

    // A word the shell kept whole stays one token; "-5" is an argument.
    R = ParseCommandLine({"--no-menu", "+Bind", "VK_F1", "Echo a; Echo b", "+Add", "Speed", "-5", "+Exec", "my file.cfg"});
    EXPECT_TRUE(R.Options.SkipMenu);
    EXPECT_EQ(R.Options.ConsoleLines,
              (Words{"Bind VK_F1 \"Echo a; Echo b\"", "Add Speed -5", "Exec \"my file.cfg\""}));
    // A "+" word the shell kept whole is a whole line.
    R = ParseCommandLine({"+Set TimeDemoQuit True", "+TimeDemo island"});
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Set TimeDemoQuit True", "TimeDemo island"}));
    // "+" alone opens a group of the words after it; an empty one asks nothing.
    R = ParseCommandLine({"+", "Echo", "hi", "+", "--no-menu"});
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Echo hi"}));
    EXPECT_TRUE(R.Options.SkipMenu);
    EXPECT_TRUE(ParseCommandLine({}).Options.ConsoleLines.empty());
    // The dedicated server and its port, wherever they stand.
    R = ParseCommandLine({"+Set", "BotCount", "5", "--port", "27961", "--dedicated"});
    EXPECT_TRUE(R.Options.Dedicated);
    EXPECT_EQ(R.Options.Port, 27961);
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Set BotCount 5"}));
    EXPECT_EQ(ParseCommandLine({"--dedicated"}).Options.Port, 0);
    // A headless client flown by the autopilot.
    R = ParseCommandLine({"--headless", "--autopilot", "+Connect", "127.0.0.1:27961"});
    EXPECT_TRUE(R.Options.Headless && R.Options.Autopilot && !R.Options.Dedicated);
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Connect 127.0.0.1:27961"}));
    // The data and the home folders, a path with blanks kept whole.
    R = ParseCommandLine({"--home", "/tmp/my home", "+Echo", "x", "--data", "../Data"});
    EXPECT_EQ(R.Options.HomeDir, "/tmp/my home");
    EXPECT_EQ(R.Options.DataDir, "../Data");
    EXPECT_EQ(R.Options.ConsoleLines, (Words{"Echo x"}));
}

TEST(CommandLine, HelpVersionAndRefusals) {
    EXPECT_EQ(ParseCommandLine({"--version"}).Action, tCommandLineAction::ShowVersion);
    EXPECT_EQ(ParseCommandLine({"--version", "-h"}).Action, tCommandLineAction::ShowHelp);
    EXPECT_EQ(ParseCommandLine({"--help", "--version"}).Action, tCommandLineAction::ShowHelp);
    for (const Words& Refused : {Words{"--bogus"}, Words{"stray"}, Words{"+Echo", "a", "--no-menu", "b"},
                                 Words{"-x"}, Words{"+Echo", std::string(300, 'x')}, Words{"+Echo", "a\nQuit"},
                                 Words{"--no-menu=1"}, Words{"--dedicated", "--port"},
                                 Words{"--dedicated", "--port", "0"}, Words{"--dedicated", "--port", "65536"},
                                 Words{"--dedicated", "--port", "27x"}, Words{"--port", "27960"},
                                 Words{"--headless", "--dedicated"},
                                 Words{"--data"}, Words{"--home", "--no-menu"}, Words{"--data", ""}}) {
        tCommandLineResult R = ParseCommandLine(Refused);
        EXPECT_EQ(R.Action, tCommandLineAction::Refuse) << Refused.back();
        EXPECT_FALSE(R.Error.empty());
    }

    const char* Help[] = {"/usr/games/halvardine", "--help"};
    CaptureStdout();
    EXPECT_EQ(ReadCommandLine(2, Help), 0);
    const std::string Usage = GetCapturedStdout();
    EXPECT_NE(Usage.find("Usage: halvardine"), std::string::npos) << Usage;
    EXPECT_NE(Usage.find("--no-menu"), std::string::npos);

    const char* Version[] = {"halvardine", "--version"};
    CaptureStdout();
    EXPECT_EQ(ReadCommandLine(2, Version), 0);
    EXPECT_EQ(GetCapturedStdout().rfind("Halvardine 3D Engine 0.4.58.9996", 0), 0u);

    const char* Bogus[] = {"halvardine", "--bogus"};
    CaptureStderr();
    EXPECT_EQ(ReadCommandLine(2, Bogus), 2);
    const std::string Error = GetCapturedStderr();
    EXPECT_NE(Error.find("unknown option --bogus"), std::string::npos) << Error;
    EXPECT_NE(Error.find("Usage:"), std::string::npos);

    const char* Run[] = {"halvardine", "--no-menu", "+Quit"};
    EXPECT_EQ(ReadCommandLine(3, Run), -1);
    EXPECT_TRUE(CommandLine.SkipMenu);
    EXPECT_EQ(CommandLine.ConsoleLines, (Words{"Quit"}));
    CommandLine = {};
}
