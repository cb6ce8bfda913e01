// Frame time of the game's island with and without the sky (atmosphere,
// cloudy weather with its lens flare, and the storm's rain), at 1024 x 768
// on this machine's OpenGL under Xvfb. Each variant runs the real game for a
// few seconds from a copy of the repository's Data/ and reads its profiler
// report: the time per EndFrame (where the software renderer rasterises the
// frame and swaps) and the frames drawn per second of play.
//
// Run from anywhere: build/release/tests/bench_sky

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int PlaySeconds = 8;

const fs::path Repository = fs::path(__FILE__).parent_path().parent_path().parent_path();

fs::path GameProgram() { return fs::canonical("/proc/self/exe").parent_path().parent_path() / "halvardine"; }

// The profiler's "Calls" and "Time/Call" columns for Section.
bool ProfilerLine(const fs::path& Log, const std::string& Section, double& Calls, double& PerCall) {
    std::ifstream In(Log);
    for (std::string Line; std::getline(In, Line);) {
        if (Line.rfind(Section, 0) != 0) continue;
        std::istringstream Fields(Line.substr(35));
        double Total = 0;
        Fields >> Calls >> Total >> PerCall;
        return true;
    }
    return false;
}

// Arg 0: the island alone; 1: with the cloudy sky and flare; 2: with the storm.
void BM_IslandFrame(benchmark::State& State) {
    static const char* const Weather[] = {"", "SpawnClass tAtmosphereRenderer\nSpawnClass tCloudyDay 14\n",
                                          "SpawnClass tAtmosphereRenderer\nSpawnClass tStormyDay 14\n"};
    char Template[] = "/tmp/halvardine-bench-XXXXXX";
    const fs::path Work = mkdtemp(Template);
    fs::copy(Repository / "Data", Work / "Data", fs::copy_options::recursive);
    std::ofstream(Work / "Data" / "StdConfig" / "console.cfg")
        << "Set ShowStats False\nSpawnClass tLevel\nSpawnClass tFreeCamera\nSpawnClass tMipTerrain Terrain\\island.zhm\n"
        << Weather[State.range(0)] << "BeginPlay\nPlayDemo bench.dem\n";
    std::ofstream(Work / "Data" / "bench.dem") << "WAIT " << PlaySeconds << "\nQuit\n";
    const std::string Command = "cd " + Work.string() +
                                " && HALVARDINE_NO_MSGBOX=1 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null xvfb-run -a -s "
                                "'-screen 0 1024x768x24' " +
                                GameProgram().string() + " > /dev/null 2>&1";
    double Frames = 0, EndFrame = 0, Loop = 0, LoopTime = 0;
    for (auto _ : State) {
        if (std::system(Command.c_str()) != 0) State.SkipWithError("the game did not end cleanly");
        ProfilerLine(Work / "profiler.log", "TOGLRENDERDEVICE.ENDFRAME", Frames, EndFrame);
        ProfilerLine(Work / "profiler.log", "MAINLOOP", Loop, LoopTime);
        State.SetIterationTime(EndFrame);
    }
    State.counters["endframe_ms"] = EndFrame * 1000;
    State.counters["frames"] = Frames;
    State.counters["fps"] = Frames / PlaySeconds;
    State.SetLabel(State.range(0) == 0 ? "island" : State.range(0) == 1 ? "island, cloudy sky, flare" : "island, storm");
    fs::remove_all(Work);
}
BENCHMARK(BM_IslandFrame)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
