#pragma once
// The console's bounded histories: the last 100 messages for display and the
// last 64 typed lines for recall, which outlive the run in a file of the data
// directory. Fixed rings, nothing allocated per entry.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "libraries/classes/console.h"

// The fixed colour of each message type.
TVector4 ConsoleMessageColor(tConsoleMsgType Type);

class tMessagesHistory : public tConsoleMessagesHistory {
    Z_DECLARE_CLASS(tMessagesHistory, tConsoleMessagesHistory)
public:
    static constexpr int32_t Capacity = 100;

    tMessagesHistory();
    void Clear() override;
    void AddMessage(const tConsoleMessage& Msg) override;
    void GetMessage(int32_t Index, tConsoleMessage& Msg) override;
    int32_t GetTotalMessages() override;

private:
    tConsoleMessage Messages[Capacity];  // slots 1..100 seen from outside
    int32_t Head = Capacity;             // slot the next message goes to
    int32_t TotalMessages = 0;
};

class tCommandsHistory : public tConsoleCommandsHistory {
    Z_DECLARE_CLASS(tCommandsHistory, tConsoleCommandsHistory)
public:
    static constexpr int32_t Capacity = 64;

    tCommandsHistory();
    void PutCommand(const ShortString& Line) override;
    void SetCurrentCommand(const ShortString& Line) override;
    ShortString GetCurrentCommand() override;
    ShortString MoveBack() override;
    ShortString MoveForward() override;
    // The n-th most recent line (1 = the newest).
    ShortString GetCommand(int32_t N) const;
    // How many lines it holds.
    int32_t GetTotalCommands() const { return TotalCommands; }

private:
    ShortString History[Capacity];  // slots 1..Capacity seen from outside
    int32_t TotalCommands = 0;
    int32_t Head = Capacity;
    int32_t Offset = 0;  // how far back the recall cursor stands; 0 = the input line
    ShortString CurrentCommand;
};
