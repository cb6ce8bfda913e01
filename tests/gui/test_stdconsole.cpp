// The drop-down console window: sliding, line editing, running lines, the
// command history, closing and opening again.

#include <gtest/gtest.h>

#include "gui/gui_fixture.h"
#include "libraries/gui/inputline.h"
#include "libraries/gui/stdconsole.h"

namespace {

constexpr uint8_t Shift = 16, Back = 8, Enter = 13, Escape = 27, Tab = 9, Up = 38, Down = 40, LeftOf1 = 192;
constexpr uint8_t PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Right = 39, Delete = 46;

class ConsoleWindowTest : public GUITest {
protected:
    tGUIStdConsole* Open() {
        Console->SendCommand("ToggleConsole", true);
        return View<tGUIStdConsole>("console");
    }
    void Type(const std::string& Keys) {
        for (char C : Keys) Press(static_cast<uint8_t>(C));
    }
    void SetUp() override {
        WriteLayout("GUIObject \"tGUIStdConsole\" { Param \"0 0 1 0.72 Console\" ID \"console\" }\n", "Console.gui");
    }
};

}  // namespace

TEST_F(ConsoleWindowTest, SlidesInAndOutInTwentyPixelSteps) {
    tGUIStdConsole* C = Open();
    ASSERT_NE(C, nullptr);
    EXPECT_TRUE(Console->LocalHUDVisible);
    EXPECT_EQ(C->C_Position, tGUIStdConsole::ClosedPosition);
    Tick(22);
    EXPECT_EQ(C->C_Position, 8);
    EXPECT_FALSE(C->IsMaximized());
    Tick();
    EXPECT_TRUE(C->IsMaximized());
    Press(LeftOf1);
    Tick(22);
    EXPECT_EQ(C->C_Position, tGUIStdConsole::ClosedPosition);
    EXPECT_NE(View("console"), nullptr);
    Tick();
    // Gone for good, and the console's flag and command with it.
    EXPECT_EQ(View("console"), nullptr);
    EXPECT_FALSE(Console->LocalHUDVisible);
    Console->SendCommand("CloseConsole", true);
    EXPECT_EQ(ConsoleMessages().back(), "Unknown command CLOSECONSOLE");
    EXPECT_NE(Open(), nullptr);
}

TEST_F(ConsoleWindowTest, EditsRunsAndRecallsLines) {
    Console->SendCommand("Bind VK_E \"Echo the game saw E\"", true);
    tGUIStdConsole* C = Open();
    MoveMouse(400, 550);  // keys go to the console wherever the mouse is
    Type("ECHO ");
    Key(Shift, true);
    Type("H");
    Key(Shift, false);
    Type("I1");
    Key(Shift, true);
    Press('1');
    Key(Shift, false);
    EXPECT_EQ(C->TextBuffer, "echo Hi1!");
    Press(Back);
    Press(Back);
    EXPECT_EQ(C->TextBuffer, "echo Hi");
    Press(Enter);
    EXPECT_EQ(C->TextBuffer, "");
    auto M = ConsoleMessages();
    ASSERT_GE(M.size(), 2u);
    EXPECT_EQ(M[M.size() - 2], "/echo Hi");
    EXPECT_EQ(M.back(), "Hi");
    // A leading slash runs the same command; Enter on an empty line does nothing.
    C->SetText("//echo again");
    Press(Enter);
    EXPECT_EQ(ConsoleMessages().back(), "again");
    const std::size_t Count = ConsoleMessages().size();
    Press(Enter);
    EXPECT_EQ(ConsoleMessages().size(), Count);
    // The arrows walk the history.
    Press(Up);
    EXPECT_EQ(C->TextBuffer, "echo again");
    Press(Up);
    EXPECT_EQ(C->TextBuffer, "echo Hi");
    Press(Down);
    EXPECT_EQ(C->TextBuffer, "echo again");
    // Nothing typed reached the game's bindings.
    for (const std::string& Line : ConsoleMessages()) EXPECT_NE(Line, "the game saw E");
    // Escape clears the line, then closes the console.
    Press(Escape);
    EXPECT_EQ(C->TextBuffer, "");
    EXPECT_EQ(C->FRegionState, REGION_MAXIMIZING);
    Press(Escape);
    EXPECT_EQ(C->FRegionState, REGION_MINIMIZING);
}

TEST_F(ConsoleWindowTest, LinesAreLimitedByTheScreenWidth) {
    tGUIStdConsole* C = Open();
    for (int I = 0; I < 150; ++I) Press('A');
    EXPECT_EQ(C->TextBuffer.size(), 100u);
}

TEST_F(ConsoleWindowTest, CommandsThatCloseTheConsoleFromItsOwnLine) {
    tGUIStdConsole* C = Open();
    AddGUI("GUIObject \"tGUIWindow\" { Param \"0 0 0.2 0.2 Other\" ID \"other\" }", "other.gui");
    C->SetText("ResetGUI");
    Press(Enter);
    Tick();
    EXPECT_EQ(View("console"), nullptr);
    EXPECT_EQ(View("other"), nullptr);
    // A second console window closes itself without taking the console's command.
    C = Open();
    Console->SendCommand("AddGUI UI\\Console.gui", true);
    Tick();
    EXPECT_EQ(View("console"), C);
    C->SetText("CloseView console");
    Press(Enter);
    Tick();
    EXPECT_EQ(View("console"), nullptr);
    EXPECT_FALSE(Console->LocalHUDVisible);
    (void)Tab;
}

TEST_F(ConsoleWindowTest, EditsAtTheCursorCompletesWithTabAndScrolls) {
    tGUIStdConsole* C = Open();
    Type("ECHO WORLD");
    Press(Home);
    Press(Left);  // already at the start
    for (int I = 0; I < 5; ++I) Press(Right);
    Type("HELLO ");
    EXPECT_EQ(C->TextBuffer, "echo hello world");
    Press(End);
    Press(Right);  // already at the end
    Press(Back);
    Press(Home);
    Press(Delete);
    EXPECT_EQ(C->TextBuffer, "cho hello worl");
    Press(Back);  // nothing before the cursor
    EXPECT_EQ(C->TextBuffer, "cho hello worl");
    // A recalled line puts the cursor at its end.
    Press(Escape);
    Type("ECHO A");
    Press(Enter);
    Press(Home);
    Press(Up);
    Type("B");
    EXPECT_EQ(C->TextBuffer, "echo ab");

    // Tab completes instead of closing; a second Tab lists the names.
    C->SetText("");
    Type("UNB");
    Press(Tab);
    EXPECT_EQ(C->TextBuffer, "UnBind");
    EXPECT_EQ(C->FRegionState, REGION_MAXIMIZING);
    const std::size_t Count = ConsoleMessages().size();
    Press(Tab);
    ASSERT_EQ(ConsoleMessages().size(), Count + 1);
    EXPECT_EQ(ConsoleMessages().back(), "UnBind  UnBindAll");
    Type("A");
    Press(Tab);
    EXPECT_EQ(C->TextBuffer, "UnBindAll ");

    // Page Up shows older messages, Page Down comes back; never past either end.
    for (int I = 0; I < 60; ++I) Console->Display("message " + std::to_string(I));
    Press(PageUp);
    EXPECT_EQ(C->ScrollBack, tGUIStdConsole::MaxMessagesShown - 1);
    for (int I = 0; I < 5; ++I) Press(PageUp);
    EXPECT_EQ(C->ScrollBack, Console->GetMessagesHistory()->GetTotalMessages() - tGUIStdConsole::MaxMessagesShown);
    for (int I = 0; I < 6; ++I) Press(PageDown);
    EXPECT_EQ(C->ScrollBack, 0);
}

// The console window and the other windows share the mouse and the keyboard:
// a button pressed over the open console reaches the console's bindings, and
// an input line that was clicked keeps the keyboard (the console takes it
// while open and hands it back) until its window goes.
TEST_F(ConsoleWindowTest, ButtonsOverTheConsoleReachBindingsAndAClickedLineKeepsTheKeyboard) {
    Console->SendCommand("Bind VK_MBUTTON \"Echo middle\"; Bind VK_RBUTTON \"Echo right\"", true);
    Console->SendCommand("Bind VK_E \"Echo the game saw E\"", true);
    AddGUI(R"(GUIObject "tGUIWindow" { Param "0.1 0.75 0.8 0.2 Name" ID "name"
              GUIObject "tGUIInputLine" { Param "0.05 0.02 0.5 0.05 Name" ID "line" } })");
    auto* Line = View<tGUIInputLine>("line");
    ASSERT_NE(Line, nullptr);
    ClickAt(200, 475);
    Type("AB");
    tGUIStdConsole* C = Open();
    Tick(25);
    MoveMouse(400, 100);  // over the console
    Press(4);
    Press(2);
    Type("C");
    EXPECT_EQ(C->TextBuffer, "c");
    Press(LeftOf1);
    Tick(25);
    ASSERT_EQ(View("console"), nullptr);
    MoveMouse(400, 100);  // over nothing now: the line keeps the keyboard
    Type("D");
    EXPECT_EQ(Line->TextBuffer, "Nameabd");
    Console->SendCommand("CloseView name", true);
    Tick();
    Type("E");
    const auto M = ConsoleMessages();
    ASSERT_GE(M.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(M.end() - 3, M.end()),
              (std::vector<std::string>{"middle", "right", "the game saw E"}));
}
