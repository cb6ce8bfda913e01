// The file system's tree for 10 000 files in 500 directories: building it
// from the disk once, and resolving names in it (which never touches the disk).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/os/winossystem.h"
#include "kernel/vfs/filesystem.h"

namespace {

constexpr int Directories = 500;
constexpr int FilesPerDirectory = 20;

// The data tree, the services and the names to resolve, made once.
struct tBenchWorld {
    tBenchWorld() {
        Logger = new tCoreLogger("engine.log", LOG_DISABLED);
        Warning = new tANSIOutput();
        OSSystem = new tWinOSSystem();
        char name[64];
        for (int d = 0; d < Directories; ++d) {
            for (int f = 0; f < FilesPerDirectory; ++f) {
                std::snprintf(name, sizeof name, "Data/Dir%03d/File%02d.dat", d, f);
                Work.WriteFile(name, "");
                // Looked up in another case than stored, as data files do.
                std::snprintf(name, sizeof name, "dir%03d\\FILE%02d.DAT", d, f);
                Names.emplace_back(name);
            }
        }
    }
    TempWorkDir Work;
    std::vector<ShortString> Names;
};

tBenchWorld& World() {
    static tBenchWorld world;
    return world;
}

tVirtualFileSystem* BuildTree() {
    auto* vfs = NewObject<tVirtualFileSystem>();
    vfs->SetRootDir("Data\\");
    return vfs;
}

void BM_BuildTree(benchmark::State& state) {
    World();
    for (auto _ : state) {
        tVirtualFileSystem* vfs = BuildTree();
        benchmark::DoNotOptimize(vfs->Root);
        tZObject::DisposeObject(vfs);
    }
    state.counters["files"] = Directories * FilesPerDirectory;
}
BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond);

void BM_ResolveName(benchmark::State& state) {
    const std::vector<ShortString>& names = World().Names;
    tVirtualFileSystem* vfs = BuildTree();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vfs->GetDirectoryEntry(names[i]));
        i = (i + 7919) % names.size();  // spread over the whole tree
    }
    tZObject::DisposeObject(vfs);
}
BENCHMARK(BM_ResolveName);

void BM_VirtualNameToPhysical(benchmark::State& state) {
    const std::vector<ShortString>& names = World().Names;
    tVirtualFileSystem* vfs = BuildTree();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vfs->VirtualNameToPhysical(names[i]));
        i = (i + 7919) % names.size();
    }
    tZObject::DisposeObject(vfs);
}
BENCHMARK(BM_VirtualNameToPhysical);

}  // namespace
