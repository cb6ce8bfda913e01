#include "logtestenv.h"

#include <algorithm>
#include <cmath>

namespace {

// Busy for at least the given number of time-stamp ticks.
void Spin(int64_t ticks) {
    const int64_t end = GetTSC() + ticks;
    while (GetTSC() < end) {
    }
}

const tProfileRecord* FindRecord(std::string_view name) {
    for (const tProfileRecord& r : ProfileRecords())
        if (r.ProcName == name) return &r;
    return nullptr;
}

// About a millisecond on any machine this runs on.
constexpr int64_t Millisecond = 3'000'000;

}  // namespace

class ProfilerTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProfiler(); }
    void TearDown() override { ResetProfiler(); }
};

TEST_F(ProfilerTest, SectionIsChargedItsSpanMinusOnlyTheLastChildsSpan) {
    const int64_t before = GetTSC();
    PushProfileSection("Parent", "Parent()");
    PushProfileSection("First", "First()");
    Spin(5 * Millisecond);
    PopProfileSection();
    PushProfileSection("Second", "Second()");
    Spin(15 * Millisecond);
    PopProfileSection();
    PopProfileSection();
    const int64_t after = GetTSC();

    const tProfileRecord *parent = FindRecord("PARENT"), *first = FindRecord("FIRST"), *second = FindRecord("SECOND");
    ASSERT_TRUE(parent && first && second);
    EXPECT_GE(first->TotalTime, 5 * Millisecond);
    EXPECT_GE(second->TotalTime, 15 * Millisecond);
    // The first child's time stays in the parent, the second child's does not:
    // the parent's charge plus the second child's span fit in what the test saw.
    EXPECT_GE(parent->TotalTime, first->TotalTime);
    EXPECT_LE(parent->TotalTime + second->TotalTime, after - before);
    EXPECT_EQ(parent->Calls, 1);
}

TEST_F(ProfilerTest, SectionNamesAreUpperCasedAndMerged) {
    PushProfileSection("MainLoop", "MainLoop()");
    PushProfileSection("tEngine.Tick", "tEngine.Tick(0.010)");
    PushProfileSection("mainloop", "mainloop()");  // recursion counts under the same name
    PopProfileSection();
    PopProfileSection();
    PopProfileSection();
    ASSERT_EQ(ProfileRecords().size(), 2u);
    const tProfileRecord* main = FindRecord("MAINLOOP");
    ASSERT_TRUE(main);
    EXPECT_EQ(main->Calls, 2);
    EXPECT_EQ(main->MinimalNesting, 1);
    EXPECT_EQ(main->MaximalNesting, 3);
    EXPECT_TRUE(FindRecord("TENGINE.TICK"));
}

TEST_F(ProfilerTest, PopWithAnEmptyStackOnlyWarns) {
    ::testing::internal::CaptureStdout();
    PopProfileSection();
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "StackDepth=0\n");
    EXPECT_TRUE(ProfileRecords().empty());
}

TEST_F(ProfilerTest, TableHoldsAThousandNames) {
    for (int i = 0; i < MaxProfileRecords + 5; ++i) {
        const ShortString name = "S" + Int2Str(i);
        PushProfileSection(name, name + "()");
        PopProfileSection();
    }
    EXPECT_EQ(ProfileRecords().size(), static_cast<std::size_t>(MaxProfileRecords));
    PushProfileSection("S0", "S0()");
    PopProfileSection();
    EXPECT_EQ(FindRecord("S0")->Calls, 2);
    EXPECT_FALSE(FindRecord("S1000"));
}

TEST_F(ProfilerTest, DumpWritesTheReportSortedByTime) {
    for (int i = 0; i < 3; ++i) {
        PushProfileSection("Often", "Often()");
        Spin(Millisecond / 4);
        PopProfileSection();
    }
    PushProfileSection("Seldom", "Seldom()");
    Spin(Millisecond);
    PopProfileSection();
    PushProfileSection("Rare", "Rare()");
    PopProfileSection();

    std::vector<tProfileRecord> records(ProfileRecords().begin(), ProfileRecords().end());
    std::stable_sort(records.begin(), records.end(),
                     [](const tProfileRecord& a, const tProfileRecord& b) { return a.TotalTime > b.TotalTime; });
    int64_t total = 0;
    for (const tProfileRecord& r : records) total += r.TotalTime;

    TempWorkDir work;
    const double cyclesPerSecond = 1e6;
    DumpProfileInfo(cyclesPerSecond, "Linux 6.1.0");

    std::string expected =
        "Halvardine 3D Engine built-in profiler log\n"
        "Written by the Halvardine engine team\n"
        "Version: 0.4.58.9996\n"
        "Compiled on: 2006/05/08 14:00:44\n"
        "Running on: Linux 6.1.0\n"
        "\n"
        "ProcName                           Calls     TotalTime, s   Time/Call, s   Percentage     MinNest   MaxNest   \n"
        "\n";
    char row[512];
    for (const tProfileRecord& r : records) {
        const double seconds = r.TotalTime / cyclesPerSecond;
        char share[32];
        std::snprintf(share, sizeof share, "%.3f%%", 100.0 * r.TotalTime / total);
        std::snprintf(row, sizeof row, "%-35s%-10d%-15.3f%-15.5f%-15s%-10d%-10d\n", r.ProcName.c_str(), r.Calls,
                      seconds, seconds / r.Calls, share, r.MinimalNesting, r.MaximalNesting);
        expected += row;
    }
    std::snprintf(row, sizeof row, "\nProcsUsed  =3\nOverallTime=%.3f\n", total / cyclesPerSecond);
    expected += row;
    EXPECT_EQ(ReadWholeFile("profiler.log"), expected);
    EXPECT_EQ(records.back().ProcName, "RARE");
}
