#include "common/enginehost.h"

#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "startup.h"

Z_IMPLEMENT_CLASS(tRecordingRenderDevice)
Z_IMPLEMENT_CLASS(tWindowlessViewport)

void tRecordingRenderDevice::BeginFrame(TRenderTarget Target) {
    tRenderDevice::BeginFrame(Target);
    Texts.clear();
    DrawnCount = 0;
}

void tRecordingRenderDevice::AddBuffer(tVertexArray* VertexArray, tShaderResource*) {
    if (DrawnCount < MaxDrawn) Drawn[DrawnCount] = VertexArray;
    ++DrawnCount;
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
    StartLogging();
    Work.WriteFile("Data/StdConfig/engine.ini", DefaultINI);
    Work.WriteFile("Data/StdConfig/engine.cfg", DefaultEngineCfg);
    StartBaseServices();
    Console = NewObject<tEngineConsole>();
    EngineVars = NewObject<tEngineVarsManager>();
    ServicesUp = true;
}

int32_t tEngineHost::ShutDownServices() {
    if (!ServicesUp) return 0;
    ServicesUp = false;
    FreeCoreServices();
    FreeFiles();
    return Linker->ObjectsGraph().GetTotalItems();
}

tEngineHost::~tEngineHost() {
    ShutDownServices();
    FreeObjectModel();
    StopLogging();
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
