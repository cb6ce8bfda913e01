// A main() for the fuzz targets without libFuzzer: every file of the given
// corpus directories goes through LLVMFuzzerTestOneInput, then a fixed number
// of mutated copies of the seeds (bit flips, byte changes, truncations,
// deletions, duplications and splices of two seeds) made from a fixed seed,
// so a run is the same on every machine and any finding can be replayed.
//   fuzz_ase [-runs=N] [-only=K] DIR_OR_FILE...
// -runs is the total number of inputs (seeds included; default 2000); -only
// runs just input number K (as printed when an input fails). An input that
// crashes, trips a sanitizer or throws is written to crash-<target>-<K>.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size);
// Present when the program runs under a sanitizer: called before it ends the
// program on a finding.
extern "C" void __sanitizer_set_death_callback(void (*Callback)()) __attribute__((weak));

namespace {

namespace fs = std::filesystem;
using tBytes = std::vector<uint8_t>;

std::string TargetName;
long CurrentInput = -1;
const tBytes* CurrentData = nullptr;

void SaveCurrentInput() {
    if (!CurrentData) return;
    const std::string Name = "crash-" + TargetName + "-" + std::to_string(CurrentInput);
    if (std::FILE* F = std::fopen(Name.c_str(), "wb")) {
        std::fwrite(CurrentData->data(), 1, CurrentData->size(), F);
        std::fclose(F);
    }
    std::fprintf(stderr, "%s: input %ld failed (replay: -only=%ld); saved as %s\n", TargetName.c_str(), CurrentInput,
                 CurrentInput, Name.c_str());
    CurrentData = nullptr;
}

// A small generator of our own: std::mt19937 is portable, its distributions are not.
struct tRandom {
    uint64_t State;
    uint64_t Next() {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return State;
    }
    std::size_t Below(std::size_t N) { return N ? std::size_t(Next() % N) : 0; }
};

// Bytes that matter to the text and binary formats the targets read.
constexpr uint8_t Interesting[] = {0, 1, 0x7f, 0x80, 0xff, '\n', '\r', ' ', '{', '}', '"', '%', '-', '9', '0', '*', ':'};

void Mutate(tBytes& Data, const std::vector<tBytes>& Seeds, tRandom& Random) {
    const int Steps = 1 + int(Random.Below(4));
    for (int Step = 0; Step < Steps; ++Step) {
        const std::size_t Size = Data.size();
        switch (Random.Below(7)) {
            case 0:  // flip a bit
                if (Size) Data[Random.Below(Size)] ^= uint8_t(1u << Random.Below(8));
                break;
            case 1:  // any byte
                if (Size) Data[Random.Below(Size)] = uint8_t(Random.Next());
                break;
            case 2:  // a byte the formats care about
                if (Size) Data[Random.Below(Size)] = Interesting[Random.Below(std::size(Interesting))];
                break;
            case 3:  // cut the end off
                Data.resize(Random.Below(Size + 1));
                break;
            case 4: {  // drop a stretch
                const std::size_t From = Random.Below(Size + 1), Count = Random.Below(Size - From + 1);
                Data.erase(Data.begin() + long(From), Data.begin() + long(From + Count));
                break;
            }
            case 5: {  // repeat a stretch in place
                const std::size_t From = Random.Below(Size + 1), Count = Random.Below(std::min<std::size_t>(Size - From, 64) + 1);
                const tBytes Copy(Data.begin() + long(From), Data.begin() + long(From + Count));
                Data.insert(Data.begin() + long(From), Copy.begin(), Copy.end());
                break;
            }
            default: {  // this input's start, another seed's end
                const tBytes& Other = Seeds[Random.Below(Seeds.size())];
                const std::size_t Keep = Random.Below(Size + 1), From = Random.Below(Other.size() + 1);
                Data.resize(Keep);
                Data.insert(Data.end(), Other.begin() + long(From), Other.end());
                break;
            }
        }
    }
}

bool ReadFile(const fs::path& Path, tBytes& Data) {
    std::ifstream In(Path, std::ios::binary);
    if (!In) return false;
    Data.assign(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    TargetName = fs::path(argv[0]).filename().string();
    long Runs = 2000, Only = -1;
    std::vector<fs::path> Files;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg.rfind("-runs=", 0) == 0) Runs = std::atol(Arg.c_str() + 6);
        else if (Arg.rfind("-only=", 0) == 0) Only = std::atol(Arg.c_str() + 6);
        else if (Arg.size() > 1 && Arg[0] == '-') {
            std::fprintf(stderr, "%s: unknown option %s\n", TargetName.c_str(), Arg.c_str());
            return 2;
        } else if (fs::is_directory(Arg)) {
            for (const auto& Entry : fs::directory_iterator(Arg))
                if (Entry.is_regular_file()) Files.push_back(Entry.path());
        } else {
            Files.emplace_back(Arg);
        }
    }
    // Directory order is the file system's: sorted, the run is the same everywhere.
    std::sort(Files.begin(), Files.end());
    std::vector<tBytes> Seeds(Files.size());
    for (std::size_t I = 0; I < Files.size(); ++I) {
        if (!ReadFile(Files[I], Seeds[I])) {
            std::fprintf(stderr, "%s: cannot read %s\n", TargetName.c_str(), Files[I].c_str());
            return 2;
        }
    }
    if (Seeds.empty()) {
        std::fprintf(stderr, "%s: no seeds (give corpus directories or files)\n", TargetName.c_str());
        return 2;
    }

    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(SaveCurrentInput);
    std::set_terminate([] {
        SaveCurrentInput();
        std::abort();
    });
    const auto Start = std::chrono::steady_clock::now();
    tRandom Random{0x9E3779B97F4A7C15ull};
    tBytes Input;
    long Ran = 0;
    for (long K = 0; K < std::max<long>(Runs, long(Seeds.size())); ++K) {
        // Every input is made even when skipped, so -only=K sees input K.
        const tBytes& Seed = Seeds[std::size_t(K) % Seeds.size()];
        Input = Seed;
        if (K >= long(Seeds.size())) Mutate(Input, Seeds, Random);
        if (Only >= 0 && K != Only) continue;
        CurrentInput = K;
        CurrentData = &Input;
        try {
            LLVMFuzzerTestOneInput(Input.data(), Input.size());
        } catch (const std::exception& Error) {
            std::fprintf(stderr, "%s: exception: %s\n", TargetName.c_str(), Error.what());
            SaveCurrentInput();
            return 1;
        } catch (...) {
            std::fprintf(stderr, "%s: unknown exception\n", TargetName.c_str());
            SaveCurrentInput();
            return 1;
        }
        CurrentData = nullptr;
        ++Ran;
    }
    const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    std::printf("%s: %zu seeds, %ld inputs in %.2f s (%.0f inputs/s)\n", TargetName.c_str(), Seeds.size(),
                Ran, Seconds, Seconds > 0 ? double(Ran) / Seconds : 0.0);
    return 0;
}
