#pragma once
// GUI tests: the engine with a windowless 800 x 600 viewport and a render
// device that draws nothing, the window manager as its input device, layouts
// written into Data/ and loaded with "AddGUI", the mouse moved and keys
// pressed as the viewport would.

#include <memory>
#include <string>
#include <vector>

#include "common/enginehost.h"
#include "kernel/core/globals.h"
#include "kernel/gui/desktop.h"
#include "kernel/gui/view.h"
#include "kernel/gui/windowmanager.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/filesystem.h"

// The engine with the GUI, and what a player does to it. Usable outside
// GoogleTest (benchmarks).
class tGUIDriver {
public:
    static constexpr int32_t ScreenW = 800, ScreenH = 600;
    static constexpr float Step = 0.01f;

    tGUIDriver() : Host(std::make_unique<tEngineHost>()) {
        tWinGameEngine& E = Host->StartActiveEngine();
        E.Viewport->Width = ScreenW;
        E.Viewport->Height = ScreenH;
        E.Viewport->SetInputDevice(Console);
        tMouseCursorInformation& M = *E.Viewport->GetMouseCursorInfo();
        M.HalfWidth = ScreenW / 2;
        M.HalfHeight = ScreenH / 2;
        EngineINI->SetValue("Core", "Desktop", "tGUIDesktop");
        WM = NewObject<tWindowManager>();
        E.GUI = WM;
        WM->PostInit();
    }
    tGUIDriver(const tGUIDriver&) = delete;
    tGUIDriver& operator=(const tGUIDriver&) = delete;

    std::vector<std::string> ConsoleMessages() { return Host->ConsoleMessages(); }

    // Data/UI/<Name>, seen by the file system from now on.
    void WriteLayout(const std::string& Layout, const std::string& Name) {
        Host->Work.WriteFile("Data/UI/" + Name, Layout);
        FileSystem->SetRootDir("Data\\");
    }
    // Loads Layout (written as Data/UI/<Name>) under the desktop.
    void AddGUI(const std::string& Layout, const std::string& Name = "test.gui") {
        WriteLayout(Layout, Name);
        Console->SendCommand("AddGUI UI\\" + ShortString(Name), true);
    }
    template <class T = tGUIView>
    T* View(const char* ID) {
        return static_cast<T*>(WM->FindView(ID));
    }
    void Tick(int Steps = 1) {
        for (int I = 0; I < Steps; ++I) WM->Tick(Step);
    }
    void MoveMouse(int32_t X, int32_t Y) {
        tMouseCursorInformation& M = *Engine->Viewport->GetMouseCursorInfo();
        M.MouseX = X - M.HalfWidth;
        M.MouseY = Y - M.HalfHeight;
        Tick();
    }
    // Keys and buttons reach the current input device as the viewport sends them.
    void Key(uint8_t Code, bool Pressed) { Engine->Viewport->GetInputDevice()->SendKey(Code, Pressed); }
    void Press(uint8_t Code) {
        Key(Code, true);
        Key(Code, false);
    }
    void ClickAt(int32_t X, int32_t Y) {
        MoveMouse(X, Y);
        Press(1);
        Tick();
    }
    void Drag(int32_t FromX, int32_t FromY, int32_t ToX, int32_t ToY) {
        MoveMouse(FromX, FromY);
        Key(1, true);
        MoveMouse((FromX + ToX) / 2, (FromY + ToY) / 2);
        MoveMouse(ToX, ToY);
        Key(1, false);
        Tick();
    }

    std::unique_ptr<tEngineHost> Host;
    tWindowManager* WM = nullptr;
};

class GUITest : public ::testing::Test, protected tGUIDriver {
protected:
    // Nothing the GUI made may be left alive.
    void TearDown() override { EXPECT_EQ(Host->ShutDownServices(), 0); }
};
