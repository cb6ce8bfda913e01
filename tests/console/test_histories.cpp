// The console's rings: the message history, the typed-line history and their
// limits.

#include <gtest/gtest.h>

#include "common/testenv.h"
#include "kernel/console/histories.h"
#include "kernel/core/strutils.h"

using HistoriesTest = EngineTest;
using HistoriesDeathTest = EngineTest;

TEST_F(HistoriesTest, MessageHistoryKeepsTheNewestHundred) {
    auto* history = NewObject<tMessagesHistory>();
    for (int i = 1; i <= 150; ++i) history->AddMessage({Int2Str(i), CMSG_ENGINEMESSAGE, {}});
    EXPECT_EQ(history->GetTotalMessages(), 100);
    tConsoleMessage m;
    history->GetMessage(1, m);
    EXPECT_EQ(m.Msg, "150");
    history->GetMessage(100, m);
    EXPECT_EQ(m.Msg, "51");
    history->Clear();
    EXPECT_EQ(history->GetTotalMessages(), 0);
    history->AddMessage({"after", CMSG_INFOTIP, {}});
    history->GetMessage(1, m);
    EXPECT_EQ(m.Msg, "after");
    tZObject::DisposeObject(history);
}

TEST_F(HistoriesDeathTest, ReadingPastTheHistoryIsFatal) {
    auto* history = NewObject<tMessagesHistory>();
    history->AddMessage({"one", CMSG_ENGINEMESSAGE, {}});
    tConsoleMessage m;
    EXPECT_EXIT(history->GetMessage(2, m), ::testing::ExitedWithCode(255),
                "Illegal message number: 2 \\(TotalMessages=1\\)");
    EXPECT_EXIT(history->GetMessage(0, m), ::testing::ExitedWithCode(255), "Illegal message number: 0");
    tZObject::DisposeObject(history);
}

TEST_F(HistoriesTest, CommandHistoryRecallsBackAndForth) {
    auto* history = NewObject<tCommandsHistory>();
    EXPECT_EQ(history->MoveBack(), "");
    EXPECT_EQ(history->MoveForward(), "");
    for (const char* line : {"a", "b", "c"}) history->PutCommand(line);
    EXPECT_EQ(history->MoveBack(), "c");
    EXPECT_EQ(history->MoveBack(), "b");
    EXPECT_EQ(history->MoveBack(), "a");
    EXPECT_EQ(history->MoveBack(), "a");
    EXPECT_EQ(history->MoveForward(), "b");
    EXPECT_EQ(history->MoveForward(), "c");
    EXPECT_EQ(history->MoveForward(), "");

    history->SetCurrentCommand("half typed");
    history->MoveBack();
    EXPECT_EQ(history->GetCurrentCommand(), "half typed");
    EXPECT_EQ(history->MoveBack(), "c");  // the cursor went back to the input line

    // A full history drops the oldest line.
    constexpr int Full = tCommandsHistory::Capacity;
    for (int i = 1; i <= Full + 2; ++i) history->PutCommand("line " + Int2Str(i));
    EXPECT_EQ(history->GetCommand(1), "line " + Int2Str(Full + 2));
    EXPECT_EQ(history->GetCommand(Full), "line 3");
    for (int i = 0; i < Full; ++i) history->MoveBack();
    EXPECT_EQ(history->MoveBack(), "line 3");
    tZObject::DisposeObject(history);
}
