// Frame time of the game's island with and without the sky (atmosphere,
// cloudy weather with its lens flare, and the storm's rain and lightning),
// at 1024 x 768 on this machine's OpenGL under Xvfb, and the heap
// allocations of those frames (there must be none). The whole game runs in
// this process, started once from a copy of the repository's Data/; each
// case builds the island afresh from the same camera, lets the first frames
// compile the driver's shaders, then times whole engine frames (update,
// drawing and buffer swap). "vs_island" is the case's frame time over the
// island's alone; "cpu_ms" the processor time of all the game's threads per
// frame. A lightning strike spawns the announcer of its thunder clap (a new
// object, about once in 3 s of play), so a long storm case may count a
// fraction of an allocation per frame; the frames themselves make none.
//
// Run from anywhere: build/release/tests/bench_sky (it starts its own X
// server through xvfb-run when there is no display).

#include <benchmark/benchmark.h>
#include <ext/stdio_filebuf.h>

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/allocationcounter.h"
#include "kernel/core/globals.h"
#include "kernel/platform/winviewport.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "startup.h"

namespace {

namespace fs = std::filesystem;

// A step the size of a 60 Hz frame: the world does the same work per frame
// whatever the frame really took.
constexpr float FrameSeconds = 1.0f / 60;
// Frames before timing: the driver compiles its shader variants on first use.
constexpr int WarmUpFrames = 8;

const fs::path Repository = HALVARDINE_SOURCE_DIR;

enum TCase { ISLAND, CLOUDY_SKY, STORM };

// The game, started once in a scratch copy of Data/ and shut down at exit.
class tRunningGame {
public:
    tRunningGame() {
        char Template[] = "/tmp/halvardine-bench-XXXXXX";
        Work = mkdtemp(Template);
        fs::copy(Repository / "Data", Work / "Data", fs::copy_options::recursive);
        std::ofstream(Work / "Data" / "StdConfig" / "console.cfg") << "Set ShowStats False\n";
        fs::current_path(Work);
        setenv("HALVARDINE_NO_MSGBOX", "1", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ALSOFT_DRIVERS", "null", 1);
        StartUp();
        Engine->InitGame();
    }
    ~tRunningGame() {
        ShutDown();
        fs::current_path(Repository);
        fs::remove_all(Work);
    }

    // A fresh island (a new level drops the old one and its sky) seen by the
    // free camera from its start, with the case's weather.
    void Build(TCase Case) {
        static const std::vector<std::string> Level = {"SpawnClass tLevel", "SpawnClass tFreeCamera",
                                                       "SpawnClass tMipTerrain Terrain\\island.zhm"};
        for (const std::string& Line : Level) Console->SendCommand(Line.c_str(), true);
        if (Case == CLOUDY_SKY) Console->SendCommand("SpawnClass tAtmosphereRenderer; SpawnClass tCloudyDay 14", true);
        if (Case == STORM) Console->SendCommand("SpawnClass tAtmosphereRenderer; SpawnClass tStormyDay 14", true);
        Console->SendCommand("BeginPlay", true);
        for (int I = 0; I < WarmUpFrames; ++I) Frame();
    }

    static void Frame() {
        DispatchWindowMessages();
        Engine->Tick(FrameSeconds);
    }

private:
    fs::path Work;
};

// Made by the first case, shut down by main.
std::unique_ptr<tRunningGame> Game;

double IslandFrameSeconds = 0;

// Of every thread, the driver's rasterisers too: steadier than the frame
// time on a busy machine.
double ProcessCPUSeconds() {
    timespec T{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

void BM_SkyFrame(benchmark::State& State) {
    const auto Case = TCase(State.range(0));
    if (!Game) Game = std::make_unique<tRunningGame>();
    Game->Build(Case);
    const auto Start = std::chrono::steady_clock::now();
    const double StartCPU = ProcessCPUSeconds();
    RunFrames(State, tRunningGame::Frame);
    // RunFrames draws one frame more than it times.
    const double Frames = double(State.iterations() + 1);
    const double PerFrame = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count() / Frames;
    State.counters["cpu_ms"] = (ProcessCPUSeconds() - StartCPU) * 1000 / Frames;
    if (Case == ISLAND) IslandFrameSeconds = PerFrame;
    if (IslandFrameSeconds > 0) State.counters["vs_island"] = PerFrame / IslandFrameSeconds;
    State.SetLabel(Case == ISLAND ? "island" : Case == CLOUDY_SKY ? "island, cloudy sky, flare" : "island, storm, rain");
}
BENCHMARK(BM_SkyFrame)->Arg(ISLAND)->Arg(CLOUDY_SKY)->Arg(STORM)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The game needs an X display: without one, run again under a virtual one.
    if (!std::getenv("DISPLAY")) {
        std::string Self = fs::canonical("/proc/self/exe").string();
        std::vector<char*> Args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                                   const_cast<char*>("-screen 0 1024x768x24"), Self.data()};
        for (int I = 1; I < argc; ++I) Args.push_back(argv[I]);
        Args.push_back(nullptr);
        execvp("xvfb-run", Args.data());
        return 1;
    }
    // The game's own lines (the registry's trace, the console's echo) go
    // nowhere; the report keeps the original standard output.
    __gnu_cxx::stdio_filebuf<char> Report(dup(STDOUT_FILENO), std::ios::out);
    std::cout.rdbuf(&Report);
    if (!std::freopen("/dev/null", "w", stdout)) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    Game.reset();
    benchmark::Shutdown();
    std::cout.flush();
    std::cout.rdbuf(nullptr);
    return 0;
}
