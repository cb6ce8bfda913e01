#pragma once
// The computer pilots' judgement at a client's controls ("halvardine
// --headless --autopilot +Connect host"): each update it is shown its own
// aircraft and the others where the latest snapshot put them, and answers
// with what a person's client sends, the flight keys and the pointer's
// offset. The server flies it like anyone else's; load tests fill a match
// with such clients.

#include <array>
#include <cstdint>

#include "game/botbrain.h"
#include "net/protocol/messages.h"

class tNetPuppet;

class tNetAutopilot {
public:
    explicit tNetAutopilot(uint32_t Seed);

    // This update's input; Puppets by pilot number (null where none),
    // OwnPilot's among them or not yet.
    tNetInput Fly(const std::array<tNetPuppet*, MaxNetPilots + 1>& Puppets, int32_t OwnPilot, float DeltaSeconds);

    // The brain's command as the keys and the pointer a player would give:
    // the stick amounts through the aircraft's steering per pixel.
    static tNetInput InputOf(const TBotCommand& Command);

private:
    TBotBrain Brain;
    std::array<TBotContact, MaxNetPilots> Enemies{};
};
