#include "kernel/null/serverconsole.h"

#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "kernel/console/commands.h"
#include "kernel/core/globals.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tServerConsole, .Operations = {{"Tick"}, {"RenderFrame"}, {"DisplayMessage"}})

namespace {

volatile std::sig_atomic_t StopSignalled = 0;

void StopOnSignal(int) { StopSignalled = 1; }

}  // namespace

tServerConsole::tServerConsole() {
    // Stopped from outside, the server still shuts down in order.
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    // One of the console's own commands: it goes with the console.
    RegisterCommand("EnterGame", ConsoleProc<&tServerConsole::EnterGameC>(this));
}

tServerConsole::~tServerConsole() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

void tServerConsole::EnterGameC(const ShortString&) { Display("The level is loaded"); }

void tServerConsole::DisplayMessage(const ShortString& Msg, tConsoleMsgType Type) {
    tEngineConsole::DisplayMessage(Msg, Type);
    std::printf("%s%s\n", Type == CMSG_ERRORMESSAGE ? "Error: " : "", Msg.c_str());
    std::fflush(stdout);
}

void tServerConsole::Tick(float DeltaSeconds) {
    tEngineConsole::Tick(DeltaSeconds);
    if (!InputEnded) {
        // Lines typed here come from outside the game, as a script's do: a
        // recorded flight keeps them.
        if (Tap) Tap->ScriptsStepping();
        ReadInput();
        if (Tap) Tap->ScriptsStepped();
    }
    if (StopSignalled && Engine && !Engine->RequestingExit) {
        std::printf("Stopped by a signal\n");
        Engine->RequestingExit = true;
    }
}

void tServerConsole::ReadInput() {
    pollfd Input{STDIN_FILENO, POLLIN, 0};
    while (poll(&Input, 1, 0) > 0) {
        char Buffer[512];
        const ssize_t Read = read(STDIN_FILENO, Buffer, sizeof Buffer);
        if (Read <= 0) {
            // The input is closed (or unreadable): nobody can type "Quit" any more.
            InputEnded = true;
            if (!Pending.empty()) RunTypedLine(ShortString(Pending.substr(0, MaxInputLine)));
            if (Engine) Engine->RequestingExit = true;
            return;
        }
        for (ssize_t I = 0; I < Read; ++I) {
            const char C = Buffer[I];
            if (C == '\n') {
                if (!Pending.empty() && Pending.back() == '\r') Pending.pop_back();
                RunTypedLine(ShortString(Pending.substr(0, MaxInputLine)));
                Pending.clear();
                if (Engine && Engine->RequestingExit) return;
            } else if (Pending.size() < MaxInputLine + 1) {
                Pending += C;
            }
        }
    }
}
