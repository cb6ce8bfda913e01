// The hosted match's server tick with 16 pilots: fifteen computer pilots
// and the host's player over flat ground, eight clients joined on
// 127.0.0.1 (each taking a computer pilot's place) and sending their input
// every update, snapshots at 20 a second. One iteration is one 0.01 s
// update of the server, the match and the world, clients' packets taken
// in; "allocs/frame" counts operator new in it and the blocks ENet took
// from the heap (its packets and commands), which must both stay 0.
//
// Run from anywhere: build/release/tests/bench_netserver

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "common/allocationcounter.h"
#include "common/enginehost.h"
#include "common/recordingaudio.h"
#include "common/testworld.h"
#include "game/airplane.h"
#include "game/match.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "net/server/netserver.h"
#include "net/session/clientsession.h"

namespace {

constexpr int32_t Clients = 8;

class tBenchAircraft : public tAirplaneActor {
    Z_DECLARE_CLASS(tBenchAircraft, tAirplaneActor)
public:
    explicit tBenchAircraft(const ShortString& Name) : tAirplaneActor(Name) { MeshSize = 3; }
    void Spawned() override {
        SetPosition(StartPosition);
        tActor::Spawned();
    }

protected:
    void ShowExplosion() override {}
    void ShowCrashSite() override {}
};

Z_IMPLEMENT_CLASS(tBenchAircraft, .Operations = {{"Spawned"}, {"ShowExplosion"}, {"ShowCrashSite"}})

struct tSilentClient : tClientListener {
    bool In = false;
    void Welcomed(const tServerWelcome&) override { In = true; }
    void ServerEvent(const tServerMessage&) override {}
    void SnapshotArrived(const tNetSnapshot&) override {}
    void ConnectionEnded(const std::string&) override {}
};

void BM_ServerTick16Pilots(benchmark::State& State) {
    tEngineHost Host;
    RegisterTestWorldClasses();
    Linker->AddClass(tBenchAircraft::StaticClass(CT_SpawnableConstructor));
    tWinGameEngine& E = Host.StartActiveEngine();
    E.Audio = NewObject<tRecordingAudio>();
    tMatch* TheMatch = NewObject<tMatch>();
    tNetServer* Server = NewObject<tNetServer>();
    Linker->InstantiateClassByName("tTickingWorld", "");
    Linker->InstantiateClassByName("tFlatTerrain", "0");
    Console->SendCommand("Set PlaneChassis tBenchAircraft", true);
    Console->SendCommand("Set PrimaryWeapon tWeapon", true);
    for (int32_t I = 0; I < tMatch::MaxPilots - 1; ++I) Console->SendCommand("AddBot tBenchAircraft tWeapon", true);
    Linker->InstantiateClassByName("tBenchAircraft", "500 500 300");  // the host's player
    Server->Host(0, true);

    std::vector<std::unique_ptr<tSilentClient>> Sides;
    std::vector<std::unique_ptr<tClientSession>> Sessions;
    std::string Error;
    for (int32_t C = 0; C < Clients; ++C) {
        Sides.push_back(std::make_unique<tSilentClient>());
        Sessions.push_back(std::make_unique<tClientSession>());
        Sessions.back()->Connect("127.0.0.1:" + std::to_string(Server->Port()), {NetProtocolVersion, "Pilot", 0, 0},
                                 *Sides.back(), Error);
    }
    uint32_t Tick = 0;
    auto Update = [&] {
        Server->Tick(0.01f);
        TheMatch->Tick(0.01f);
        Engine->World->Tick(0.01f);
    };
    // The clients' side, outside the server's tick.
    auto Listen = [&] {
        for (auto& S : Sessions) S->Service(0);
        ++Tick;
        for (auto& S : Sessions) S->SendInput(Tick, {ControlRollLeft, 3, -2});
    };
    for (int I = 0; I < 300; ++I) Update(), Listen();
    int32_t Joined = 0;
    for (auto& S : Sides) Joined += S->In;
    int32_t Flying = 0;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P) Flying += TheMatch->Valid(P) && TheMatch->GetPilot(P).Aircraft;

    int64_t InTicks = 0;
    for (auto _ : State) {
        const int64_t Before = HeapAllocations.load() + int64_t(tENetLibrary::HeapAllocations());
        Update();
        InTicks += HeapAllocations.load() + int64_t(tENetLibrary::HeapAllocations()) - Before;
        State.PauseTiming();
        Listen();
        State.ResumeTiming();
    }
    State.counters["allocs/frame"] = benchmark::Counter(double(InTicks) / double(State.iterations()));
    State.counters["allocs"] = double(InTicks);
    State.counters["clients"] = Joined;
    State.counters["aircraft"] = Flying;
    Sessions.clear();
    tZObject::DisposeObject(Server);
    Host.ShutDownServices();
}
BENCHMARK(BM_ServerTick16Pilots)->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace
