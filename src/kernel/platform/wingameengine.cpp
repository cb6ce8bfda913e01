#include "kernel/platform/wingameengine.h"

#include <SDL2/SDL_timer.h>

#include <cmath>

#include "kernel/console/commands.h"
#include "kernel/core/commandline.h"
#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/updatetimes.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/os/ossystem.h"
#include "kernel/platform/options.h"
#include "kernel/platform/savedbindings.h"
#include "kernel/null/nullviewport.h"
#include "kernel/platform/winviewport.h"
#include "kernel/renderer/globjects.h"
#include "kernel/vfs/filemapper.h"
#include "kernel/vfs/inifile.h"
#include "game/match.h"
#include "kernel/world/world.h"
#include "net/server/netserver.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/guimanager.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/uiscale.h"

Z_IMPLEMENT_CLASS(tWinGameEngine,
    .Operations = {{"Tick"}, {"RenderFrame"}, {"GetEngineName"}, {"GetEngineTime"}, {"GetWorld"}, {"SetWorld"},
                   {"InitGame"}, {"DoneGame"}, {"RegisterSubsystem"}, {"UnregisterSubsystem"}, {"DebugDump"}})

namespace {

constexpr TVector4 White = {1, 1, 1, 1};

// The start-up scripts are the program's own: unlike a typed "Exec", a
// missing one ends the program.
void RunStartUpScript(const ShortString& Name) {
    if (ShortString Error = tIFileMapper::OpenError(Name); !Error.empty()) Logger->Fatal(Error);
    Console->SendCommand("exec " + Name, true);
}

}  // namespace

tWinGameEngine::tWinGameEngine() {
    ProcTrace trace("tWinGameEngine.Init()");
    LogBanner();
    RunStartUpScript("StdConfig\\engine.cfg");
    ApplySavedOptions();
    EngineActive = false;
    ActiveSubsystems = 0;
    EngineTime = 0;
}

void tWinGameEngine::LogBanner() {
    Logger->Log(GetEngineName());
    Logger->Log("A data-driven, console-driven 3D engine with an arcade flight game");
    Logger->Log(ShortString("Version: ") + EngineBuildVersion);
    Logger->Log(ShortString("Compiled on: ") + EngineCompilationDate);
    Logger->Log("Running on: " + OSSystem->GetOSVersion());
}

tWinGameEngine::~tWinGameEngine() {
    ProcTrace trace("tWinGameEngine.Done()");
    Logger->Log("Shuting down primary subsystems...");
    if (World) DisposeObject(World);
    if (GUI) DisposeObject(GUI);
    if (Viewport) DisposeObject(Viewport);
    if (Renderer) DisposeObject(Renderer);
    Logger->Log("Shuting down secondary subsystems...");
    // Each disposal unregisters the subsystem and moves the last one first.
    while (ActiveSubsystems > 0) {
        tSubSystem* S = Subsystems[0];
        if (S == Audio) Audio = nullptr;
        DisposeObject(S);
    }
    Logger->Log("Stopping engine timer...");
    if (Timer) DisposeObject(Timer);
}

void tWinGameEngine::InitGame() {
    ProcTrace trace("tWinGameEngine.InitGame()");
    const float StartTime = Timer->GetSeconds();

    // A script may have asked for a window no device can give: it opens at
    // the default size instead.
    if (const ShortString Error = WindowSizeError(EngineConfig.ScreenWidth, EngineConfig.ScreenHeight, nullptr);
        !Error.empty()) {
        EngineConfig.ScreenWidth = tEngineConfiguration{}.ScreenWidth;
        EngineConfig.ScreenHeight = tEngineConfiguration{}.ScreenHeight;
        Console->DisplayError(Error + ", the window opens at " + Int2Str(EngineConfig.ScreenWidth) + " x " +
                              Int2Str(EngineConfig.ScreenHeight));
    }
    // A program without a window names the null viewport.
    if (EngineINI->GetValue("Core", "Viewport") == "tNullViewport") Viewport = NewObject<tNullViewport>(NewViewportParams(Console));
    else Viewport = NewObject<tWinViewport>(NewViewportParams(Console));
    Viewport->OpenViewport(GetEngineName(), VL_LEFTUPPER);
    Linker->LoadAllPackages();

    Renderer = InstantiateClassAs<tRenderDevice>(EngineINI->GetValue("Core", "RenderDevice"));
    Viewport->AttachRenderDevice(Renderer);
    // A program without a GUI names no GUI manager.
    if (!EngineINI->GetValue("Core", "GUIManager").empty()) GUI = InstantiateClassAs<tGUIManager>(EngineINI->GetValue("Core", "GUIManager"));
    Audio = InstantiateClassAs<tAudioSubSystem>(EngineINI->GetValue("Core", "Audio"));
    EngineActive = true;

    Linker->BroadcastEngineInit();
    Console->RegisterCommand("EnumSubSystems", ConsoleProc<&tWinGameEngine::EnumSubsystemsC>(this), Commands);
    Console->RegisterCommand("ObjectStats", ConsoleProc<&tWinGameEngine::ObjectStatsC>(this), Commands);
    // The dedicated server names its own script, which sets up its match.
    const ShortString StartUpScript = EngineINI->GetValue("Engine", "StartUpScript");
    RunStartUpScript(StartUpScript.empty() ? ShortString("StdConfig\\console.cfg") : StartUpScript);
    ApplySavedBindings();
    Console->LinesRecover = true;
    // The command line's "+" groups, as if typed once the start-up scripts ran.
    for (const std::string& Line : CommandLine.ConsoleLines) Console->RunTypedLine(Line);
    // A dedicated server hosts its match once it is set up.
    if (CommandLine.Dedicated) {
        if (Match) Match->LeavePlayerOut();
        if (CommandLine.Port != 0) Console->RunTypedLine("Set ServerPort " + Int2Str(CommandLine.Port));
        Console->RunTypedLine("Host");
    }
    Logger->Log("Startup took " + Flt2Str(Timer->GetSeconds() - StartTime) + " seconds");
    ExecutionTime = 0;  // start-up time is not replayed as updates
}

void tWinGameEngine::Tick(float DeltaSeconds) {
    if (!EngineActive) {
        SDL_Delay(InactiveSleepMilliseconds);
        return;
    }
    EngineTime += DeltaSeconds;
    ExecutionTime += DeltaSeconds;
    const int32_t FixedUpdates = TickDriver ? TickDriver->FixedUpdates() : -1;
    if (ExecutionTime > MaxReplaySeconds && !(TickDriver && TickDriver->KeepsStalledTime())) {
        Logger->Log("Dropped " + Flt2Str(ExecutionTime - MaxReplaySeconds) + " seconds of simulation after a stall");
        ExecutionTime = MaxReplaySeconds;
    }
    int32_t Updates = 0;
    if (FixedUpdates >= 0) {
        // A timed replay: the frame runs its updates, whatever the clock says.
        ExecutionTime = 0;
        for (; Updates < FixedUpdates; ++Updates) Update();
    } else {
        while (ExecutionTime > UpdateStep) {
            ExecutionTime -= UpdateStep;
            ++Updates;
            Update();
        }
    }
    // A device that draws nothing (the dedicated server's) is spared the frame.
    if (!Renderer->DrawsFrames()) {
        if (TickDriver) TickDriver->FrameShown();
        return;
    }
    Renderer->BeginFrame(ZRT_BACKBUFFER);
    RenderFrame();
    if (EngineConfig.ShowFPS) ShowFrameRate(DeltaSeconds, Updates);
    Renderer->EndFrame();
    if (TickDriver) TickDriver->FrameShown();
}

void tWinGameEngine::Update() {
    // The driver may end itself (and leave) on either side of the update.
    if (TickDriver) TickDriver->BeforeUpdate();
    // A paused engine still consumes the steps, but its subsystems stand
    // still; the menu does not stop a match hosted for other machines.
    const float Step = EnginePaused || (MenuPaused && !RunsUnderMenu()) ? 0.0f : UpdateStep;
    const double Start = tUpdateTimes::ThreadSeconds();
    // The count is read again each time: a tick may add or remove subsystems.
    for (int32_t I = 0; I < ActiveSubsystems; ++I) Subsystems[I]->Tick(Step);
    UpdateTimes.Record(tUpdateTimes::ThreadSeconds() - Start);
    if (TickDriver) TickDriver->AfterUpdate();
}

bool tWinGameEngine::RunsUnderMenu() {
    return (NetServer && NetServer->Hosting()) || (TickDriver && TickDriver->RunsUnderMenu());
}

void tWinGameEngine::ShowFrameRate(float DeltaSeconds, int32_t Updates) {
    const float X = static_cast<float>(Viewport->GetViewportWidth() - ScaledPixels(FPSColumnWidth));
    const auto Line = [](int32_t N) { return static_cast<float>(ScaledPixels(N * FPSLineHeight)); };
    Renderer->AddTextString(X, Line(0), "FPS     : " + Int2Str(std::lround(CurrentTickRate)), &White);
    Renderer->AddTextString(X, Line(1), "Sec/Frm : " + Flt2Str(DeltaSeconds), &White);
    Renderer->AddTextString(X, Line(2), "Upd/Frm : " + Int2Str(Updates), &White);
}

void tWinGameEngine::RenderFrame() {
    for (int32_t I = 0; I < ActiveSubsystems; ++I) Subsystems[I]->RenderFrame();
}

tWorld* tWinGameEngine::GetWorld() {
    // A world makes itself the current one while it is built.
    if (!World) Linker->InstantiateClassByName("tNullWorld", "");
    return World;
}

void tWinGameEngine::SetWorld(tWorld* W) {
    ProcTrace trace("tEngine.SetWorld()");
    Logger->Guard(W && W->DynamicCast("tWorld"), "World isn't a tWorld");
    Logger->Guard(W != World, "Unable to add the same World");
    if (World) {
        Logger->Log("Disposing world...");
        DisposeObject(World);
    }
    World = W;
}

void tWinGameEngine::RegisterSubsystem(tSubSystem* S) {
    ProcTrace trace("tWinGameEngine.RegisterSubsystem(" + S->ClassName() + ")");
    Logger->Guard(S->DynamicCast("tSubSystem"), S->ClassName() + " isn't inherited from tSubSystem");
    for (int32_t I = 0; I < ActiveSubsystems; ++I)
        Logger->Guard(Subsystems[I] != S, "Duplicate subsystem registration: " + S->ClassName());
    Logger->Guard(ActiveSubsystems < MaxSubsystems, "Too many subsystems: " + S->ClassName());
    Subsystems[ActiveSubsystems++] = S;
    S->SetRegisteredState(true);
    OrganizeSubsystems();
}

void tWinGameEngine::UnregisterSubsystem(tSubSystem* S) {
    ProcTrace trace("tWinGameEngine.UnRegisterSubsystem(" + S->ClassName() + ")");
    for (int32_t I = 0; I < ActiveSubsystems; ++I) {
        if (Subsystems[I] != S) continue;
        S->SetRegisteredState(false);
        Subsystems[I] = Subsystems[ActiveSubsystems - 1];
        Subsystems[--ActiveSubsystems] = nullptr;
        OrganizeSubsystems();
        return;
    }
    Logger->Fatal("Unable to find requested subsystem: " + S->ClassName());
}

void tWinGameEngine::OrganizeSubsystems() {
    ProcTrace trace("tWinGameEngine.OrganizeSubsystems()");
    for (bool Swapped = true; Swapped;) {
        Swapped = false;
        for (int32_t I = 0; I + 1 < ActiveSubsystems; ++I) {
            tSubSystem*& A = Subsystems[I];
            tSubSystem*& B = Subsystems[I + 1];
            Logger->Log("SubSystems[" + Int2Str(I + 1) + "].GetPriorityClass = " + Int2Str(A->GetPriorityClass()));
            if (B->GetPriorityClass() >= A->GetPriorityClass()) continue;
            Logger->Log("Changing order: " + A->ClassName() + " and " + B->ClassName());
            std::swap(A, B);
            Swapped = true;
        }
    }
}

void tWinGameEngine::DebugDump() {
    Logger->Log("ActiveSubSystems=" + Int2Str(ActiveSubsystems));
    for (int32_t I = 0; I < ActiveSubsystems; ++I) Logger->Log(Subsystems[I]->ClassName());
}

void tWinGameEngine::ObjectStatsC(const ShortString&) {
    Warning->Log("ObjectStats: objects " + Int2Str(Linker->ObjectsGraph().GetTotalItems()) + " GL objects " +
                 Int2Str(static_cast<int32_t>(tGLObjects::Alive)));
}

void tWinGameEngine::EnumSubsystemsC(const ShortString&) {
    Console->Display(Int2Str(ActiveSubsystems) + " subsystems active:");
    for (int32_t I = 0; I < ActiveSubsystems; ++I) Console->Display(Subsystems[I]->ClassName());
}
