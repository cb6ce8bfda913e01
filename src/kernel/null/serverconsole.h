#pragma once
// The console of the dedicated server, which has no screen and no keyboard:
// every message goes to standard output as it is shown, and each line read
// from standard input runs as if typed. The end of the input, SIGINT and
// SIGTERM end the program as "Quit" does.

#include <string>

#include "kernel/console/console.h"

class tServerConsole : public tEngineConsole {
    Z_DECLARE_CLASS(tServerConsole, tEngineConsole)
public:
    // Longer input lines are cut to the console's line length.
    static constexpr std::size_t MaxInputLine = 255;

    tServerConsole();
    ~tServerConsole() override;

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override {}
    void DisplayMessage(const ShortString& Msg, tConsoleMsgType Type) override;

private:
    // "EnterGame", the level script's last line, has no menu to open and no
    // player to place here: the match is ready for those who join.
    void EnterGameC(const ShortString& Args);
    // Runs the complete lines waiting on standard input, without blocking.
    void ReadInput();

    std::string Pending;  // an input line not yet ended
    bool InputEnded = false;
};
