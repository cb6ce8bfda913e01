#pragma once
// The console commands of one object, held as a member of that object
// (declared last, so it goes first): when it goes, every command registered
// through it leaves the console, and a line naming one is an unknown command
// instead of a call into freed memory. A console that goes first (at
// shutdown it goes before the engine's subsystems) lets go of it.
//
//   Console->RegisterCommand("AddBot", ConsoleProc<&tMatch::AddBotC>(this), Commands);

#include <cstdint>

class tConsole;

class tCommandBindings {
public:
    tCommandBindings() = default;
    ~tCommandBindings() { ReleaseAll(); }
    tCommandBindings(const tCommandBindings&) = delete;
    tCommandBindings& operator=(const tCommandBindings&) = delete;

    // Removes every command registered through this holder now.
    void ReleaseAll();
    bool Empty() const { return Count == 0; }

private:
    friend class tEngineConsole;
    tConsole* Console = nullptr;  // while it holds commands
    int32_t Count = 0;
};
