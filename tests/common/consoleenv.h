#pragma once
// A console and a variables manager over the logger and warning output, as
// the engine creates them, with the console's messages at hand as text.

#include <string>
#include <vector>

#include "common/testenv.h"
#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"

class ConsoleTest : public EngineTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Disposes the services the fixture made, leaving the logger alive.
    virtual void DisposeServices();

    tEngineConsole& Con() { return *static_cast<tEngineConsole*>(Console); }
    tEngineVarsManager& Vars() { return *static_cast<tEngineVarsManager*>(EngineVars); }

    // Runs a typed line, as the console window does.
    void Type(const std::string& Line) { Console->SendCommand(ShortString(Line), true); }
    // Every message in the history, oldest first, and then empties it.
    std::vector<std::string> TakeMessages();
    // The messages of one type, oldest first (the history is left alone).
    std::vector<std::string> MessagesOfType(tConsoleMsgType Type);
    std::vector<tConsoleMessage> AllMessages();
};
