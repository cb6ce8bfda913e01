#include "libraries/classes/viewport.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tViewport,
    .Operations = {{"OpenViewport", ZOP_ABSTRACT}, {"ResizeViewport"}, {"CloseViewport", ZOP_ABSTRACT},
                   {"AttachRenderDevice"}, {"DetachRenderDevice"}, {"SetInputDevice"},
                   {"CenterMouse", ZOP_ABSTRACT}, {"GetInputDevice"}, {"GetMouseCursorInfo"},
                   {"GetViewportWidth"}, {"GetViewportHeight"}, {"GetDeviceContext"},
                   {"GetWindow", ZOP_ABSTRACT}, {"SetPointerHeld"}, {"RenderFrame"}})

tViewport::tViewport(tViewportParams* Params) {
    ProcTrace trace("tViewport.Init()");
    MouseCursorInfo.InvertMouse = true;
    // What the scripts and the options chose before the window existed stays.
    if (EngineVars->IsVarDefined("InvertMouse")) EngineVars->GetVar("InvertMouse", MouseCursorInfo.InvertMouse);
    EngineVars->RegisterVar("InvertMouse", MouseCursorInfo.InvertMouse, BoundFields);
    SetViewportParams(Params);
}

tViewport::~tViewport() = default;

void tViewport::SetViewportParams(tViewportParams* Params) {
    ProcTrace trace("tViewport.SetViewportParams()");
    Logger->Guard(Params, "Guard failed");
    Width = Params->Width;
    Height = Params->Height;
    BitsPerPixel = Params->BitsPerPixel;
    ZBufferBits = Params->ZBufferBits;
    Frequency = Params->Frequency;
    FullScreen = Params->FullScreen;
    Stereo = Params->Stereo;
    InputDevice = Params->InputDevice;
    MouseCursorInfo.HalfWidth = Width / 2;
    MouseCursorInfo.HalfHeight = Height / 2;
    delete Params;
}

void tViewport::ResizeViewport(tViewportParams* Params) {
    ProcTrace trace("tViewport.ResizeViewport()");
    tRenderDevice* Device = RenderDevice;
    CloseViewport();
    SetViewportParams(Params);
    OpenViewport(Title, Location);
    if (Device) AttachRenderDevice(Device);
    Logger->Log("Viewport successfuly resized");
}

void tViewport::AttachRenderDevice(tRenderDevice* RD) {
    ProcTrace trace("tViewport.AttachRenderDevice()");
    if (RenderDevice) DetachRenderDevice();
    RenderDevice = RD;
    Logger->Guard(RenderDevice, "RenderDevice isn't assigned");
    if (!RenderDevice->CreateRenderingContext(this)) Logger->Fatal("Unable to attach RenderDevice");
    Logger->Log(RenderDevice->ClassName() + " attached to a viewport");
}

void tViewport::DetachRenderDevice() {
    ProcTrace trace("tViewport.DetachRenderDevice()");
    if (!RenderDevice) return;
    RenderDevice->DestroyRenderingContext();
    RenderDevice = nullptr;
    Logger->Log("RenderDevice detached from a viewport");
}
