#include "common/netpeer.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>

void tTestPeer::ServerEvent(const tServerMessage& M) {
    if (M.Type == ServerFeed) Feed.push_back(M.Text);
    if (M.Type == ServerPilotLeft) Left.insert(M.Pilot.Pilot);
}

void tTestPeer::SnapshotArrived(const tNetSnapshot& S) {
    for (int32_t I = 0; I < S.AircraftCount; ++I) SeenAircraft.insert(S.Aircraft[I].Id);
}

int32_t tTestPeer::FeedLinesWith(const std::string& Text) const {
    return int32_t(std::count_if(Feed.begin(), Feed.end(), [&](const std::string& L) { return L.find(Text) != std::string::npos; }));
}

bool ServiceUntil(const std::vector<tTestPeer*>& Peers, const std::function<bool()>& Done, int Seconds) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    uint32_t Tick = 0;
    while (std::chrono::steady_clock::now() < Deadline) {
        ++Tick;
        for (tTestPeer* P : Peers) {
            P->Session.Service(5);
            P->Session.SendInput(Tick, {});
        }
        if (Done()) return true;
    }
    return false;
}

bool JoinLocalServer(tTestPeer& Peer, int Port, const std::string& Name, const std::vector<tTestPeer*>& In, int Tries) {
    std::vector<tTestPeer*> Serviced = In;
    Serviced.push_back(&Peer);
    std::string Error;
    for (int Try = 0; Try < Tries && !Peer.Welcome; ++Try) {
        Peer.Ended.clear();
        if (!Peer.Session.Connect("127.0.0.1:" + std::to_string(Port), {NetProtocolVersion, Name, 0, 0}, Peer, Error)) {
            Peer.Ended = Error;
            return false;
        }
        ServiceUntil(Serviced, [&] { return Peer.Welcome || !Peer.Ended.empty(); });
    }
    return Peer.Welcome.has_value();
}

int TestPort(int Offset) { return 20000 + int((getpid() + Offset) % 20000); }
