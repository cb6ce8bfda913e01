#include "net/session/fakelink.h"

#include <algorithm>
#include <cstring>

bool tHeldMessages::Push(uint32_t Due, uintptr_t Peer, bool Reliable, const uint8_t* Data, std::size_t Size) {
    if (Size == 0 || Size >= RingBytes || Count == MaxMessages) return false;
    if (Bytes.empty()) {
        Bytes.resize(RingBytes);
        Messages.resize(MaxMessages);
    }
    // The bytes in use run from the oldest message's offset to Tail, maybe
    // round the end of the ring; a message is written in one piece after
    // them, or from the start when the end has too little room.
    std::size_t At = 0;
    if (Count == 0) {
        At = 0;
    } else {
        const std::size_t Head = Messages[First].Offset;
        if (Tail >= Head && Tail + Size <= RingBytes) At = Tail;
        else if (Tail >= Head && Size < Head) At = 0;
        else if (Tail < Head && Tail + Size < Head) At = Tail;
        else return false;
    }
    std::memcpy(Bytes.data() + At, Data, Size);
    Messages[(First + Count) % MaxMessages] = {Due, Peer, Reliable, uint32_t(At), uint32_t(Size)};
    ++Count;
    Tail = At + Size;
    return true;
}

void tHeldMessages::Pop() {
    if (Count == 0) return;
    First = (First + 1) % MaxMessages;
    if (--Count == 0) First = Tail = 0;
}

void tFakeLink::Set(int32_t LagMilliseconds, int32_t LossPercent) {
    Lag = std::clamp(LagMilliseconds, 0, MaxLagMilliseconds);
    Loss = std::clamp(LossPercent, 0, 100);
}

bool tFakeLink::Lose(bool Reliable) {
    if (Reliable || Loss <= 0) return false;
    // A linear congruential generator: no allocation, no state to share.
    Random = Random * 1664525u + 1013904223u;
    if ((Random >> 8) % 100 >= uint32_t(Loss)) return false;
    ++Lost;
    return true;
}

bool tFakeLink::PassesNow(tHeldMessages& Queue, uint32_t Now, uintptr_t Peer, bool Reliable, const uint8_t* Data,
                          std::size_t Size) {
    if (!Active()) return true;
    if (Lose(Reliable)) return false;
    if (Queue.Push(Now + uint32_t(Lag), Peer, Reliable, Data, Size)) return false;
    ++Overflowed;
    return Reliable;
}
