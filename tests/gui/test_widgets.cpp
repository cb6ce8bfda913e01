// The widget set on a live window manager: each widget loaded from a layout,
// driven by the mouse and the keys, writing its console variable and
// following a "Set" typed in the console; the game's key table and pointer
// while windows are open; the options' trip through the INI file.

#include <gtest/gtest.h>

#include "gui_fixture.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/console/console.h"
#include "kernel/platform/options.h"
#include "kernel/platform/savedbindings.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"
#include "libraries/gui/framing.h"
#include "libraries/gui/keybindings.h"
#include "libraries/gui/lists.h"
#include "libraries/gui/ranges.h"
#include "libraries/gui/toggles.h"

namespace {

constexpr uint8_t KeyEnter = 13, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

// Every widget once, at known places on the 800 x 600 screen (the window's
// corner is (80, 60)).
const char* const Widgets = R"(
GUIObject "tGUIWindow"
{
   Param "0.1 0.1 0.8 0.8 Widgets"
   ID "widgets"
   GUIObject "tGUICheckBox" { Param "0.05 0.05 0.2 0.04" Param "Check" ID "check" BindConsoleVariable "TestFlag" }
   GUIObject "tGUIRadioGroup"
   {
      Param "0.3 0.05 0.4 0.1 Gun" ID "group" BindConsoleVariable "TestGun"
      GUIObject "tGUIRadioButton" { Param "0 0.04 0.1 0.04 A" ID "radio.a" Value "GunA" }
      GUIObject "tGUIRadioButton" { Param "0.15 0.04 0.1 0.04 B" ID "radio.b" Value "GunB" }
   }
   GUIObject "tGUIGauge" { Param "0.05 0.2 0.5 0.04 Volume" ID "gauge" BindConsoleVariable "TestVolume" Min "0" Max "100" Step "5" }
   GUIObject "tGUISpinBox" { Param "0.05 0.26 0.4 0.04 Bots" ID "spin" BindConsoleVariable "BotCount" Min "0" Max "8" Step "1" }
   GUIObject "tGUIVerticalScroller" { Param "0.7 0.2 0.03 0.3 Scroll" ID "scroller" BindConsoleVariable "TestScroll" Min "0" Max "10" Step "1" }
   GUIObject "tGUIListBox" { Param "0.05 0.32 0.3 0.12 List" ID "list" BindConsoleVariable "TestPlane" TEXTITEM { "Biplane=tBiplane" "Pursuit=tPursuitPlane" "Third=tThird" } }
   GUIObject "tGUIComboBox" { Param "0.4 0.32 0.25 0.04 Combo" ID "combo" BindConsoleVariable "TestSky" TEXTITEM { "Cloudy=tCloudyDay" "Clear=tClearDay" } }
   GUIObject "tGUIVerticalSplitter"
   {
      Param "0.05 0.5 0.6 0.2 Split" ID "split" BindConsoleVariable "TestSplit" Split "0.5"
      GUIObject "tGUIBorderPanel" { Param "0 0 0.1 0.1 Left" ID "left" }
      GUIObject "tGUIBorderPanel" { Param "0 0 0.1 0.1 Right" ID "right" }
   }
   GUIObject "tGUIIcon" { Param "0.7 0.6 0.05 0.05" ID "icon" Picture "interface\shaders\icon_biplane.shader" BindConsoleCommand "Set TestIcon True" }
}
)";

class WidgetsTest : public GUITest {
protected:
    void SetUp() override {
        EngineVars->SetVar("TestFlag", false);
        EngineVars->SetVar("TestGun", "GunA");
        EngineVars->SetVar("TestVolume", 50);
        EngineVars->SetVar("TestScroll", 0);
        EngineVars->SetVar("TestPlane", "tBiplane");
        EngineVars->SetVar("TestSky", "tCloudyDay");
        EngineVars->SetVar("TestSplit", 0.5f);
        EngineVars->SetVar("TestIcon", false);
        AddGUI(Widgets);
        Tick();
    }
    ShortString Var(const char* Name) {
        ShortString V;
        tVarBinding().Read(Name, V);
        return V;
    }
    void Type(const ShortString& Line) {
        Console->SendCommand(Line, true);
        Tick();
    }
    template <class T>
    TPoint Middle(const char* ID) {
        T* W = View<T>(ID);
        return {(W->X + W->X1) / 2, (W->Y + W->Y1) / 2};
    }
    void Focus(const char* ID) { WM->SetFocusedView(View(ID)); }
};

}  // namespace

TEST_F(WidgetsTest, EveryWidgetWritesItsVariableAndFollowsASet) {
    // Mouse: a click ticks the box, picks radio B, a row of the list.
    ClickAt(Middle<tGUICheckBox>("check").x, Middle<tGUICheckBox>("check").y);
    EXPECT_EQ(Var("TestFlag"), "True");
    ClickAt(Middle<tGUIRadioButton>("radio.b").x, Middle<tGUIRadioButton>("radio.b").y);
    EXPECT_EQ(Var("TestGun"), "GunB");
    auto* List = View<tGUIListBox>("list");
    ClickAt(List->X + 10, List->Y + tGUIListBox::RowHeight() + 5);
    EXPECT_EQ(Var("TestPlane"), "tPursuitPlane");
    // The combo opens on a click and takes the row clicked below it.
    auto* Combo = View<tGUIComboBox>("combo");
    ClickAt(Combo->X + 10, Combo->Y + 5);
    ASSERT_TRUE(Combo->Open);
    ClickAt(Combo->X + 10, Combo->Y1 + tGUIListBox::RowHeight() + 5);
    EXPECT_FALSE(Combo->Open);
    EXPECT_EQ(Var("TestSky"), "tClearDay");
    // The console's "Set" reaches every widget at its next tick.
    Type("Set TestFlag False; Set TestGun GunA; Set TestVolume 35; Set TestPlane tThird; Set TestSky tCloudyDay");
    Type("Set TestSplit 0.25");
    EXPECT_FALSE(View<tGUICheckBox>("check")->Checked);
    EXPECT_EQ(View<tGUIRadioGroup>("group")->Value, "GunA");
    EXPECT_EQ(View<tGUIGauge>("gauge")->Value, 35);
    EXPECT_EQ(List->Selected, 2);
    EXPECT_EQ(Combo->Selected, 0);
    EXPECT_FLOAT_EQ(View<tGUISplitter>("split")->Split, 0.25f);
    // A value that is no choice of the widget leaves it where it was.
    Type("Set TestPlane tNothing");
    EXPECT_EQ(List->Selected, 2);
}

TEST_F(WidgetsTest, RangesClampAndDragAndStep) {
    auto* Gauge = View<tGUIGauge>("gauge");
    // Dragged past the bar's right end: the maximum, not beyond.
    Drag(Gauge->X1 - 20, Gauge->Y + 5, Gauge->X1 + 200, Gauge->Y + 5);
    EXPECT_EQ(Var("TestVolume"), "100");
    Focus("gauge");
    Press(KeyLeft);
    EXPECT_EQ(Var("TestVolume"), "95");
    Type("Set TestVolume 250");
    EXPECT_EQ(Gauge->Value, 100);
    // The spin box steps by one between its arrows and stops at its ends.
    auto* Spin = View<tGUISpinBox>("spin");
    for (int I = 0; I < 12; ++I) ClickAt(Spin->X1 - 5, Spin->Y + 5);
    EXPECT_EQ(Spin->Value, 8);
    ClickAt(Spin->X + Spin->W / 2 + 5, Spin->Y + 5);
    EXPECT_EQ(Spin->Value, 7);
    // BotCount did not exist: the box set it (a console variable of its own).
    EXPECT_EQ(Var("BotCount"), "7");
    // The scroller: the wheel and the keys; the thumb follows a drag down.
    auto* Scroller = View<tGUIVerticalScroller>("scroller");
    Scroller->GUI_Scroll(DIR_UP);
    EXPECT_EQ(Var("TestScroll"), "1");
    Drag(Middle<tGUIVerticalScroller>("scroller").x, Scroller->Y + 5, Middle<tGUIVerticalScroller>("scroller").x, Scroller->Y1 + 50);
    EXPECT_EQ(Var("TestScroll"), "10");
    // The splitter's bar moves with the keys and lays its sides out again.
    auto* Split = View<tGUISplitter>("split");
    Focus("split");
    Press(KeyRight);
    EXPECT_FLOAT_EQ(Split->Split, 0.55f);
    auto* Left = View<tGUIRegion>("left");
    auto* Right = View<tGUIRegion>("right");
    EXPECT_EQ(Left->X1, Split->BarStart());
    EXPECT_EQ(Right->X, Split->BarStart() + tGUISplitter::BarWidth);
    EXPECT_EQ(Right->X1, Split->X1);
    for (int I = 0; I < 20; ++I) Press(KeyRight);
    EXPECT_FLOAT_EQ(Split->Split, tGUISplitter::MaxSplit);
    // A splitter resized (as a side of another) lays its own sides out again.
    Split->SetSize(200, 100);
    EXPECT_EQ(Right->X1, Split->X + 200);
    EXPECT_EQ(Left->Y1, Split->Y + 100);
    // Ranges from a damaged layout stay finite and bounded.
    AddGUI(R"(GUIObject "tGUIGauge" { Param "0 0 0.5 0.05 Odd" ID "odd" Min "-inf" Max "1e38" Step "nan" })", "odd.gui");
    Tick();
    auto* Odd = View<tGUIGauge>("odd");
    EXPECT_EQ(Odd->Min, 0);
    EXPECT_EQ(Odd->Max, tGUIRangeWidget::Limit);
    Odd->StepValue(1);
    EXPECT_EQ(Odd->GetValueText(), "5");
}

TEST_F(WidgetsTest, TheKeyboardMovesBetweenWidgetsAndDrivesThem) {
    // The new window's first widget has the focus; Down walks the rest in
    // layout order and wraps around; Up walks back.
    EXPECT_EQ(WM->GetFocusedView(), View("check"));
    Press(KeyDown);
    EXPECT_EQ(WM->GetFocusedView(), View("radio.a"));
    Press(KeyUp);
    Press(KeyUp);
    EXPECT_EQ(WM->GetFocusedView(), View("icon"));
    // Enter activates: the check box ticks, the icon runs its command.
    Press(KeyEnter);
    Console->Tick(Step);
    EXPECT_EQ(Var("TestIcon"), "True");
    Focus("check");
    Press(KeyEnter);
    EXPECT_EQ(Var("TestFlag"), "True");
    // Right on a radio button chooses the next in its group.
    Focus("radio.a");
    Press(KeyRight);
    EXPECT_EQ(Var("TestGun"), "GunB");
    // Up and Down change the list's row; past its last row they move on.
    Focus("list");
    Press(KeyDown);
    Press(KeyDown);
    EXPECT_EQ(Var("TestPlane"), "tThird");
    Press(KeyDown);
    EXPECT_EQ(WM->GetFocusedView(), View("combo"));
    // The combo: Enter opens, Down chooses, Enter closes.
    Press(KeyEnter);
    Press(KeyDown);
    Press(KeyEnter);
    EXPECT_FALSE(View<tGUIComboBox>("combo")->Open);
    EXPECT_EQ(Var("TestSky"), "tClearDay");
}

TEST_F(WidgetsTest, WindowsHoldTheGameKeysAndThePointer) {
    // With a window open, a held key never reaches the game's table and
    // the pointer is the GUI's.
    EXPECT_TRUE(WM->HoldsInput());
    EXPECT_TRUE(WM->ShowsWindow());
    EXPECT_TRUE(Engine->Viewport->PointerHeld);
    Key('F', true);
    EXPECT_FALSE(WM->Keys['F']);
    Key('F', false);
    Type("CloseView widgets");
    EXPECT_FALSE(WM->HoldsInput());
    EXPECT_FALSE(Engine->Viewport->PointerHeld);
    // The console holds the keys but leaves the game (its HUD) in view.
    AddGUI(R"(GUIObject "tGUIStdConsole" { Param "0 0 1 0.72 Console" ID "console" })", "console.gui");
    EXPECT_TRUE(WM->HoldsInput() && !WM->ShowsWindow());
    Type("CloseView console");
    // Closed: the key flies again. Moved to J, J rolls and F does nothing.
    Key('F', true);
    EXPECT_TRUE(WM->Keys['F']);
    Key('F', false);
    Type("Set KeyRollLeft VK_J");
    Key('J', true);
    EXPECT_TRUE(WM->Keys['F']);
    EXPECT_FALSE(WM->Keys['J']);
    Key('J', false);
    Key('F', true);
    EXPECT_FALSE(WM->Keys['F']);
    Key('F', false);
    // A key held while a window opens is let go in the game.
    Key('J', true);
    AddGUI(Widgets);
    Tick();
    EXPECT_FALSE(WM->Keys['F']);
    Key('J', false);
}

TEST_F(WidgetsTest, TheControlsPageRebindsTheNextKeyPressed) {
    Type("CloseView widgets");
    AddGUI(R"(GUIObject "tGUIKeyBindingList" { Param "0.1 0.1 0.6 0.6 Keys" ID "keys" })");
    Tick();
    auto* Keys = View<tGUIKeyBindingList>("keys");
    ASSERT_EQ(Keys->ItemValue(0), "F");
    // A click on "Roll left", then K: the action is on K.
    ClickAt(Keys->X + 10, Keys->Y + 5);
    EXPECT_TRUE(Keys->Waiting);
    Press('K');
    EXPECT_FALSE(Keys->Waiting);
    EXPECT_EQ(Var("KeyRollLeft"), "VK_K");
    EXPECT_EQ(Keys->ItemValue(0), "K");
    // Escape gives up and changes nothing.
    ClickAt(Keys->X + 10, Keys->Y + 5);
    Press(27);
    EXPECT_EQ(Var("KeyRollLeft"), "VK_K");
}

TEST_F(WidgetsTest, ACommandKeyTakenOnTheControlsPageSwapsAndOnlyChangesAreSaved) {
    tEngineConsole* C = GameConsole();
    C->UnBindAllC("");
    Type("Bind VK_F12 ScreenShot; Bind VK_F2 \"Toggle ShowFPS\"; Bind VK_F7 \"Echo seven\"");
    ApplySavedBindings();
    Type("CloseView widgets");
    AddGUI(R"(GUIObject "tGUIKeyBindingList" { Param "0.1 0.1 0.6 0.9 Keys" ID "keys" })");
    Tick();
    // The commands by name after the aircraft's keys: "Echo seven",
    // "Screenshot", "Show FPS". Show FPS onto F12: the screenshot takes F2.
    auto* Keys = View<tGUIKeyBindingList>("keys");
    Keys->Rebind(static_cast<int32_t>(std::size(FlightKeys)) + 2, 123);
    EXPECT_EQ(C->GetBinding(123), "Toggle ShowFPS");
    EXPECT_EQ(C->GetBinding(113), "ScreenShot");
    StoreBindings();
    EXPECT_EQ(EngineINI->GetValue(BindingsSection, "VK_F2"), "ScreenShot");
    EXPECT_EQ(EngineINI->FirstKey(BindingsSection)->Next->Next, nullptr);  // F7 kept its command
}

TEST_F(WidgetsTest, OptionsTravelThroughTheINIFileAndBadValuesKeepTheDefault) {
    Type("Set MusicVolume 25; Set MouseSensitivity 1.5; Set KeyYawLeft VK_Q");
    StoreOptions();
    EXPECT_EQ(EngineINI->GetValue(OptionsSection, "MusicVolume"), "25");
    EXPECT_EQ(EngineINI->GetValue(OptionsSection, "KeyYawLeft"), "VK_Q");
    Type("Set MusicVolume 70; Set MouseSensitivity 1.0; Set KeyYawLeft VK_V");
    // Damaged values: not a number, out of range, no key; the rest applies.
    EngineINI->SetValue(OptionsSection, "EffectsVolume", "loud");
    const int32_t Width = Engine->EngineConfig.ScreenWidth;
    EngineINI->SetValue(OptionsSection, "ScreenWidth", "100");
    EngineINI->SetValue(OptionsSection, "ScreenHeight", "768");
    EngineINI->SetValue(OptionsSection, "KeyOrbit", "VK_NOSUCHKEY");
    ApplySavedOptions();
    Tick();
    EXPECT_EQ(Engine->EngineConfig.MusicVolume, 25);
    EXPECT_FLOAT_EQ(Engine->EngineConfig.MouseSensitivity, 1.5f);
    EXPECT_EQ(Var("KeyYawLeft"), "VK_Q");
    EXPECT_EQ(Engine->EngineConfig.EffectsVolume, 100);
    EXPECT_EQ(Engine->EngineConfig.ScreenWidth, Width);
    EXPECT_EQ(Engine->EngineConfig.ScreenHeight, 768);
    EXPECT_EQ(Var("KeyOrbit"), "VK_P");
    int Errors = 0;
    for (const std::string& M : ConsoleMessages()) Errors += M.rfind("Saved option ", 0) == 0;
    EXPECT_EQ(Errors, 3);
}
