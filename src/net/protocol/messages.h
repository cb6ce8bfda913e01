#pragma once
// The messages between a server and its clients. Every ENet packet is one
// message, its first byte the message's type. The client sends its inputs
// unreliably; the server sends snapshots unreliably and everything that
// must arrive (craters, kills, scores, chat, pilots coming and going, the
// end of a match) reliably and in order. Every reader checks length, type
// and range and refuses the whole message at the first fault.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/protocol/netbuffer.h"

inline constexpr uint16_t NetProtocolVersion = 2;
inline constexpr uint16_t DefaultNetPort = 27960;
inline constexpr uint32_t NetHelloMagic = 0x44564C48;  // "HLVD"

enum tNetChannel : uint8_t { ChannelReliable = 0, ChannelUnreliable = 1, NetChannelCount = 2 };

// The largest message each side accepts; a larger one is an attack or a bug.
inline constexpr std::size_t MaxClientMessageBytes = 512;
inline constexpr std::size_t MaxServerMessageBytes = 16384;

inline constexpr int32_t MaxNetPilots = 32;
inline constexpr int32_t MaxNetProjectiles = 256;

inline constexpr std::size_t MaxNameLength = 15;
inline constexpr std::size_t MaxChatLength = 120;
inline constexpr std::size_t MaxLineLength = 255;
inline constexpr std::size_t MaxNetClassNameLength = 63;
inline constexpr std::size_t MaxPasswordLength = 63;

// Why a connection ended: ENet's disconnect word carries the reason in its
// low byte and, for a refused version, the server's version above it.
enum tNetDisconnect : uint8_t {
    DisconnectNone = 0,
    DisconnectServerFull,
    DisconnectWrongVersion,
    DisconnectNameRefused,
    DisconnectMalformed,
    DisconnectServerClosed,
    DisconnectLeft,
    DisconnectTooFast,
    DisconnectCount
};
uint32_t DisconnectWord(tNetDisconnect Reason, uint16_t ServerVersion = NetProtocolVersion);
// What a player reads about a connection the server ended with Word.
std::string DisconnectText(uint32_t Word, uint16_t OurVersion = NetProtocolVersion);

// ---- Client to server ----------------------------------------------------

enum tClientMessageType : uint8_t { ClientHello = 1, ClientInput, ClientSay, ClientRcon, ClientMessageTypes };

// The controls an aircraft is flown with, one bit each.
enum tNetControl : uint16_t {
    ControlFire = 1, ControlRollLeft = 2, ControlRollRight = 4, ControlPitchUp = 8, ControlPitchDown = 16,
    ControlYawLeft = 32, ControlYawRight = 64, ControlThrottleUp = 128, ControlThrottleDown = 256,
    ControlAll = 511
};

// A pilot's input for one update: the keys held and the pointer's offset
// from the window's centre, as the flight recorder writes them.
struct tNetInput {
    uint16_t Controls = 0;
    int16_t PointerX = 0, PointerY = 0;
    bool operator==(const tNetInput&) const = default;
};
inline constexpr int32_t MaxPointerOffset = 4096;
// An input packet repeats what the server has not acknowledged, up to this.
inline constexpr int32_t MaxInputsPerMessage = 32;

struct tClientHello {
    uint16_t Version = NetProtocolVersion;
    std::string Name;
    uint8_t Chassis = 0, Weapon = 0;
};

// Inputs for the updates FirstTick, FirstTick + 1, ...: the client's own
// numbering of its updates. AckedSnapshot is the last snapshot it received.
struct tClientInput {
    uint32_t AckedSnapshot = 0;
    uint32_t FirstTick = 0;
    int32_t Count = 0;
    std::array<tNetInput, MaxInputsPerMessage> Inputs{};
};

struct tClientMessage {
    tClientMessageType Type = ClientMessageTypes;
    tClientHello Hello;
    tClientInput Input;
    std::string Text;      // chat, or the Rcon line
    std::string Password;  // Rcon
};

// Each returns the message's size, 0 when it does not fit.
std::size_t WriteClientHello(uint8_t* Buffer, std::size_t Capacity, const tClientHello& M);
std::size_t WriteClientInput(uint8_t* Buffer, std::size_t Capacity, const tClientInput& M);
std::size_t WriteClientSay(uint8_t* Buffer, std::size_t Capacity, std::string_view Text);
std::size_t WriteClientRcon(uint8_t* Buffer, std::size_t Capacity, std::string_view Password,
                            std::string_view Line);
// False for anything damaged, unknown, oversized or out of range.
bool ReadClientMessage(const uint8_t* Data, std::size_t Size, tClientMessage& Out);

// ---- Server to client ------------------------------------------------------

enum tServerMessageType : uint8_t {
    ServerWelcome = 1, ServerSnapshot, ServerPilot, ServerPilotLeft, ServerScore, ServerCrater, ServerExplosion,
    ServerFeed, ServerChat, ServerWeather, ServerMatchEnd, ServerPings, ServerMessageTypes
};

struct tServerWelcome {
    uint8_t Pilot = 0;          // the client's own pilot
    uint32_t Tick = 0;          // the server's update number now
    uint8_t SnapshotRate = 20;  // per second
    int32_t MatchSeed = 1;
    int32_t FragLimit = 10;
    float SkyTime = 0;          // seconds the sky's day has run
    uint8_t WeatherHour = 0;
    std::string Level, Weather, ServerName;
};

struct tServerPilot {  // a pilot joined, or its score is told to a newcomer
    uint8_t Pilot = 0;
    bool Bot = false;
    int16_t Frags = 0;  // the score
    int16_t Kills = 0, Deaths = 0, Credits = 0;
    std::string Name;
};

struct tServerPoint {  // a crater (radius) or an explosion (size)
    float X = 0, Y = 0, Z = 0, Size = 0;
};

struct tServerPings {
    int32_t Count = 0;
    std::array<uint8_t, MaxNetPilots> Pilot{};
    std::array<uint16_t, MaxNetPilots> Milliseconds{};
};

// Everything but snapshots, which are read against their base (snapshot.h)
// once ReadServerMessageType said so.
struct tServerMessage {
    tServerMessageType Type = ServerMessageTypes;
    tServerWelcome Welcome;
    tServerPilot Pilot;         // ServerPilot; ServerScore all but Bot and Name; ServerPilotLeft and
                                // ServerMatchEnd Pilot only; ServerChat Pilot and Text
    tServerPoint Point;         // ServerCrater, ServerExplosion
    std::string Text;           // ServerFeed, ServerChat; ServerWeather's class
    uint8_t WeatherHour = 0;    // ServerWeather
    float SkyTime = 0;          // ServerWeather
    tServerPings Pings;
};

inline constexpr float MaxWorldCoordinate = 1.0e6f;
inline constexpr float MaxSkyTime = 1.0e7f;
inline constexpr float MaxPointSize = 64.0f;

std::size_t WriteServerWelcome(uint8_t* Buffer, std::size_t Capacity, const tServerWelcome& M);
std::size_t WriteServerPilot(uint8_t* Buffer, std::size_t Capacity, const tServerPilot& M);
std::size_t WriteServerPilotLeft(uint8_t* Buffer, std::size_t Capacity, uint8_t Pilot);
std::size_t WriteServerScore(uint8_t* Buffer, std::size_t Capacity, const tServerPilot& M);
std::size_t WriteServerPoint(uint8_t* Buffer, std::size_t Capacity, tServerMessageType Type, const tServerPoint& M);
std::size_t WriteServerFeed(uint8_t* Buffer, std::size_t Capacity, std::string_view Line);
std::size_t WriteServerChat(uint8_t* Buffer, std::size_t Capacity, uint8_t Pilot, std::string_view Text);
// SkyTime: the seconds the sky's sun is set to (as the welcome's).
std::size_t WriteServerWeather(uint8_t* Buffer, std::size_t Capacity, std::string_view Weather, uint8_t Hour,
                               float SkyTime = 0);
std::size_t WriteServerMatchEnd(uint8_t* Buffer, std::size_t Capacity, uint8_t Winner);
std::size_t WriteServerPings(uint8_t* Buffer, std::size_t Capacity, const tServerPings& M);

// The type of a server message, ServerMessageTypes for an empty or unknown one.
tServerMessageType ReadServerMessageType(const uint8_t* Data, std::size_t Size);
// Any message but a snapshot; false for anything damaged or out of range.
bool ReadServerMessage(const uint8_t* Data, std::size_t Size, tServerMessage& Out);

struct tNetSnapshot;
std::size_t WriteServerSnapshot(uint8_t* Buffer, std::size_t Capacity, const tNetSnapshot& S,
                                const tNetSnapshot& Base, uint32_t AckedInput = 0);
// The tick the snapshot message was written against (0: a full one).
uint32_t ServerSnapshotBase(const uint8_t* Data, std::size_t Size);
// AckedInput: the last of the client's input ticks the server had.
bool ReadServerSnapshot(const uint8_t* Data, std::size_t Size, const tNetSnapshot& Base, tNetSnapshot& Out,
                        uint32_t& AckedInput);
