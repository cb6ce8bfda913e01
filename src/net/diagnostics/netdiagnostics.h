#pragma once
// How the network is doing, for people and for scripts. "NetStats" prints
// one line on standard output for the match this machine hosts or the one
// it joined: the server's clients, live objects, resident memory and the
// spread of its update times, the client's pilot, ping and corrections, and
// the bytes per second each sent and received since the last "NetStats"
// (scripts/netsoak.sh reads them). The variables NetFakeLag (milliseconds)
// and NetFakeLoss (percent) make this machine's link bad on purpose, both
// ways, as arena games let their developers do.

#include <chrono>
#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/core/updatetimes.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"

class tNetDiagnostics : public tSubSystem {
    Z_DECLARE_CLASS(tNetDiagnostics, tSubSystem)
public:
    tNetDiagnostics();
    ~tNetDiagnostics() override;
    void PostInit();

    void Tick(float DeltaSeconds) override;
    void RenderFrame() override {}

    // Console variables.
    int32_t NetFakeLag = 0;
    int32_t NetFakeLoss = 0;

private:
    // The byte counts a rate was last measured from, per side.
    struct tSample {
        uint64_t Sent = 0, Received = 0;
        std::chrono::steady_clock::time_point At = std::chrono::steady_clock::now();
        // Bytes per second since the last sample; then this is the last.
        void Rates(uint64_t NowSent, uint64_t NowReceived, int64_t& Up, int64_t& Down);
    };

    void NetStatsC(const ShortString& Args);

    tSample Server, Client;
    tUpdateTimes RunUpdates;  // since start-up, added up at each "NetStats"
    tFieldBindings BoundFields;
    tCommandBindings Commands;  // declared last: its commands go first
};

extern tNetDiagnostics* NetDiagnostics;
