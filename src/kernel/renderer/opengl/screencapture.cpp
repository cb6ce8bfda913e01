#include "kernel/renderer/opengl/screencapture.h"

#include <GL/gl.h>

#include <filesystem>
#include <memory>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/loaders/bitmaploader.h"
#include "kernel/loaders/image.h"
#include "kernel/objects/registry.h"
#include "kernel/vfs/filestream.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tScreenCaptureDevice, .Operations = {{"ScreenShotC", ZOP_ABSTRACT}, {"CaptureFrame", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tOGLScreenCaptureDevice, .Operations = {{"ScreenShotC"}, {"CaptureFrame"}})

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

// The name "ScreenShot" was given: the whole argument text, so a name may
// hold blanks; surrounding double quotes are dropped.
ShortString ShotName(const ShortString& Params) {
    ShortString Name = Trim(Params);
    if (Name.size() >= 2 && Name[0] == '"' && Name[Name.size() - 1] == '"') Name = Name.substr(1, Name.size() - 2);
    return Name;
}

// Screenshots stay inside their directory: no absolute path, no drive or
// virtual-file prefix, no ".." step. Empty when Path is such a name.
ShortString OutsideShotsDir(const ShortString& Name, const ShortString& Path) {
    const ShortString Refused = "Screenshots are written inside the screenshots directory only: " + Name;
    if (Name[0] == '\\' || Name[0] == '/' || Path.find(':') != ShortString::npos) return Refused;
    std::string_view Rest = Path.view();
    while (!Rest.empty()) {
        std::size_t Cut = Rest.find_first_of("\\/");
        if (Rest.substr(0, Cut) == "..") return Refused;
        Rest = Cut == std::string_view::npos ? std::string_view() : Rest.substr(Cut + 1);
    }
    return {};
}

// The directory part of a virtual path, with its trailing delimiter.
ShortString DirectoryOf(const ShortString& Path) {
    std::size_t Cut = Path.view().find_last_of("\\/");
    return Cut == std::string_view::npos ? ShortString() : Path.substr(0, Cut + 1);
}

// A loader of the class that can save, or nullptr with the error that
// the missing saving would have been fatal with shown on the console.
tBitmapLoader* SavingLoader(const tZClass& LoaderClass) {
    tZObject* Obj = tZObject::Instantiate(LoaderClass, "");
    auto* Loader = static_cast<tBitmapLoader*>(Obj);
    if (Obj->DynamicCast(&tBitmapLoader::ClassInfo) && Loader->CanSave()) return Loader;
    Console->DisplayError(Obj->ClassName() + " doesn't support saving");
    tZObject::DisposeObject(Obj);
    return nullptr;
}

}  // namespace

tScreenCaptureDevice::tScreenCaptureDevice() { Console->RegisterCommand("ScreenShot", ScreenShotProc(this), Commands); }

tOGLScreenCaptureDevice::tOGLScreenCaptureDevice() { EngineVars->RegisterVar("ScreenShotDir", ScreenShotDir, BoundFields); }

// The device built with the next rendering context registers the name again,
// which writes into the bound field first: BoundFields lets go of it before.
tOGLScreenCaptureDevice::~tOGLScreenCaptureDevice() = default;

// The shot's name comes from the player: every way it could fail (no loader
// for its extension, a loader that cannot save, a file that cannot be
// written, a place outside the screenshots directory) is checked before the
// frame is touched and shown as a console error; the game goes on.
void tOGLScreenCaptureDevice::ScreenShotC(const ShortString& Params) {
    ProcTrace trace("tOGLScreenCaptureDevice.SaveScreenShotC()");
    Logger->Guard(Engine && Engine->Renderer && Engine->Viewport, "Viewport isn't assigned");

    ShortString Extension = EngineINI->GetValue("Renderer", "ScreenshotsExtension");
    if (Extension.empty()) Extension = DefaultExtension;
    ShortString FileName = ShotName(Params);
    const bool Numbered = FileName.empty();
    ShortString Dir = ScreenShotDir;
    if (!Dir.empty() && Dir[Dir.size() - 1] != '\\') Dir += '\\';
    if (Numbered) {
        // The shots of earlier runs stay: the number moves past taken names.
        auto Taken = [&Dir](const ShortString& Name) {
            std::error_code Ignored;
            return std::filesystem::exists(FileSystem->VirtualNameToPhysical(Dir + Name).str(), Ignored);
        };
        FileName = NumberedName(ScreenShotNumber, Extension);
        while (ScreenShotNumber < MaxShotNumber && Taken(FileName)) FileName = NumberedName(++ScreenShotNumber, Extension);
    }
    const ShortString Path = Dir + FileName;

    if (TotalPendingShots == MaxPendingShots) {
        Console->DisplayError("Too many screenshots in one frame: " + FileName);
        return;
    }
    if (ShortString Refused = OutsideShotsDir(FileName, Path); !Refused.empty()) {
        Console->DisplayError(Refused);
        return;
    }
    tZClass LoaderClass;
    if (!Linker->LookUpFileLoader("tBitmapLoader", FileName, LoaderClass)) {
        Console->DisplayError(tObjectsLinker::NoLoaderMessage(FileName));
        return;
    }
    tOwned<tBitmapLoader> Loader(SavingLoader(LoaderClass));
    if (!Loader) return;
    FileSystem->CreateDirs(DirectoryOf(Path));
    tFileStream Stream(Path, FSTREAM_REWRITE, FSTREAM_REAPORTERRORS);
    if (!Stream.Open) {
        Console->DisplayError(Stream.OpenError());
        return;
    }
    if (Numbered) ++ScreenShotNumber;
    PendingShots[TotalPendingShots++] = Path;
}

void tOGLScreenCaptureDevice::CaptureFrame() {
    if (TotalPendingShots == 0) return;
    ProcTrace trace("tOGLScreenCaptureDevice.CaptureFrame()");
    // Rows come bottom-up, as a bitmap file stores them.
    TBMPRec Shot;
    Shot.Width = Engine->Viewport->GetViewportWidth();
    Shot.Height = Engine->Viewport->GetViewportHeight();
    Shot.Depth = 1;
    Shot.PixelData = std::make_unique<uint8_t[]>(static_cast<std::size_t>(Shot.Width) * Shot.Height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, Shot.Width, Shot.Height, GL_RGB, GL_UNSIGNED_BYTE, Shot.PixelData.get());

    for (int32_t I = 0; I < TotalPendingShots; ++I) {
        const ShortString& Path = PendingShots[I];
        // Checked when the shot was asked for; the file may have gone since.
        tZClass LoaderClass;
        if (!Linker->LookUpFileLoader("tBitmapLoader", Path, LoaderClass)) continue;
        tOwned<tBitmapLoader> Loader(SavingLoader(LoaderClass));
        tFileStream Stream(Path, FSTREAM_REWRITE, FSTREAM_REAPORTERRORS);
        if (!Loader || !Stream.Open) {
            if (!Stream.Open) Console->DisplayError(Stream.OpenError());
            continue;
        }
        Loader->SaveBitmap(Stream, Shot);
        Console->Display("Screenshot saved to " + Path);
    }
    TotalPendingShots = 0;
}
