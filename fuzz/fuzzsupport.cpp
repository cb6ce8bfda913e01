#include "fuzzsupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/testengine.h"
#include "kernel/console/console.h"
#include "kernel/console/varsmanager.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "kernel/os/winossystem.h"
#include "kernel/platform/timer.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/opengl/oglrenderdevice.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/filesystem.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/engine.h"

namespace fs = std::filesystem;

namespace {

fs::path DataDir;

class tSilentOutput : public tOutputDevice {
public:
    void Log(const ShortString&) override {}
    void LogP(const char*) override {}
};  // absolute: libFuzzer keeps reading its corpus relative to the working directory

void WriteText(const fs::path& Path, const std::string& Text) {
    fs::create_directories(Path.parent_path());
    std::ofstream(Path, std::ios::binary) << Text;
}

}  // namespace

void InitFuzzEngine() {
    if (Logger) return;
    // Fatal messages go to standard error instead of a box.
    setenv("HALVARDINE_NO_MSGBOX", "1", 1);
    Logger = new tCoreLogger("fuzz.log", LOG_DISABLED);
    // The registry reports every object made and destroyed on this stream:
    // written out, it would cost more than most inputs.
    Warning = new tSilentOutput();
    SetHaltHook(ThrowingHaltHook);
}

void InitFuzzServices() {
    if (FileSystem) return;
    // Memory-backed where the machine offers it: the inputs are files.
    const fs::path Base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    DataDir = Base / ("halvardine-fuzz-" + std::to_string(getpid())) / "Data";
    std::atexit([] {
        std::error_code Ignored;
        fs::remove_all(DataDir.parent_path(), Ignored);
    });
    WriteText(DataDir / "StdConfig/engine.ini", "[Engine]\nTimer=tWinTimer\nRunsCount=0\n");
    WriteText(DataDir / FuzzFile, "");
    WriteText(DataDir / "Scripts/first.cfg", "echo first\nset ShowFPS 1\nexec Scripts\\second.cfg\n");
    WriteText(DataDir / "Scripts/second.cfg", "alias greet \"echo hello\"\ngreet\n");
    WriteText(DataDir / "Demos/short.dem", "echo one\nWAIT 0.01\necho two\n");
    // A surface shader without textures or programs: meshes can name it and
    // load it without an OpenGL context.
    WriteText(DataDir / FuzzShader, "!!ZSS1.1\nSurfaceShader\n{\n  Projection ZPR_PERSPECTIVE\n}\n");

    OSSystem = new tWinOSSystem();
    Linker = NewObject<tObjectsLinker>();
    Linker->RegisterClasses();
    FileSystem = NewObject<tVirtualFileSystem>();
    FileSystem->SetRootDir(ShortString(DataDir.string() + "/"));
    EngineINI = new tZINIFile("StdConfig\\engine.ini");
    Console = NewObject<tEngineConsole>();
    EngineVars = NewObject<tEngineVarsManager>();
    Engine = NewObject<tScriptTestEngine>();
}

void InitRenderServices() {
    if (Resources) return;
    auto* Device = NewObject<tOGLRenderDevice>();
    Device->VertexArrayManager = NewObject<tStdVertexArrayManager>();
    Device->GeometryServer = NewObject<tRGeometryServer>();
    Engine->Renderer = Device;
    Resources = NewObject<tZResourcesManager>();
}

void WriteFuzzFile(const uint8_t* Data, std::size_t Size) {
    std::FILE* F = std::fopen((DataDir / FuzzFile).c_str(), "wb");
    if (Size) std::fwrite(Data, 1, Size, F);
    std::fclose(F);
}
