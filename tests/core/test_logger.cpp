#include "logtestenv.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
ShortString NumberedProc(int i) { return "P" + Int2Str(i) + "()"; }
}  // namespace

TEST_F(LoggerTest, LineShapesFromStartToShutdown) {
    Logger->Log("top level");
    Logger->PushProc("MainLoop()");
    Logger->PushProc("tEngine.SetWorld(tLevel)");
    Logger->Log("inside");
    Logger->PopProc();
    Logger->PopProc();
    Warning->Log("not in the log");
    delete Logger;
    Logger = nullptr;
    EXPECT_THAT(LogBodies(), ElementsAre("\"Logger: Initializing...\"", "\"top level\"",
                                         "MainLoop()->tEngine.SetWorld(tLevel)->\"inside\"",
                                         "MainLoop()->tEngine.SetWorld(tLevel)-><-",
                                         "\"Logger: Shuting down...\""));
}

TEST_F(LoggerTest, ClosingLineOnlyWhenSomethingWasLoggedOnThatLevel) {
    {
        ProcTrace outer("Outer()");
        {
            ProcTrace quiet("Quiet()");  // logs nothing: no closing line
        }
        {
            ProcTrace inner("Inner()");
            Logger->Log("from inner");  // marks Inner only, not Outer
        }
        ProcTrace empty("Empty()");
        Logger->Log("");  // an empty message is written but marks nothing
    }
    EXPECT_THAT(LogBodies(), ElementsAre("\"Logger: Initializing...\"", "Outer()->Inner()->\"from inner\"",
                                         "Outer()->Inner()-><-", "Outer()->Empty()->\"\""));
    EXPECT_EQ(Logger->GetNestLevel(), 0);
}

TEST_F(LoggerTest, TraceGuardPopsWhenAnExceptionLeaves) {
    try {
        ProcTrace outer("Outer()");
        ProcTrace inner("Inner()");
        Logger->Log("about to throw");
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Logger->GetNestLevel(), 0);
    EXPECT_EQ(Logger->GetCurrentProcNesting(), "");
    EXPECT_EQ(LogBodies().back(), "Outer()->Inner()-><-");
}

TEST_F(LoggerTest, LongLinesAreCutAt4095Characters) {
    const ShortString longName = ShortString(std::string(250, 'n')) + "()";
    for (int i = 0; i < 31; ++i) Logger->PushProc(longName);
    Logger->Log(std::string(255, 'm'));
    const std::string text = ReadWholeFile("engine.log");
    const std::size_t lastLine = text.rfind('\n', text.size() - 2) + 1;
    EXPECT_EQ(text.size() - 1 - lastLine, 4095u);
    for (int i = 0; i < 31; ++i) Logger->PopProc();
    EXPECT_EQ(Logger->GetNestLevel(), 0);
}

TEST_F(LoggerTest, ThirtyOneProceduresNestAndTheThirtySecondIsFatal) {
    for (int i = 1; i <= 31; ++i) Logger->PushProc(NumberedProc(i));
    EXPECT_EQ(Logger->GetNestLevel(), 31);

    std::string box = "Fatal error:\nNestLevel>=MaxNestLevel in PushProc(P32())\n\nHistory: \n\n";
    for (int i = 1; i <= 31; ++i) box += "-> " + NumberedProc(i).str() + "\n";
    EXPECT_EXIT(Logger->PushProc(NumberedProc(32)), ::testing::ExitedWithCode(255), HasSubstr(box));

    // Observed in-process the failed push changes nothing.
    EXPECT_EQ(FatalMessageOf([] { Logger->PushProc("P32()"); }), "NestLevel>=MaxNestLevel in PushProc(P32())");
    EXPECT_EQ(Logger->GetNestLevel(), 31);
    std::string nesting;
    for (int i = 1; i <= 31; ++i) nesting += NumberedProc(i).str() + "->";
    EXPECT_EQ(LogBodies().back(), nesting + "\"Fatal error: NestLevel>=MaxNestLevel in PushProc(P32())\"");
    for (int i = 1; i <= 31; ++i) Logger->PopProc();
}

TEST_F(LoggerTest, FatalLogsClosesTheLogShowsTheHistoryAndExits255) {
    Logger->PushProc("tEngine.Init()");
    Logger->PushProc("tLoader.Load(a.ase)");
    EXPECT_EXIT(Logger->Fatal("Mesh is broken"), ::testing::ExitedWithCode(255),
                HasSubstr("Fatal error:\nMesh is broken\n\nHistory: \n\n-> tEngine.Init()\n-> tLoader.Load(a.ase)\n"));
    EXPECT_EQ(LogBodies().back(), "tEngine.Init()->tLoader.Load(a.ase)->\"Fatal error: Mesh is broken\"");

    EXPECT_EQ(FatalMessageOf([] { Logger->Fatal("Mesh is broken"); }), "Mesh is broken");
    EXPECT_EQ(Logger->GetLogType(), LOG_DISABLED);
    Logger->Log("after the end");
    Logger->PopProc();
    Logger->PopProc();
    EXPECT_EQ(LogBodies().back(), "tEngine.Init()->tLoader.Load(a.ase)->\"Fatal error: Mesh is broken\"");

    // Switching the log back on starts a fresh file.
    Logger->ChangeLogType(LOG_FILE);
    Logger->Log("again");
    EXPECT_THAT(LogBodies(), ElementsAre("\"Logger: Initializing...\"", "\"again\""));
}

TEST_F(LoggerTest, PopWithNothingOpenIsFatal) {
    EXPECT_EXIT(Logger->PopProc(), ::testing::ExitedWithCode(255), HasSubstr("Fatal error:\nNestLevel=0\n"));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(FatalMessageOf([] { Logger->PopProc(); }), "NestLevel=0");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "StackDepth=0\n");
}

TEST_F(LoggerTest, Guards) {
    int object = 0;
    const int* none = nullptr;
    Logger->Guard(true);
    Logger->Guard(true, "unused");
    Logger->Guard(&object);
    Logger->Guard(&object, "unused");

    EXPECT_EQ(FatalMessageOf([] { Logger->Guard(false); }), "Guard failed");
    Logger->ChangeLogType(LOG_FILE);
    EXPECT_EQ(FatalMessageOf([&] { Logger->Guard(none); }), "Guard failed");
    Logger->ChangeLogType(LOG_FILE);
    EXPECT_EQ(FatalMessageOf([] { Logger->Guard(false, "Unable to spawn"); }), "Unable to spawn");
    Logger->ChangeLogType(LOG_FILE);
    EXPECT_EQ(FatalMessageOf([&] { Logger->Guard(none, "No world"); }), "No world");
    EXPECT_EQ(LogBodies().back(), "\"Fatal error: No world\"");

    SetHaltHook(nullptr);
    EXPECT_EXIT(Logger->Guard(false), ::testing::ExitedWithCode(255), HasSubstr("Fatal error:\nGuard failed\n"));
}

namespace {
void ReportingHook(const ShortString& Text) { std::fprintf(stderr, "hook saw <%s>\n", Text.c_str()); }
}  // namespace

TEST_F(LoggerTest, HaltHookThatReturnsIsFollowedByTheExit) {
    SetHaltHook(ReportingHook);
    EXPECT_EXIT(Logger->Fatal("Out of luck"), ::testing::ExitedWithCode(255), HasSubstr("hook saw <Out of luck>"));
    EXPECT_EXIT(InstantHalt("Direct"), ::testing::ExitedWithCode(255), HasSubstr("Fatal error:\nDirect\nhook saw <Direct>"));
}

TEST_F(LoggerTest, IllegalProcedureNames) {
    const char* warning =
        "WARNING: your code contains illegal proc name for \"%s\"\n"
        "         Should be at least: \"%s()\"\n"
        "HINT: check PushProc() usage in your code\n";
    for (const char* name : {"NoParentheses", "(args)", ""}) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(FatalMessageOf([&] { Logger->PushProc(name); }),
                  std::string("illegal proc name for \"") + name + "\"");
        char expected[512];
        std::snprintf(expected, sizeof expected, warning, name, name);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);
        EXPECT_EQ(Logger->GetNestLevel(), 0);
    }
    // The logger is untouched: a legal name still works and the profiler is balanced.
    Logger->PushProc("A(");
    Logger->PopProc();
    ASSERT_EQ(ProfileRecords().size(), 1u);
    EXPECT_EQ(ProfileRecords()[0].ProcName, "A");

    SetHaltHook(nullptr);
    EXPECT_EXIT(Logger->PushProc("Broken"), ::testing::ExitedWithCode(255), ::testing::_);
}

TEST(LoggerCreation, UnwritableLogFileIsFatal) {
    TempWorkDir work;
    ResetProfiler();
    EXPECT_EXIT(tCoreLogger("missing/engine.log", LOG_FILE), ::testing::ExitedWithCode(255),
                HasSubstr("Fatal error:\nUnable to create log file: No such file or directory\n\nHistory: \n\n"
                          "-> tCoreLogger.Init(missing/engine.log)\n"));
    // A disabled logger writes nothing at all.
    {
        tCoreLogger quiet("quiet.log", LOG_DISABLED);
        quiet.Log("nothing");
    }
    EXPECT_FALSE(std::filesystem::exists("quiet.log"));
}
