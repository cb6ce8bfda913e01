#include "net/diagnostics/netdiagnostics.h"

#include <unistd.h>

#include <cstdio>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/updatetimes.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "net/client/netclient.h"
#include "net/server/netserver.h"

Z_IMPLEMENT_CLASS(tNetDiagnostics, .Operations = {{"Tick"}, {"RenderFrame"}},
                  .Published = {ZPublished<&tNetDiagnostics::PostInit>("PostInit")})

tNetDiagnostics* NetDiagnostics = nullptr;

namespace {

// The share of updates the reported update time covers.
constexpr double TickPercentile = 0.95;

// Resident memory in kilobytes, from the kernel's page counts.
int64_t ResidentKilobytes() {
    long Pages = 0, Resident = 0;
    FILE* Statm = std::fopen("/proc/self/statm", "r");
    if (!Statm) return 0;
    const bool Read = std::fscanf(Statm, "%ld %ld", &Pages, &Resident) == 2;
    std::fclose(Statm);
    return Read ? int64_t(Resident) * sysconf(_SC_PAGESIZE) / 1024 : 0;
}

ShortString Milliseconds(double Value) {
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.3f", Value);
    return Text;
}

}  // namespace

tNetDiagnostics::tNetDiagnostics() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
    NetDiagnostics = this;
    EngineVars->RegisterVar("NetFakeLag", NetFakeLag, BoundFields);
    EngineVars->RegisterVar("NetFakeLoss", NetFakeLoss, BoundFields);
    Console->RegisterCommand("NetStats", ConsoleProc<&tNetDiagnostics::NetStatsC>(this), Commands);
}

tNetDiagnostics::~tNetDiagnostics() {
    if (NetDiagnostics == this) NetDiagnostics = nullptr;
}

void tNetDiagnostics::PostInit() {
    if (!Registered) Engine->RegisterSubsystem(this);
}

void tNetDiagnostics::Tick(float) {
    // Read every update, so "Set NetFakeLag 100" takes effect at once.
    if (NetServer) NetServer->Connections().SetFakeLink(NetFakeLag, NetFakeLoss);
    if (NetClient) NetClient->Connection().SetFakeLink(NetFakeLag, NetFakeLoss);
}

void tNetDiagnostics::tSample::Rates(uint64_t NowSent, uint64_t NowReceived, int64_t& Up, int64_t& Down) {
    const auto Now = std::chrono::steady_clock::now();
    const double Seconds = std::chrono::duration<double>(Now - At).count();
    // A session opened again starts its counts from zero.
    const auto Per = [Seconds](uint64_t Now, uint64_t Before) {
        return Seconds > 0 && Now >= Before ? int64_t(double(Now - Before) / Seconds) : 0;
    };
    Up = Per(NowSent, Sent);
    Down = Per(NowReceived, Received);
    *this = {NowSent, NowReceived, Now};
}

void tNetDiagnostics::NetStatsC(const ShortString&) {
    int64_t Up = 0, Down = 0;
    const ShortString Common = "objects " + Int2Str(Linker->ObjectsGraph().GetTotalItems()) + ", memory " +
                               Int2Str(int32_t(ResidentKilobytes())) + " KB";
    if (NetServer && NetServer->Hosting()) {
        const tServerSession& S = NetServer->Connections();
        Server.Rates(S.BytesSent(), S.BytesReceived(), Up, Down);
        RunUpdates.Add(UpdateTimes);
        Warning->Log("NetStats server: clients " + Int2Str(int32_t(S.JoinedClients().size())) + ", " + Common +
                     ", tick p95 " + Milliseconds(UpdateTimes.PercentileMilliseconds(TickPercentile)) + " ms max " +
                     Milliseconds(UpdateTimes.LongestMilliseconds()) + " ms over " +
                     Int2Str(int32_t(UpdateTimes.Count())) + " updates, run p95 " +
                     Milliseconds(RunUpdates.PercentileMilliseconds(TickPercentile)) + " ms, up " + Int2Str(int32_t(Up)) +
                     " B/s, down " + Int2Str(int32_t(Down)) + " B/s, fake lost " +
                     Int2Str(int32_t(S.FakeLink().Lost)));
        UpdateTimes.Restart();
    }
    if (NetClient && NetClient->Connected()) {
        tClientSession& C = NetClient->Connection();
        Client.Rates(C.BytesSent(), C.BytesReceived(), Up, Down);
        const bool Joined = C.State() == tClientSession::Joined;
        // Corrections come with prediction; until then there are none.
        Warning->Log("NetStats client: pilot " + Int2Str(NetClient->OwnPilot()) + ", " +
                     (Joined ? "joined" : "connecting") + ", " + Common + ", up " + Int2Str(int32_t(Up)) +
                     " B/s, down " + Int2Str(int32_t(Down)) + " B/s, ping " + Int2Str(C.PingMilliseconds()) +
                     " ms, corrections 0, fake lost " + Int2Str(int32_t(C.FakeLink().Lost)));
        return;
    }
    if (!NetServer || !NetServer->Hosting()) Warning->Log("NetStats: not connected, " + Common);
}
