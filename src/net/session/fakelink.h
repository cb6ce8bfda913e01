#pragma once
// A bad link made on purpose (the NetFakeLag and NetFakeLoss variables), as
// arena games have for trying their netcode on one machine: every message a
// session sends or receives waits the lag, and unreliable ones are lost at
// the given rate, in both directions. Reliable messages are only delayed,
// since ENet resends what a real link loses. The lag is the same for every
// message, so they keep their order (scripts/netrelay.py is the tool that
// shuffles datagrams). ENet's round trip does not see this lag: the
// sessions add it to the pings they report.
//
// Held messages wait in a ring of bytes allocated once, when the link is
// first made bad; a message that does not fit is dropped and counted.

#include <cstddef>
#include <cstdint>
#include <vector>

// Messages waiting their turn, oldest first; each one's bytes lie in one
// piece of the ring.
class tHeldMessages {
public:
    static constexpr std::size_t RingBytes = std::size_t(1) << 20;
    static constexpr std::size_t MaxMessages = 4096;
    struct tMessage {
        uint32_t Due = 0;      // ENet's clock, in milliseconds
        uintptr_t Peer = 0;    // whose it is, as the session names its peers
        bool Reliable = false;
        uint32_t Offset = 0, Size = 0;
    };

    // False (nothing held) when the message does not fit.
    bool Push(uint32_t Due, uintptr_t Peer, bool Reliable, const uint8_t* Data, std::size_t Size);
    // The oldest message, or null.
    const tMessage* Front() const { return Count ? &Messages[First] : nullptr; }
    const uint8_t* DataOf(const tMessage& M) const { return Bytes.data() + M.Offset; }
    void Pop();
    void Clear() { First = Count = Tail = 0; }
    std::size_t Size() const { return Count; }

private:
    std::vector<uint8_t> Bytes;       // RingBytes, once the first message comes
    std::vector<tMessage> Messages;   // MaxMessages, a ring from First
    std::size_t First = 0, Count = 0;
    std::size_t Tail = 0;  // where the next message's bytes go
};

class tFakeLink {
public:
    static constexpr int32_t MaxLagMilliseconds = 1000;

    // Out of range values are clamped: 0 ... MaxLagMilliseconds, 0 ... 100 %.
    void Set(int32_t LagMilliseconds, int32_t LossPercent);
    bool Active() const { return Lag > 0 || Loss > 0; }
    int32_t LagMilliseconds() const { return Lag; }

    // Whether a message leaving or arriving now is lost on the way.
    bool Lose(bool Reliable);
    // Whether a message about to be sent (or read) goes on now; false when
    // the link lost it or holds it in Queue for later. One that finds no
    // room goes on at once if it must arrive, and is lost otherwise.
    bool PassesNow(tHeldMessages& Queue, uint32_t Now, uintptr_t Peer, bool Reliable, const uint8_t* Data,
                   std::size_t Size);
    // Whether the message is due by Now; all are once the link is good again.
    bool IsDue(const tHeldMessages::tMessage& M, uint32_t Now) const {
        return !Active() || int32_t(Now - M.Due) >= 0;
    }

    tHeldMessages Outgoing, Incoming;
    uint64_t Lost = 0, Overflowed = 0;

private:
    int32_t Lag = 0, Loss = 0;
    uint32_t Random = 0x9E3779B9u;  // the same losses on every run
};
