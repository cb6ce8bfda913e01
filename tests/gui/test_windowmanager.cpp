// Routing of keys and mouse buttons, push buttons, labels, and views closed
// by commands, by their own handlers and by "ResetGUI".

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "gui/gui_fixture.h"
#include "kernel/console/console.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/gui/button.h"
#include "libraries/gui/label.h"

namespace {

constexpr const char* ButtonWindow = R"(
GUIObject "tGUIWindow"
{
   Param "0.25 0.25 0.5 0.5 Window"
   ID "window"
   GUIObject "tGUIPushButton"
   {
      Param "0.1 0.1 0.1 0.05 Go"
      ID "go"
      BindConsoleCommand "Echo clicked"
      BindConsoleCommand "Echo twice"
   }
   GUIObject "tGUIStaticWidget" { Param "0.1 0.3 0.2 0.05" BindConsoleVariable "NoSuchVariable" ID "missing" }
   GUIObject "tGUIStaticWidget" { Param "0.1 0.4 0.2 0.05" BindConsoleVariable "ShowFPS" ID "fps" }
}
)";

}  // namespace

TEST_F(GUITest, KeysTheGUIDoesNotConsumeReachTheConsole) {
    Console->SendCommand("Bind VK_K \"Echo key K\"", true);
    AddGUI(ButtonWindow);
    EXPECT_EQ(Engine->Viewport->GetInputDevice(), WM);
    MoveMouse(10, 10);  // over the bare desktop
    Press('K');
    MoveMouse(400, 400);  // over the window
    Press('K');
    const auto Messages = ConsoleMessages();
    EXPECT_EQ(std::count(Messages.begin(), Messages.end(), "key K"), 2);
    // Releases always reach the console, so nothing stays held in the game.
    Key('J', true);
    EXPECT_TRUE(Console->Keys['J']);
    ClickAt(10, 10);
    Key('J', false);
    EXPECT_FALSE(Console->Keys['J']);
}

TEST_F(GUITest, PushButtonsRunTheirCommandsWhenReleasedOverThemselves) {
    AddGUI(ButtonWindow);
    auto* Go = View<tGUIPushButton>("go");
    const int32_t CX = (Go->X + Go->X1) / 2, CY = (Go->Y + Go->Y1) / 2;
    const auto Clicks = [&] {
        Console->Tick(Step);  // bound commands run from the console's queue
        Console->Tick(Step);
        const auto M = ConsoleMessages();
        return std::count(M.begin(), M.end(), "clicked");
    };
    ClickAt(CX, CY);
    EXPECT_EQ(Clicks(), 1);
    EXPECT_EQ(ConsoleMessages().back(), "twice");
    // Pressed, dragged off and released there: nothing runs.
    MoveMouse(CX, CY);
    Key(1, true);
    EXPECT_TRUE(Go->Pushed);
    MoveMouse(CX + 200, CY + 100);
    EXPECT_TRUE(Go->Pushed);  // captured: still pushed away from the button
    Key(1, false);
    EXPECT_EQ(Clicks(), 1);
    // Losing the capture while pressed lets go of the button.
    MoveMouse(CX, CY);
    Key(1, true);
    Console->SendCommand("CloseView window", true);
    Tick();
    EXPECT_EQ(View("go"), nullptr);
    Key(1, false);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(GUITest, LabelsShowTheirVariableWithoutTouchingIt) {
    AddGUI(ButtonWindow);
    EXPECT_EQ(View<tGUIStaticWidget>("missing")->GetText(), "");
    EngineVars->SetVar("ShowFPS", true);
    ASSERT_TRUE(EngineVars->IsModified("ShowFPS"));
    EngineVars->SetVar("ShowFPS", false);
    EXPECT_EQ(View<tGUIStaticWidget>("fps")->GetText(), "False");
    WM->RenderFrame();
    EXPECT_TRUE(EngineVars->IsModified("ShowFPS"));
}

TEST_F(GUITest, ViewsCloseAtTheEndOfTheTickOnceEach) {
    AddGUI(ButtonWindow);
    AddGUI("GUIObject \"tGUIWindow\" { Param \"0 0 0.2 0.2 Other\" ID \"other\" }", "other.gui");
    Console->SendCommand("CloseView window; CloseView window; CloseView nothing", true);
    EXPECT_NE(View("window"), nullptr);  // still there until the tick ends
    EXPECT_EQ(ConsoleMessages().back(), "No view with the ID nothing");
    Tick();
    EXPECT_EQ(View("window"), nullptr);
    EXPECT_NE(View("other"), nullptr);
    // "ResetGUI" then "AddGUI" in one line: the new layout stays.
    Console->SendCommand("ResetGUI; AddGUI UI\\test.gui", true);
    Tick();
    EXPECT_EQ(View("other"), nullptr);
    EXPECT_NE(View("window"), nullptr);
    EXPECT_EQ(WM->GetDockableViewsList()->GetTotalItems(), 1);
    Console->SendCommand("AddGUI", true);
    EXPECT_EQ(ConsoleMessages().back(), "Usage: AddGUI <filename>");
    Console->SendCommand("AddGUI UI\\missing.gui", true);
    EXPECT_EQ(ConsoleMessages().back(), "GUI file not found: UI\\missing.gui");
}

// Every layout the game ships loads, shows its views and closes again.
TEST_F(GUITest, TheShippedLayoutsLoadAndClose) {
    const char* Source = std::getenv("HALVARDINE_SOURCE_DIR");
    ASSERT_NE(Source, nullptr);
    for (const char* Name : {"Console.gui", "Sample.gui", "About.gui", "Model.gui", "MainMenu.gui", "Options.gui",
                             "Controls.gui", "Widgets.gui"}) {
        AddGUI(ReadWholeFile(std::filesystem::path(Source) / "Data" / "UI" / Name), Name);
        EXPECT_GT(WM->GetDesktop()->GetChildsNumber(), 0) << Name;
        Tick(30);
        WM->RenderFrame();
        Console->SendCommand("ResetGUI", true);
        Tick();
        EXPECT_EQ(WM->GetDesktop()->GetChildsNumber(), 0) << Name;
    }
}
