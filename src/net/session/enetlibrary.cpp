#include "net/session/enetlibrary.h"

#include <enet/enet.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

int Users = 0;
std::atomic<uint64_t> HeapBlocks{0};

// Blocks of 32, 64 ... 16384 bytes, each behind a header naming its list;
// a larger one (a host's peers, say) goes straight to the heap.
constexpr std::size_t SmallestBlock = 32;
constexpr int32_t Lists = 10;
constexpr int32_t NoList = Lists;
struct alignas(std::max_align_t) tHeader {
    union {
        int32_t List;
        tHeader* Next;  // while free
    };
};

std::array<tHeader*, Lists> FreeBlocks{};
std::mutex FreeBlocksGuard;  // tests run hosts on more than one thread

// Under the address sanitizer every block comes from the heap, so that it
// still sees ENet's use of freed memory.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool KeepBlocks = false;
#else
constexpr bool KeepBlocks = true;
#endif

int32_t ListFor(std::size_t Size) {
    if (!KeepBlocks) return NoList;
    std::size_t Block = SmallestBlock;
    for (int32_t L = 0; L < Lists; ++L, Block *= 2)
        if (Size <= Block) return L;
    return NoList;
}

void* ENetMalloc(size_t Size) {
    const int32_t L = ListFor(Size);
    tHeader* H = nullptr;
    if (L != NoList) {
        std::lock_guard Lock(FreeBlocksGuard);
        if ((H = FreeBlocks[L])) FreeBlocks[L] = H->Next;
    }
    if (!H) {
        ++HeapBlocks;
        H = static_cast<tHeader*>(std::malloc(sizeof(tHeader) + (L == NoList ? Size : SmallestBlock << L)));
        if (!H) return nullptr;
    }
    H->List = L;
    return H + 1;
}

void ENetFree(void* Memory) {
    if (!Memory) return;
    tHeader* H = static_cast<tHeader*>(Memory) - 1;
    const int32_t L = H->List;
    if (L == NoList) {
        std::free(H);
        return;
    }
    std::lock_guard Lock(FreeBlocksGuard);
    H->Next = FreeBlocks[L];
    FreeBlocks[L] = H;
}

// The kept blocks go back to the heap with the last user.
void ReleaseFreeBlocks() {
    std::lock_guard Lock(FreeBlocksGuard);
    for (tHeader*& First : FreeBlocks)
        while (First) std::free(std::exchange(First, First->Next));
}

}  // namespace

tENetLibrary::tENetLibrary() {
    // Blocks from the lists must never reach another allocator's free, so
    // ENet is given them from the first start on.
    static const ENetCallbacks Memory = {ENetMalloc, ENetFree, nullptr};
    Ready = Users > 0 || enet_initialize_with_callbacks(ENET_VERSION, &Memory) == 0;
    if (Ready) ++Users;
}

tENetLibrary::~tENetLibrary() {
    if (Ready && --Users == 0) {
        enet_deinitialize();
        ReleaseFreeBlocks();
    }
}

uint64_t tENetLibrary::HeapAllocations() { return HeapBlocks.load(); }
