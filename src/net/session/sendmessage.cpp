#include "net/session/sendmessage.h"

#include <enet/enet.h>

#include "net/protocol/messages.h"

void SendMessage(ENetPeer* Peer, bool Reliable, const uint8_t* Data, std::size_t Size) {
    enet_peer_send(Peer, Reliable ? ChannelReliable : ChannelUnreliable,
                   enet_packet_create(Data, Size, Reliable ? ENET_PACKET_FLAG_RELIABLE : 0));
}
