// The GUI's costs: finding the region under the mouse among 500, loading a
// layout of 200 objects, and one GUI frame (tick and drawing) with the
// console open over a window, which allocates nothing.

#include "common/allocationcounter.h"
#include "gui/gui_fixture.h"

namespace {

// Rows of small windows, each with a label and a button: 3 x Windows objects.
std::string Windows(int Count) {
    std::string Layout;
    for (int I = 0; I < Count; ++I) {
        const double X = (I % 20) * 0.05, Y = (I / 20) * 0.04;
        Layout += "GUIObject \"tGUIWindow\" { Param \"" + std::to_string(X) + " " + std::to_string(Y) +
                  " 0.05 0.04 W\"\n  GUIObject \"tGUIStaticWidget\" { Param \"0 0.02 0.02 0.01 L\" }\n"
                  "  GUIObject \"tGUIPushButton\" { Param \"0.025 0.02 0.02 0.01 B\" BindConsoleCommand \"Echo\" }\n}\n";
    }
    return Layout;
}

void BM_FindRegionAmong500(benchmark::State& State) {
    tGUIDriver GUI;
    GUI.AddGUI(Windows(167));  // 167 windows of 3 regions: 501 regions under the desktop
    int32_t X = 0;
    for (auto _ : State) {
        X = (X + 37) % tGUIDriver::ScreenW;
        benchmark::DoNotOptimize(GUI.WM->GetDesktop()->FindRegion({X, (X * 7) % tGUIDriver::ScreenH}));
    }
    State.SetItemsProcessed(State.iterations());
}

void BM_Load200ObjectLayout(benchmark::State& State) {
    tGUIDriver GUI;
    GUI.WriteLayout(Windows(67), "big.gui");  // 201 objects
    for (auto _ : State) {
        GUI.WM->LoadGUIFile("UI\\big.gui");
        State.PauseTiming();
        Console->SendCommand("ResetGUI", true);
        GUI.Tick();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * 201);
}

void BM_GUIFrameWithTheConsoleOpen(benchmark::State& State) {
    tGUIDriver GUI;
    GUI.WriteLayout("GUIObject \"tGUIStdConsole\" { Param \"0 0 1 0.72 Console\" }\n", "Console.gui");
    GUI.AddGUI(Windows(4));
    Console->SendCommand("ToggleConsole; Echo a message to show", true);
    int32_t Frame = 0;
    RunFrames(State, [&] {
        GUI.MoveMouse(100 + (++Frame % 200), 300);
        GUI.WM->RenderFrame();
    });
}

}  // namespace

BENCHMARK(BM_FindRegionAmong500);
BENCHMARK(BM_Load200ObjectLayout);
BENCHMARK(BM_GUIFrameWithTheConsoleOpen);
