#include "common/consoleenv.h"

#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"

void ConsoleTest::SetUp() {
    EngineTest::SetUp();
    Console = NewObject<tEngineConsole>();
    EngineVars = NewObject<tEngineVarsManager>();
}

void ConsoleTest::TearDown() {
    DisposeServices();
    EngineTest::TearDown();
}

void ConsoleTest::DisposeServices() {
    if (EngineVars) tZObject::DisposeObject(EngineVars);
    if (Console) tZObject::DisposeObject(Console);
}

std::vector<tConsoleMessage> ConsoleTest::AllMessages() {
    std::vector<tConsoleMessage> out;
    tConsoleMessagesHistory* history = Console->GetMessagesHistory();
    for (int32_t i = history->GetTotalMessages(); i >= 1; --i) {
        tConsoleMessage m;
        history->GetMessage(i, m);
        out.push_back(m);
    }
    return out;
}

std::vector<std::string> ConsoleTest::MessagesOfType(tConsoleMsgType Type) {
    std::vector<std::string> out;
    for (const tConsoleMessage& m : AllMessages())
        if (m.MsgType == Type) out.push_back(m.Msg.str());
    return out;
}

std::vector<std::string> ConsoleTest::TakeMessages() {
    std::vector<std::string> out;
    for (const tConsoleMessage& m : AllMessages()) out.push_back(m.Msg.str());
    Console->GetMessagesHistory()->Clear();
    return out;
}
