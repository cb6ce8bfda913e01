#include "kernel/console/histories.h"

#include "kernel/console/ring.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tConsoleMessagesHistory,
    .Operations = {{"Clear", ZOP_ABSTRACT}, {"AddMessage", ZOP_ABSTRACT}, {"GetMessage", ZOP_ABSTRACT},
                   {"GetTotalMessages", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tMessagesHistory, .Operations = {{"Clear"}, {"AddMessage"}, {"GetMessage"}, {"GetTotalMessages"}})
Z_IMPLEMENT_CLASS(tConsoleCommandsHistory,
    .Operations = {{"PutCommand", ZOP_ABSTRACT}, {"SetCurrentCommand", ZOP_ABSTRACT}, {"GetCurrentCommand", ZOP_ABSTRACT},
                   {"MoveBack", ZOP_ABSTRACT}, {"MoveForward", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tCommandsHistory,
    .Operations = {{"PutCommand"}, {"SetCurrentCommand"}, {"GetCurrentCommand"}, {"MoveBack"}, {"MoveForward"}})

TVector4 ConsoleMessageColor(tConsoleMsgType Type) {
    switch (Type) {
        case CMSG_ERRORMESSAGE: return {1.0f, 0.0f, 0.0f, 1.0f};
        case CMSG_INFOTIP: return {0.7f, 1.0f, 0.7f, 0.9f};
        case CMSG_ENGINEMESSAGE: break;
    }
    return {1.0f, 1.0f, 1.0f, 0.9f};
}

// ---- tMessagesHistory ------------------------------------------------------

tMessagesHistory::tMessagesHistory() { Clear(); }

void tMessagesHistory::Clear() {
    TotalMessages = 0;
    Head = Capacity;
}

void tMessagesHistory::AddMessage(const tConsoleMessage& Msg) {
    if (TotalMessages < Capacity) ++TotalMessages;
    Messages[Head - 1] = Msg;
    Head = RingSlotBelow(Head, Capacity);
}

void tMessagesHistory::GetMessage(int32_t Index, tConsoleMessage& Msg) {
    if (Index < 1 || Index > TotalMessages)
        Logger->Fatal("Illegal message number: " + Int2Str(Index) + " (TotalMessages=" + Int2Str(TotalMessages) + ")");
    Msg = Messages[RingSlotAbove(Head, Index, Capacity) - 1];
}

int32_t tMessagesHistory::GetTotalMessages() { return TotalMessages; }

// ---- tCommandsHistory ------------------------------------------------------

tCommandsHistory::tCommandsHistory() = default;

void tCommandsHistory::PutCommand(const ShortString& Line) {
    History[Head - 1] = Line;
    Head = RingSlotBelow(Head, Capacity);
    Offset = 0;
    if (TotalCommands < Capacity) ++TotalCommands;
}

void tCommandsHistory::SetCurrentCommand(const ShortString& Line) { CurrentCommand = Line; }

ShortString tCommandsHistory::GetCurrentCommand() {
    Offset = 0;
    return CurrentCommand;
}

ShortString tCommandsHistory::MoveBack() {
    if (Offset < TotalCommands) ++Offset;
    return GetCommand(Offset);
}

ShortString tCommandsHistory::MoveForward() {
    if (Offset > 0) --Offset;
    if (Offset == 0) return {};
    return GetCommand(Offset);
}

ShortString tCommandsHistory::GetCommand(int32_t N) const { return History[RingSlotAbove(Head, N, Capacity) - 1]; }
