// Preloaded into the running game (LD_PRELOAD) to count its heap
// allocations frame by frame: every form of operator new that libstdc++
// exports is replaced by one that counts and forwards to malloc, and the
// buffer swap closes each frame's count. Only the thread that draws is
// counted (the sound mixer and the software renderer's workers keep their
// own pace). Each allocation is the game's when the first caller outside
// the standard library lies in the game's executable, otherwise a library's (the
// software renderer compiles a shader variant with LLVM the first time it
// meets a new state, inside one of the game's draws). At exit the frames go
// to the file named by HALVARDINE_FRAME_ALLOCATIONS, one line per frame:
// the CLOCK_BOOTTIME second of the swap (the clock of /proc/uptime), the
// game's allocations and the libraries'.
//
// With HALVARDINE_ALLOCATION_TRACES=N, the call stacks of the game's own
// allocations from frame N on (at most MaxTraces of them) go to standard
// error; the executable exports its symbols, so they read as function names.

#include <dlfcn.h>
#include <execinfo.h>
#include <fcntl.h>
#include <link.h>
#include <pthread.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>

struct SDL_Window;

namespace {

constexpr int MaxFrames = 1 << 16;
constexpr int MaxTraces = 64;
constexpr int TraceDepth = 24;
// Deep enough to pass this library, libstdc++'s string and container
// code and reach whoever asked.
constexpr int CallerDepth = 16;

struct TFrameRecord {
    double Seconds;
    long Game, Libraries;
};

TFrameRecord Frames[MaxFrames];
int FrameCount = 0;
long GameAllocations = 0, LibraryAllocations = 0;  // in the frame being drawn

pthread_t DrawingThread;
bool DrawingThreadKnown = false;

long TraceFromFrame = -1;
int TracesWritten = 0;
bool Walking = false;  // backtrace() allocates the first time it runs

// The address ranges of loaded code.
struct TRange {
    uintptr_t From = 0, To = 0;
    bool Holds(void* P) const { return uintptr_t(P) >= From && uintptr_t(P) < To; }
};
TRange Executable, StdCpp, ThisLibrary;

TRange LoadedRange(const dl_phdr_info* Info) {
    TRange R{UINTPTR_MAX, 0};
    for (int I = 0; I < Info->dlpi_phnum; ++I) {
        const ElfW(Phdr)& H = Info->dlpi_phdr[I];
        if (H.p_type != PT_LOAD) continue;
        const uintptr_t Start = Info->dlpi_addr + H.p_vaddr;
        if (Start < R.From) R.From = Start;
        if (Start + H.p_memsz > R.To) R.To = Start + H.p_memsz;
    }
    return R;
}

int NoteObject(dl_phdr_info* Info, size_t, void*) {
    const char* Name = Info->dlpi_name;
    if (!Name || !*Name)
        Executable = LoadedRange(Info);  // the main program comes first, unnamed
    else if (std::strstr(Name, "libstdc++"))
        StdCpp = LoadedRange(Info);
    else if (std::strstr(Name, "frameallocations"))
        ThisLibrary = LoadedRange(Info);
    return 0;
}

// The executable's copies of standard-library templates serve the
// libraries too: it exports its symbols, so theirs resolve to its copies.
bool InStandardLibrary(void* Code) {
    Dl_info Info;
    if (!dladdr(Code, &Info) || !Info.dli_sname) return false;
    const char* Name = Info.dli_sname;
    return std::strncmp(Name, "_ZNSt", 5) == 0 || std::strncmp(Name, "_ZNKSt", 6) == 0 ||
           std::strncmp(Name, "_ZSt", 4) == 0;
}

// Whether the allocation being made was asked for by the game's own code.
bool CalledByGame() {
    void* Stack[CallerDepth];
    const int Depth = backtrace(Stack, CallerDepth);
    bool InExecutable = false;
    for (int I = 0; I < Depth; ++I) {
        if (ThisLibrary.Holds(Stack[I]) || StdCpp.Holds(Stack[I])) continue;
        InExecutable = Executable.Holds(Stack[I]);
        if (!InExecutable) return false;
        if (!InStandardLibrary(Stack[I])) return true;
    }
    // Deep in the executable's container code: the game's container.
    return InExecutable;
}

void Trace() {
    if (TraceFromFrame < 0 || FrameCount < TraceFromFrame || TracesWritten >= MaxTraces) return;
    void* Stack[TraceDepth];
    const int Depth = backtrace(Stack, TraceDepth);
    char Header[64];
    const int Length = std::snprintf(Header, sizeof Header, "allocation in frame %d:\n", FrameCount);
    if (write(STDERR_FILENO, Header, size_t(Length)) == Length) backtrace_symbols_fd(Stack, Depth, STDERR_FILENO);
    ++TracesWritten;
}

void Count() {
    if (!DrawingThreadKnown || Walking || !pthread_equal(pthread_self(), DrawingThread)) return;
    Walking = true;
    if (CalledByGame()) {
        ++GameAllocations;
        Trace();
    } else {
        ++LibraryAllocations;
    }
    Walking = false;
}

void* Allocate(std::size_t Size) {
    Count();
    if (void* P = std::malloc(Size ? Size : 1)) return P;
    throw std::bad_alloc();
}

void* AllocateAligned(std::size_t Size, std::align_val_t Alignment) {
    Count();
    const std::size_t A = static_cast<std::size_t>(Alignment);
    // aligned_alloc wants a multiple of the alignment.
    if (void* P = std::aligned_alloc(A, Size ? (Size + A - 1) / A * A : A)) return P;
    throw std::bad_alloc();
}

double BootSeconds() {
    timespec T;
    clock_gettime(CLOCK_BOOTTIME, &T);
    return double(T.tv_sec) + double(T.tv_nsec) * 1e-9;
}

__attribute__((constructor)) void ReadSettings() {
    if (const char* From = std::getenv("HALVARDINE_ALLOCATION_TRACES")) TraceFromFrame = std::atol(From);
    dl_iterate_phdr(NoteObject, nullptr);
    void* Warm[1];
    backtrace(Warm, 1);  // loads the unwinder now, not in the middle of a count
}

__attribute__((destructor)) void WriteFrames() {
    // Programs that start the game inherit the library too: they draw nothing.
    const char* Name = std::getenv("HALVARDINE_FRAME_ALLOCATIONS");
    if (!Name || FrameCount == 0) return;
    const int File = open(Name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (File < 0) return;
    char Line[64];
    for (int I = 0; I < FrameCount; ++I) {
        const TFrameRecord& F = Frames[I];
        const int Length = std::snprintf(Line, sizeof Line, "%.6f %ld %ld\n", F.Seconds, F.Game, F.Libraries);
        if (write(File, Line, size_t(Length)) < 0) break;
    }
    close(File);
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* Window) {
    using TSwap = void (*)(SDL_Window*);
    static const TSwap Swap = reinterpret_cast<TSwap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    Swap(Window);
    if (!DrawingThreadKnown) {
        DrawingThread = pthread_self();
        DrawingThreadKnown = true;
    } else if (FrameCount < MaxFrames) {
        Frames[FrameCount++] = {BootSeconds(), GameAllocations, LibraryAllocations};
    }
    GameAllocations = LibraryAllocations = 0;
}

// GCC takes the malloc/free pairs below for mismatches.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(Size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t Size, const std::nothrow_t& NoThrow) noexcept { return operator new(Size, NoThrow); }
void* operator new(std::size_t Size, std::align_val_t Alignment) { return AllocateAligned(Size, Alignment); }
void* operator new[](std::size_t Size, std::align_val_t Alignment) { return AllocateAligned(Size, Alignment); }
void* operator new(std::size_t Size, std::align_val_t Alignment, const std::nothrow_t&) noexcept {
    try {
        return AllocateAligned(Size, Alignment);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t Size, std::align_val_t Alignment, const std::nothrow_t& NoThrow) noexcept {
    return operator new(Size, Alignment, NoThrow);
}

void operator delete(void* P) noexcept { std::free(P); }
void operator delete[](void* P) noexcept { std::free(P); }
void operator delete(void* P, std::size_t) noexcept { std::free(P); }
void operator delete[](void* P, std::size_t) noexcept { std::free(P); }
void operator delete(void* P, std::align_val_t) noexcept { std::free(P); }
void operator delete[](void* P, std::align_val_t) noexcept { std::free(P); }
void operator delete(void* P, std::size_t, std::align_val_t) noexcept { std::free(P); }
void operator delete[](void* P, std::size_t, std::align_val_t) noexcept { std::free(P); }
