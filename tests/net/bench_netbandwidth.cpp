// What a networked match costs on the wire, on 127.0.0.1: eight pilots
// circling with their guns firing (two shots a second each, in flight for
// two seconds), snapshots at 20 a second against the acknowledged base,
// inputs at 100 a second. The counters are the bytes a second each client
// receives and sends (ENet's headers included), per simulated second; the
// time is what one simulated second costs both sides.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "net/session/clientsession.h"
#include "net/session/serversession.h"

namespace {

constexpr int32_t Pilots = 8;
constexpr int32_t UpdatesPerSecond = 100;
constexpr int32_t UpdatesPerSnapshot = 5;

struct tQuietServer : tServerListener {
    tServerSession* Session = nullptr;
    bool NameTaken(const std::string&) override { return false; }
    void ClientJoined(int32_t Client, const std::string&, uint8_t, uint8_t) override {
        tServerWelcome W;
        W.Pilot = static_cast<uint8_t>(Client);
        uint8_t B[256];
        Session->Send(Client, B, WriteServerWelcome(B, sizeof B, W));
    }
    void ClientLeft(int32_t) override {}
    void ClientSaid(int32_t, const std::string&) override {}
    void RconLine(int32_t, const std::string&) override {}
    void ServerLog(const std::string&) override {}
};

struct tQuietClient : tClientListener {
    bool In = false;
    void Welcomed(const tServerWelcome&) override { In = true; }
    void ServerEvent(const tServerMessage&) override {}
    void SnapshotArrived(const tNetSnapshot&) override {}
    void ConnectionEnded(const std::string&) override {}
};

void Fly(tNetSnapshot& S, uint32_t Update) {
    const float T = float(Update) / UpdatesPerSecond;
    S.AircraftCount = Pilots;
    S.ProjectileCount = 0;
    for (int32_t P = 0; P < Pilots; ++P) {
        const float A = T * 0.3f + float(P);
        tNetAircraft& Craft = S.Aircraft[P];
        Craft.Id = static_cast<uint8_t>(P + 1);
        Craft.F = {1, 1, 0, 100, NetFixed(512 + 200 * std::cos(A)), NetFixed(512 + 200 * std::sin(A)),
                   NetFixed(150 + 10 * std::sin(T + P)), 0, 0, NetDirection(std::sin(A / 2)),
                   NetDirection(std::cos(A / 2)), NetFixed(60), 200};
        // Two shots a second, each two seconds in flight: four in the air.
        for (int32_t Shot = 0; Shot < 4; ++Shot) {
            const uint32_t Fired = (Update / 50 - uint32_t(Shot)) * 50;
            if (Fired > Update) continue;
            const float Age = float(Update - Fired) / UpdatesPerSecond;
            tNetProjectile& Bolt = S.Projectiles[S.ProjectileCount++];
            Bolt.Id = static_cast<uint16_t>((Fired / 50 * Pilots + uint32_t(P)) % 65535 + 1);
            Bolt.F = {1, P + 1, NetFixed(512 + 300 * Age), NetFixed(512), NetFixed(150), NetFixed(300), 0, 0};
        }
        std::sort(S.Projectiles.begin(), S.Projectiles.begin() + S.ProjectileCount,
                  [](const tNetProjectile& A, const tNetProjectile& B) { return A.Id < B.Id; });
    }
}

void BM_EightPilots(benchmark::State& State) {
    tQuietServer ServerSide;
    tServerSession Server;
    ServerSide.Session = &Server;
    std::string Error;
    if (!Server.Open({0, true, Pilots, ""}, ServerSide, Error)) {
        State.SkipWithError(Error.c_str());
        return;
    }
    std::vector<std::unique_ptr<tQuietClient>> Sides;
    std::vector<std::unique_ptr<tClientSession>> Clients;
    for (int32_t P = 0; P < Pilots; ++P) {
        Sides.push_back(std::make_unique<tQuietClient>());
        Clients.push_back(std::make_unique<tClientSession>());
        Clients.back()->Connect("127.0.0.1:" + std::to_string(Server.Port()), {NetProtocolVersion, "Pilot", 0, 0},
                                *Sides.back(), Error);
    }
    for (int I = 0; I < 500 && !std::all_of(Sides.begin(), Sides.end(), [](auto& S) { return S->In; }); ++I) {
        Server.Service(1);
        for (auto& C : Clients) C->Service(0);
    }
    auto Snapshot = std::make_unique<tNetSnapshot>();
    uint32_t Update = 1;
    uint64_t Down = 0, Up = 0, Seconds = 0;
    for (auto _ : State) {
        const uint64_t Received0 = Clients[0]->BytesReceived(), Sent0 = Clients[0]->BytesSent();
        for (int32_t U = 0; U < UpdatesPerSecond; ++U, ++Update) {
            for (int32_t P = 0; P < Pilots; ++P)
                Clients[P]->SendInput(Update, {uint16_t(ControlFire | (Update / 30 % 2 ? ControlRollLeft : 0)),
                                               int16_t(Update % 40), int16_t(-(int32_t(Update) % 25))});
            Server.Service(0);
            Server.AdvanceUpdate();
            if (Update % UpdatesPerSnapshot == 0) {
                Fly(*Snapshot, Update);
                Snapshot->Tick = Update;
                for (int32_t Client : Server.JoinedClients()) Server.SendSnapshot(Client, *Snapshot);
                Server.Flush();
            }
            for (auto& C : Clients) C->Service(0);
        }
        Down += Clients[0]->BytesReceived() - Received0;
        Up += Clients[0]->BytesSent() - Sent0;
        ++Seconds;
    }
    State.counters["down_bytes_per_s"] = double(Down) / double(Seconds);
    State.counters["up_bytes_per_s"] = double(Up) / double(Seconds);
}
BENCHMARK(BM_EightPilots)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
