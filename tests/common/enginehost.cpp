#include "common/enginehost.h"

#include "kernel/core/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/inifile.h"
#include "kernel/core/logger.h"
#include "kernel/core/varsmanager.h"
#include "kernel/platform/ossystem.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/resources/registry.h"
#include "kernel/vfs/filesystem.h"

Z_IMPLEMENT_CLASS(tRecordingRenderDevice)
Z_IMPLEMENT_CLASS(tWindowlessViewport)

void tRecordingRenderDevice::BeginFrame(TRenderTarget Target) {
    tRenderDevice::BeginFrame(Target);
    Texts.clear();
}

void tRecordingRenderDevice::AddTextString(float X, float Y, const ShortString& Text, const TVector4*) {
    Texts.push_back({X, Y, Text});
}

void tWindowlessViewport::OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) {
    Title = NewTitle;
    Location = NewLocation;
    ViewportOpened = true;
}

tEngineHost::tEngineHost() {
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
    Work.WriteFile("Data/StdConfig/engine.ini", DefaultINI);
    Work.WriteFile("Data/StdConfig/engine.cfg", DefaultEngineCfg);
    OSSystem = new tWinOSSystem();
    Linker = new tObjectsLinker();
    Linker->RegisterClasses();
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir("Data\\");
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
    Console = NewObject<tEngineConsole>();
    EngineVars = NewObject<tEngineVarsManager>();
    ServicesUp = true;
}

int32_t tEngineHost::ShutDownServices() {
    if (!ServicesUp) return 0;
    ServicesUp = false;
    tZObject::DisposeObject(EngineVars);
    tZObject::DisposeObject(Console);
    if (Engine) tZObject::DisposeObject(Engine);
    delete EngineINI;
    EngineINI = nullptr;
    tZObject::DisposeObject(FileSystem);
    return Linker->ObjectsGraph().GetTotalItems();
}

tEngineHost::~tEngineHost() {
    ShutDownServices();
    tZObject::DisposeObject(Linker);
    delete OSSystem;
    OSSystem = nullptr;
    delete Warning;
    Warning = nullptr;
    delete Logger;
    Logger = nullptr;
}

tWinGameEngine& tEngineHost::StartEngine() {
    Engine = NewObject<tWinGameEngine>();
    return *static_cast<tWinGameEngine*>(Engine);
}

tWinGameEngine& tEngineHost::StartActiveEngine() {
    tWinGameEngine& E = StartEngine();
    auto* Params = new tViewportParams;
    Params->Width = 640;
    Params->Height = 480;
    E.Viewport = NewObject<tWindowlessViewport>(Params);
    Device = NewObject<tRecordingRenderDevice>();
    Device->Texts.reserve(tRecordingRenderDevice::ReservedTexts);
    E.Renderer = Device;
    E.EngineActive = true;
    return E;
}

std::vector<std::string> tEngineHost::ConsoleMessages() {
    std::vector<std::string> Messages;
    tConsoleMessagesHistory* History = Console->GetMessagesHistory();
    for (int32_t I = History->GetTotalMessages(); I >= 1; --I) {
        tConsoleMessage M;
        History->GetMessage(I, M);
        Messages.push_back(M.Msg.str());
    }
    return Messages;
}

std::string tEngineHost::Log() const { return ReadWholeFile(Work.Path() / "engine.log"); }
