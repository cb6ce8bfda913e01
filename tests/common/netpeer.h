#pragma once
// A client of our own protocol for the network tests: it joins a server on
// 127.0.0.1 and keeps what it hears (the aircraft it saw, the pilots who
// left, the kill feed, why the connection ended).

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "net/session/clientsession.h"

struct tTestPeer : tClientListener {
    std::optional<tServerWelcome> Welcome;
    std::set<int32_t> SeenAircraft, Left;
    std::vector<std::string> Feed;
    std::string Ended;
    tClientSession Session;

    void Welcomed(const tServerWelcome& W) override { Welcome = W; }
    void ServerEvent(const tServerMessage& M) override;
    void SnapshotArrived(const tNetSnapshot& S) override;
    void ConnectionEnded(const std::string& Reason) override { Ended = Reason; }
    // How many kill-feed lines hold Text.
    int32_t FeedLinesWith(const std::string& Text) const;
};

// Services the peers (each sending an empty input every round) until Done
// holds; false when Seconds passed first.
bool ServiceUntil(const std::vector<tTestPeer*>& Peers, const std::function<bool()>& Done, int Seconds = 60);

// Joins the server on 127.0.0.1:Port under Name, trying again while it is
// still starting (Tries times), the peers already in kept serviced; false
// with the reason in Peer.Ended.
bool JoinLocalServer(tTestPeer& Peer, int Port, const std::string& Name, const std::vector<tTestPeer*>& In = {},
                     int Tries = 12);

// A port of this test process's own (Offset tells its tests apart), so that
// tests side by side never meet.
int TestPort(int Offset);
