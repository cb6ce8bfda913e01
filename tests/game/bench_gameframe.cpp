// The running game's frames at 1024 x 768 on this machine's OpenGL under
// Xvfb: the shipped level (island, forest, sea, cloudy sky with its lens
// flare) with the biplane flying under the chase camera, first calmly, then
// with a few plasma shots in flight. The game runs with the frame counter
// library preloaded (frameallocations/), which counts the heap allocations
// of the drawing thread frame by frame; xdotool holds the fire button for
// half a second. Reports the game's allocations per frame over the calm
// stretch and over the frames after the last shot left the gun (both must be
// 0: nothing spawns or dies there), how many frames allocated at all, the
// allocations of the OpenGL driver it called (informative), and the frames
// per second. Then a burning wreck and ten explosions go off ahead of the
// aircraft: the frames after the one they spawned in, while they burn, must
// not allocate either (effects_*);
// and 100 plasma shots fired straight down at random land points dig their
// craters: the profiler's mean time of an impact inside the running game and
// the frames per second meanwhile (impact_*).
//
// A second run flies the player with three computer pilots (unarmed, so
// that nothing spawns or dies) under the HUD and reports the game's
// allocations over those steady frames (must be 0): for 12 s, or as many
// seconds as HALVARDINE_FOUR_PILOT_SECONDS says (60 gives 500 frames or more
// here).
//
// HALVARDINE_ALLOCATION_TRACES=<frame> names what allocates (see the library).
//
// Run from anywhere: build/release/tests/bench_gameframe

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path Repository = HALVARDINE_SOURCE_DIR;

// Seconds of the run's stretches, from the aircraft's spawn.
constexpr double Settle = 1.0;       // the chase camera swoops down behind the aircraft
constexpr double Calm = 1.5;         // flying, nothing fired
constexpr double Firing = 0.5;       // the button held: two or three plasma shots
constexpr double ShotsFlying = 1.5;  // the shots live 3 s
// Frames that may still have seen the button down when the release was marked.
constexpr double ReleaseMargin = 0.3;
// The shots end (3 s after they left the gun, some on the ground) before the
// wreck and explosions go off: their ending would count in that stretch.
constexpr double ShotsGone = 2.0;
constexpr double EffectsBurn = 1.2;    // burning, nobody spawns or dies (an explosion lasts 2 s or more)
constexpr double ImpactsLand = 3.0;    // the shots fall 60 units and dig
constexpr int Impacts = 100;
constexpr double DryLand = 9.0;

// F5 sets off the effects, F6 fires the shots: scripts the benchmark writes.
constexpr const char* Bindings = "\nBind VK_F5 \"Exec effects.cfg\"\nBind VK_F6 \"Exec impacts.cfg\"\n";

// A wreck burning for 20 s and ten explosions ahead of the aircraft.
std::string EffectsScript() {
    std::ostringstream S;
    S << "SpawnClass tBurningWreck \"70 160 150 20\"\n";
    for (int I = 0; I < 10; ++I) S << "SpawnClass tExplosion \"" << 50 + 4 * I << " 170 " << 140 + I << " 2\"\n";
    return S.str();
}

// Plasma shots falling from 60 units above random dry land of the island.
std::string ImpactScript(const fs::path& HeightMap) {
    std::ifstream In(HeightMap, std::ios::binary);
    const std::string Raw((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    constexpr int Side = 1025;
    std::mt19937 Random(2024);
    std::uniform_int_distribution<int> Coordinate(2, Side - 3);
    std::ostringstream S;
    for (int Made = 0; Made < Impacts && Raw.size() == 2u * Side * Side;) {
        const int X = Coordinate(Random), Y = Coordinate(Random);
        const std::size_t At = 2 * (std::size_t(X) * Side + std::size_t(Y));
        const double H = (uint8_t(Raw[At]) | uint8_t(Raw[At + 1]) << 8) / 256.0;
        if (H < DryLand) continue;
        S << "SpawnClass tPlasmaProjectile \"" << X << " " << Y << " " << int(H) + 60 << " 0 0 -200\"\n";
        ++Made;
    }
    return S.str();
}

// The profiler's calls and time per call of a section, from profiler.log.
std::pair<double, double> ProfiledSection(const fs::path& File, const std::string& Name) {
    std::ifstream In(File);
    for (std::string Line; std::getline(In, Line);)
        if (Line.rfind(Name + " ", 0) == 0) {
            std::istringstream Fields(Line.substr(Name.size()));
            double Calls = 0, Total = 0, PerCall = 0;
            Fields >> Calls >> Total >> PerCall;
            return {Calls, PerCall};
        }
    return {0, 0};
}

// A frame's end and the heap allocations of the game's code and of the
// libraries it called (the software renderer compiling a shader variant).
struct TFrame {
    double Seconds;
    long Game, Libraries;
};

// The player alone: the computer pilots would fire (spawning shots) in the
// stretches measured.
constexpr const char* PlayerAlone = "Set BotCount 0\n";
// Three computer pilots whose guns never fire.
constexpr const char* FourPilots = "Set BotCount 0\nAddBot tBiplane tWeapon\nAddBot tPursuitPlane tWeapon\n"
                                   "AddBot tBiplane tWeapon\n";

double FourPilotsFlying() {
    const char* Seconds = std::getenv("HALVARDINE_FOUR_PILOT_SECONDS");
    return Seconds ? std::atof(Seconds) : 12.0;
}

// The four take longer to settle.
constexpr double FourPilotsSettle = 3.0;

std::string Driver(const fs::path& Work, double CalmSeconds = Calm, double SettleSeconds = Settle) {
    std::ostringstream S;
    S << "cd '" << Work.string() << "'\n"
      << "mark() { echo \"$1 $(cut -d' ' -f1 /proc/uptime)\" >> marks.txt; }\n"
      << "timeout -k 5 " << 60 + CalmSeconds << " env HALVARDINE_FRAME_ALLOCATIONS=frames.txt LD_PRELOAD='" << FRAME_ALLOCATIONS_LIBRARY
      << "' '" << HALVARDINE_GAME << "' --no-menu > stdout.txt 2> stderr.txt &\n"
      << "GAME=$!\n"
      << "WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Halvardine 3D Engine$' | head -n 1)\n"
      << "xdotool mousemove --window $WINDOW 512 384\n"
      << "timeout 30 sh -c 'until grep -q \"tBiplane spawned at\" engine.log; do sleep 0.05; done'\n"
      << "sleep " << SettleSeconds << "; mark calm\n"
      << "sleep " << CalmSeconds << "; mark fire\n"
      << "xdotool mousedown 1; sleep " << Firing << "; xdotool mouseup 1; mark released\n"
      << "sleep " << ShotsFlying << "; mark end\n"
      << "sleep " << ShotsGone << "; mark effects; xdotool key F5\n"
      << "sleep " << EffectsBurn << "; mark burnt\n"
      << "xdotool key F6; mark impacts\n"
      << "sleep " << ImpactsLand << "; mark landed\n"
      << "xdotool key F10\n"
      << "wait $GAME\n";
    return S.str();
}

std::map<std::string, double> ReadMarks(const fs::path& File) {
    std::map<std::string, double> Marks;
    std::ifstream In(File);
    std::string Name;
    for (double Seconds; In >> Name >> Seconds;) Marks[Name] = Seconds;
    return Marks;
}

std::vector<TFrame> ReadFrames(const fs::path& File) {
    std::vector<TFrame> Frames;
    std::ifstream In(File);
    for (TFrame F; In >> F.Seconds >> F.Game >> F.Libraries;) Frames.push_back(F);
    return Frames;
}

struct TStretch {
    int Frames = 0, AllocatingFrames = 0;
    long Allocations = 0, LibraryAllocations = 0;
    double PerFrame() const { return Frames ? double(Allocations) / Frames : 0; }
};

// The frames that ended within (From, To].
TStretch Stretch(const std::vector<TFrame>& Frames, double From, double To) {
    TStretch S;
    for (const TFrame& F : Frames) {
        if (F.Seconds <= From || F.Seconds > To) continue;
        ++S.Frames;
        S.Allocations += F.Game;
        S.LibraryAllocations += F.Libraries;
        S.AllocatingFrames += F.Game > 0;
    }
    return S;
}

// A working copy of the game's data whose level ends with LevelLines.
fs::path GameCopy(const char* LevelLines, double CalmSeconds, double SettleSeconds) {
    char Template[] = "/tmp/halvardine-bench-XXXXXX";
    const fs::path Work = mkdtemp(Template);
    fs::copy(Repository / "Data", Work / "Data", fs::copy_options::recursive);
    std::ofstream(Work / "Data/StdConfig/level.cfg", std::ios::app) << "\n" << LevelLines;
    std::ofstream(Work / "driver.sh") << Driver(Work, CalmSeconds, SettleSeconds);
    std::ofstream(Work / "Data" / "StdConfig" / "console.cfg", std::ios::app) << Bindings;
    std::ofstream(Work / "Data" / "effects.cfg") << EffectsScript();
    std::ofstream(Work / "Data" / "impacts.cfg") << ImpactScript(Work / "Data" / "Terrain" / "island.raw");
    return Work;
}

std::string GameCommand(const fs::path& Work) {
    return "HALVARDINE_NO_MSGBOX=1 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null xvfb-run -a -s '-screen 0 1024x768x24' sh '" +
           (Work / "driver.sh").string() + "' > /dev/null 2>&1";
}

void BM_GameFrame(benchmark::State& State) {
    const fs::path Work = GameCopy(PlayerAlone, Calm, Settle);
    const std::string Command = GameCommand(Work);
    TStretch Steady, Shots, Whole, Effects, Digging;
    double FramesPerSecond = 0, DiggingFramesPerSecond = 0;
    std::pair<double, double> Impact;
    for (auto _ : State) {
        if (std::system(Command.c_str()) != 0) State.SkipWithError("the game did not end cleanly");
        std::map<std::string, double> Marks = ReadMarks(Work / "marks.txt");
        const std::vector<TFrame> Frames = ReadFrames(Work / "frames.txt");
        if (Marks.size() != 8 || Frames.empty()) {
            State.SkipWithError("the game did not run its round");
            break;
        }
        Steady = Stretch(Frames, Marks["calm"], Marks["fire"]);
        Shots = Stretch(Frames, Marks["released"] + ReleaseMargin, Marks["end"]);
        Whole = Stretch(Frames, Marks["calm"], Marks["end"]);
        FramesPerSecond = Whole.Frames / (Marks["end"] - Marks["calm"]);
        // All of them spawn in one frame, the one after the key that allocates
        // the most; the script player the key's "Exec" ran them with leaves
        // the console in the frame after it.
        double Spawned = Marks["burnt"];
        long MostAllocations = 0;
        for (const TFrame& F : Frames)
            if (F.Seconds > Marks["effects"] && F.Seconds <= Marks["burnt"] && F.Game > MostAllocations) {
                Spawned = F.Seconds;
                MostAllocations = F.Game;
            }
        for (const TFrame& F : Frames)
            if (F.Seconds > Spawned) {
                Spawned = F.Seconds;
                break;
            }
        Effects = Stretch(Frames, Spawned, Marks["burnt"]);
        Digging = Stretch(Frames, Marks["impacts"], Marks["landed"]);
        DiggingFramesPerSecond = Digging.Frames / (Marks["landed"] - Marks["impacts"]);
        Impact = ProfiledSection(Work / "profiler.log", "TMIPTERRAIN.IMPACT");
        State.SetIterationTime(FramesPerSecond > 0 ? 1 / FramesPerSecond : 0);
    }
    if (Steady.Frames == 0 || Shots.Frames == 0 || Effects.Frames == 0)
        State.SkipWithError("no frames were drawn in the stretches measured");
    else if (Steady.Allocations + Shots.Allocations + Effects.Allocations > 0)
        State.SkipWithError(("steady frames allocated: " + std::to_string(Steady.Allocations) + " calm, " +
                             std::to_string(Shots.Allocations) + " with shots in flight, " +
                             std::to_string(Effects.Allocations) + " with a wreck and explosions burning")
                                .c_str());
    State.counters["fps"] = FramesPerSecond;
    State.counters["calm_frames"] = Steady.Frames;
    State.counters["calm_allocs/frame"] = Steady.PerFrame();
    State.counters["shots_frames"] = Shots.Frames;
    State.counters["shots_allocs/frame"] = Shots.PerFrame();
    State.counters["effects_frames"] = Effects.Frames;
    State.counters["effects_allocs/frame"] = Effects.PerFrame();
    State.counters["allocating_frames"] = Steady.AllocatingFrames + Shots.AllocatingFrames + Effects.AllocatingFrames;
    State.counters["impact_calls"] = Impact.first;
    State.counters["impact_mean_ms"] = Impact.second * 1000;
    State.counters["impact_fps"] = DiggingFramesPerSecond;
    State.counters["driver_allocs/frame"] = Whole.Frames ? double(Whole.LibraryAllocations) / Whole.Frames : 0;
    State.SetLabel("island, cloudy sky, biplane, plasma shots, wreck and explosions, craters");
    fs::remove_all(Work);
}
BENCHMARK(BM_GameFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FourPilotsFrame(benchmark::State& State) {
    const fs::path Work = GameCopy(FourPilots, FourPilotsFlying(), FourPilotsSettle);
    TStretch Steady;
    for (auto _ : State) {
        if (std::system(GameCommand(Work).c_str()) != 0) State.SkipWithError("the game did not end cleanly");
        std::map<std::string, double> Marks = ReadMarks(Work / "marks.txt");
        const std::vector<TFrame> Frames = ReadFrames(Work / "frames.txt");
        // The first two frames set the drawing up; on a loaded machine they
        // may end after the settling time.
        const double From = Frames.size() > 2 ? std::max(Marks["calm"], Frames[1].Seconds) : Marks["calm"];
        Steady = Stretch(Frames, From, Marks["fire"]);
        State.SetIterationTime(Steady.Frames ? (Marks["fire"] - Marks["calm"]) / Steady.Frames : 0);
    }
    if (Steady.Frames == 0)
        State.SkipWithError("no frames were drawn while the four flew");
    else if (Steady.Allocations > 0)
        State.SkipWithError(("steady frames with four pilots allocated: " + std::to_string(Steady.Allocations)).c_str());
    State.counters["steady_frames"] = Steady.Frames;
    State.counters["allocs/frame"] = Steady.PerFrame();
    State.counters["allocating_frames"] = Steady.AllocatingFrames;
    State.SetLabel("island, cloudy sky, player and three computer pilots, HUD");
    fs::remove_all(Work);
}
BENCHMARK(BM_FourPilotsFrame)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
