#include "kernel/renderer/opengl/screencapture.h"

#include <GL/gl.h>

#include <memory>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/loaders/bitmaploader.h"
#include "kernel/loaders/image.h"
#include "kernel/objects/registry.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tScreenCaptureDevice, .Operations = {{"ScreenShotC", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tOGLScreenCaptureDevice, .Operations = {{"ScreenShotC"}})

namespace {

void ScreenShotCommand(void* Device, const ShortString& Args) {
    static_cast<tScreenCaptureDevice*>(Device)->ScreenShotC(Args);
}

tConsoleProc ScreenShotProc(tScreenCaptureDevice* Device) { return {Device, &ScreenShotCommand}; }

ShortString NumberedName(int32_t Number, const ShortString& Extension) {
    ShortString Digits = Int2Str(Number);
    ShortString Name = "shot";
    for (std::size_t I = Digits.size(); I < tOGLScreenCaptureDevice::NumberDigits; ++I) Name += '0';
    return Name + Digits + Extension;
}

// The loader that writes FileName's extension; fatal when it cannot save.
tBitmapLoader* SavingLoaderFor(const ShortString& FileName) {
    tZClass LoaderClass;
    Linker->FindFileLoader("tBitmapLoader", FileName, LoaderClass);
    tZObject* Obj = tZObject::Instantiate(LoaderClass, "");
    auto* Loader = static_cast<tBitmapLoader*>(Obj);
    if (!Obj->DynamicCast(&tBitmapLoader::ClassInfo) || !Loader->CanSave()) {
        ShortString Name = Obj->ClassName();
        tZObject::DisposeObject(Obj);
        Logger->Fatal(Name + " doesn't support saving");
    }
    return Loader;
}

}  // namespace

tScreenCaptureDevice::tScreenCaptureDevice() { Console->RegisterCommand("ScreenShot", ScreenShotProc(this)); }

tScreenCaptureDevice::~tScreenCaptureDevice() {
    // At shutdown the console is gone before the render device.
    if (Console) Console->UnRegisterCommand("ScreenShot", ScreenShotProc(this));
}

tOGLScreenCaptureDevice::tOGLScreenCaptureDevice() { EngineVars->RegisterVar("ScreenShotDir", ScreenShotDir); }

// The device built with the next rendering context registers the name again,
// which writes into the bound field first: the binding must not be left on
// this device's field.
tOGLScreenCaptureDevice::~tOGLScreenCaptureDevice() {
    if (EngineVars) EngineVars->ReleaseFieldsOf(this);
}

void tOGLScreenCaptureDevice::ScreenShotC(const ShortString& Params) {
    ProcTrace trace("tOGLScreenCaptureDevice.SaveScreenShotC()");
    Logger->Guard(Engine && Engine->Renderer && Engine->Viewport, "Viewport isn't assigned");
    Engine->Renderer->EndFrame();

    ShortString Extension = EngineINI->GetValue("Renderer", "ScreenshotsExtension");
    if (Extension.empty()) Extension = DefaultExtension;
    ShortString FileName = GetToken(Params, 1);
    if (FileName.empty()) FileName = NumberedName(ScreenShotNumber++, Extension);
    ShortString Dir = ScreenShotDir;
    if (!Dir.empty() && Dir[Dir.size() - 1] != '\\') Dir += '\\';

    tBitmapLoader* Loader = SavingLoaderFor(FileName);
    FileSystem->CreateDirs(Dir);
    std::unique_ptr<tStream> Stream = FileSystem->CreateFileWriter(Dir + FileName, {WF_HALTONERRORS, WF_OVERWRITE});

    // Rows come bottom-up, as a bitmap file stores them.
    TBMPRec Shot;
    Shot.Width = Engine->Viewport->GetViewportWidth();
    Shot.Height = Engine->Viewport->GetViewportHeight();
    Shot.Depth = 1;
    Shot.PixelData = std::make_unique<uint8_t[]>(static_cast<std::size_t>(Shot.Width) * Shot.Height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Shot.Width, Shot.Height, GL_RGB, GL_UNSIGNED_BYTE, Shot.PixelData.get());
    glFinish();
    Loader->SaveBitmap(*Stream, Shot);
    Stream.reset();
    tZObject::DisposeObject(Loader);
    Console->Display("Screenshot saved to " + Dir + FileName);
}
