// What the server sends a client: events, and snapshots read against the
// client's base (none, or the one of tick 10 the seeds name). An accepted
// snapshot, written again against the same base, reads back to the same
// state.

#include <cstdlib>
#include <vector>

#include "net/protocol/messages.h"
#include "net/protocol/snapshot.h"

namespace {

const tNetSnapshot& BaseOfTick10() {
    static const tNetSnapshot Base = [] {
        tNetSnapshot S;
        S.Tick = 10;
        for (uint8_t Pilot : {1, 2, 5}) {
            tNetAircraft& A = S.Aircraft[S.AircraftCount++];
            A.Id = Pilot;
            A.F = {1, 2, 0, 100, 4096, 4128, 12800, 0, 0, 0, 32767, 1920, 128};
        }
        for (uint16_t Id : {7, 9}) {
            tNetProjectile& P = S.Projectiles[S.ProjectileCount++];
            P.Id = Id;
            P.F = {1, 1, 100, 200, 300, -5000, 0, 40};
        }
        return S;
    }();
    return Base;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    if (ReadServerMessageType(Data, Size) != ServerSnapshot) {
        tServerMessage M;
        ReadServerMessage(Data, Size, M);
        return 0;
    }
    static const tNetSnapshot Empty;
    const tNetSnapshot& Base = ServerSnapshotBase(Data, Size) == 10 ? BaseOfTick10() : Empty;
    static tNetSnapshot Got, Again;
    uint32_t Acked = 0, AckedAgain = 0;
    if (!ReadServerSnapshot(Data, Size, Base, Got, Acked)) return 0;
    std::vector<uint8_t> Written(MaxServerMessageBytes * 2);
    Written.resize(WriteServerSnapshot(Written.data(), Written.size(), Got, Base, Acked));
    if (Written.empty() || !ReadServerSnapshot(Written.data(), Written.size(), Base, Again, AckedAgain) ||
        !Again.SameStateAs(Got) || AckedAgain != Acked)
        std::abort();
    return 0;
}
