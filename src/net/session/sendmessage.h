#pragma once
// A message on its way to a peer: what must arrive on the reliable channel,
// the rest (inputs, snapshots) on the unreliable one.

#include <cstddef>
#include <cstdint>

struct _ENetPeer;

void SendMessage(_ENetPeer* Peer, bool Reliable, const uint8_t* Data, std::size_t Size);
