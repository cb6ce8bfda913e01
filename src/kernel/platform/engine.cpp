#include "libraries/classes/engine.h"

#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/gui/padactions.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tEngine,
    .Operations = {{"GetEngineName", ZOP_ABSTRACT}, {"GetEngineTime", ZOP_ABSTRACT}, {"GetWorld", ZOP_ABSTRACT},
                   {"SetWorld", ZOP_ABSTRACT}, {"InitGame", ZOP_ABSTRACT}, {"DoneGame", ZOP_ABSTRACT},
                   {"RegisterSubsystem", ZOP_ABSTRACT}, {"UnregisterSubsystem", ZOP_ABSTRACT},
                   {"DebugDump", ZOP_ABSTRACT}})

tEngine::tEngine() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
    ProcTrace trace("tEngine.Init()");
    Reset();
    RegisterConfigurationVars();
    CountRun();
    Timer = InstantiateClassAs<tTimer>(EngineINI->GetValue("Engine", "Timer"));
}

tEngine::~tEngine() {
    ProcTrace trace("tEngine.Done()");
    Reset();
}

void tEngine::RegisterConfigurationVars() {
    EngineVars->RegisterVar("ConsoleFontName", EngineConfig.ConsoleFontName, BoundFields);
    EngineVars->RegisterVar("ScreenWidth", EngineConfig.ScreenWidth, BoundFields);
    EngineVars->RegisterVar("ScreenHeight", EngineConfig.ScreenHeight, BoundFields);
    EngineVars->RegisterVar("BitsPerPixel", EngineConfig.BitsPerPixel, BoundFields);
    EngineVars->RegisterVar("zBufferBits", EngineConfig.ZBufferBits, BoundFields);
    EngineVars->RegisterVar("Frequency", EngineConfig.Frequency, BoundFields);
    EngineVars->RegisterVar("FullScreen", EngineConfig.FullScreen, BoundFields);
    EngineVars->RegisterVar("Stereo", EngineConfig.Stereo, BoundFields);
    EngineVars->RegisterVar("MaxTickRate", EngineConfig.MaxTickRate, BoundFields);
    EngineVars->RegisterVar("ShowFPS", EngineConfig.ShowFPS, BoundFields);
    EngineVars->RegisterVar("EnginePaused", EnginePaused, BoundFields);
    EngineVars->RegisterVar("EffectsVolume", EngineConfig.EffectsVolume, BoundFields);
    EngineVars->RegisterVar("MusicVolume", EngineConfig.MusicVolume, BoundFields);
    EngineVars->RegisterVar("MouseSensitivity", EngineConfig.MouseSensitivity, BoundFields);
    RegisterFlightKeyVars();
    RegisterPadActionVars();
    // The viewport binds it to its own field when it comes; until then the
    // variable keeps the default (or what a script and the options set).
    if (!EngineVars->IsVarDefined("InvertMouse")) EngineVars->SetVar("InvertMouse", true);
}

tViewportParams* tEngine::NewViewportParams(tInputDevice* InputDevice) const {
    auto* Params = new tViewportParams;
    Params->Width = EngineConfig.ScreenWidth;
    Params->Height = EngineConfig.ScreenHeight;
    Params->BitsPerPixel = EngineConfig.BitsPerPixel;
    Params->ZBufferBits = EngineConfig.ZBufferBits;
    Params->Frequency = EngineConfig.Frequency;
    Params->FullScreen = EngineConfig.FullScreen;
    Params->Stereo = EngineConfig.Stereo;
    Params->InputDevice = InputDevice;
    return Params;
}

// "FirstRun" keeps the build that first ran here; "RunsCount" counts every start.
void tEngine::CountRun() {
    if (EngineINI->GetValue("Engine", "FirstRun").empty()) EngineINI->SetValue("Engine", "FirstRun", EngineBuildVersion);
    ShortString Runs = EngineINI->GetValue("Engine", "RunsCount");
    Logger->Guard(IsCorrectInt(Runs), "Wrong value in [Engine].RunsCount key");
    EngineINI->SetValue("Engine", "RunsCount", Int2Str(static_cast<int64_t>(Str2Int(Runs)) + 1));
}
