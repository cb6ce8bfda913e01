// The network protocol: bounded buffers, every message's round trip and
// refusals, snapshots delta-encoded against a base, and the pilot name rules.

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "net/protocol/messages.h"
#include "net/protocol/pilotnames.h"
#include "net/protocol/snapshot.h"

namespace {

using tBytes = std::vector<uint8_t>;

template <class F>
tBytes Message(F&& Write) {
    tBytes B(MaxServerMessageBytes);
    B.resize(Write(B.data(), B.size()));
    return B;
}

tNetAircraft Aircraft(uint8_t Pilot, float X) {
    tNetAircraft A;
    A.Id = Pilot;
    A.F = {1, 2, 0, 100, NetFixed(X), NetFixed(64.5f), NetFixed(200), 0, 0, 0, 32767, NetFixed(30), 128};
    return A;
}

tNetProjectile Shot(uint16_t Id, uint8_t Owner, float X) {
    tNetProjectile P;
    P.Id = Id;
    P.F = {1, Owner, NetFixed(X), NetFixed(10), NetFixed(150), NetFixed(-300), 0, NetFixed(2.5f)};
    return P;
}

tNetSnapshot Snapshot(uint32_t Tick, std::initializer_list<tNetAircraft> A, std::initializer_list<tNetProjectile> P) {
    tNetSnapshot S;
    S.Tick = Tick;
    for (const auto& E : A) S.Aircraft[S.AircraftCount++] = E;
    for (const auto& E : P) S.Projectiles[S.ProjectileCount++] = E;
    return S;
}

bool ReadBack(const tBytes& M, const tNetSnapshot& Base, tNetSnapshot& Out) {
    uint32_t AckedInput = 0;
    return ReadServerSnapshot(M.data(), M.size(), Base, Out, AckedInput);
}

}  // namespace

TEST(NetBuffer, BoundedReadsAndWrites) {
    uint8_t Buffer[64];
    tNetWriter W(Buffer, sizeof Buffer);
    const int32_t Numbers[] = {0, 1, -1, 63, -64, 64, 300, -300, INT32_MAX, INT32_MIN};
    for (int32_t N : Numbers) W.VarI32(N);
    W.VarU32(UINT32_MAX);
    W.Text("pilot", 15);
    ASSERT_TRUE(W.Ok());
    tNetReader R(Buffer, W.Size());
    for (int32_t N : Numbers) EXPECT_EQ(R.VarI32(), N);
    EXPECT_EQ(R.VarU32(), UINT32_MAX);
    EXPECT_EQ(R.Text(15), "pilot");
    EXPECT_TRUE(R.Finished());
    // Reading past the end fails and gives zeros; so does a varint over 32 bits.
    EXPECT_EQ(R.U32(), 0u);
    EXPECT_FALSE(R.Ok());
    const uint8_t TooLong[] = {0xFF, 0xFF, 0xFF, 0xFF, 0x1F};
    tNetReader Long(TooLong, sizeof TooLong);
    Long.VarU32();
    EXPECT_FALSE(Long.Ok());
    // A writer that runs out of room fails and stays within its buffer.
    tNetWriter Small(Buffer, 3);
    Small.U32(7);
    EXPECT_FALSE(Small.Ok());
    EXPECT_EQ(Small.Size(), 0u);
    // Texts: control characters, bytes above 126 and over-long texts are refused.
    for (const tBytes& Bad : {tBytes{2, 'a', '\n'}, tBytes{1, 0xC3}, tBytes{3, 'a', 'b', 'c'}, tBytes{5, 'a'}}) {
        tNetReader T(Bad.data(), Bad.size());
        T.Text(2);
        EXPECT_FALSE(T.Ok());
    }
    // Only finite numbers are read.
    const float Nan = std::nanf("");
    tNetWriter F(Buffer, sizeof Buffer);
    F.F32(Nan);
    tNetReader FR(Buffer, F.Size());
    FR.F32();
    EXPECT_FALSE(FR.Ok());
}

TEST(NetMessages, ClientMessagesRoundTripAndRefusals) {
    tClientMessage M;
    tBytes Hello = Message([](uint8_t* B, std::size_t C) { return WriteClientHello(B, C, {NetProtocolVersion, "Ace", 1, 2}); });
    ASSERT_TRUE(ReadClientMessage(Hello.data(), Hello.size(), M));
    EXPECT_EQ(M.Type, ClientHello);
    EXPECT_EQ(M.Hello.Name, "Ace");
    EXPECT_EQ(M.Hello.Weapon, 2);

    tClientInput In;
    In.AckedSnapshot = 40;
    In.FirstTick = 1000;
    In.Count = MaxInputsPerMessage;
    for (int32_t I = 0; I < In.Count; ++I) In.Inputs[I] = {uint16_t(I % 512), int16_t(-I), int16_t(I * 100)};
    tBytes Input = Message([&](uint8_t* B, std::size_t C) { return WriteClientInput(B, C, In); });
    ASSERT_TRUE(ReadClientMessage(Input.data(), Input.size(), M));
    EXPECT_EQ(M.Input.FirstTick, 1000u);
    EXPECT_EQ(M.Input.Count, In.Count);
    EXPECT_EQ(M.Input.Inputs, In.Inputs);

    // Refused: empty, unknown type, a byte too many or too few, wrong magic,
    // oversized, inputs out of range, a count of 0 or too many.
    auto Refused = [&M](tBytes B) { return !ReadClientMessage(B.data(), B.size(), M); };
    EXPECT_TRUE(Refused({}));
    EXPECT_TRUE(Refused({99}));
    tBytes Extra = Input;
    Extra.push_back(0);
    EXPECT_TRUE(Refused(Extra));
    for (std::size_t Cut = 0; Cut < Input.size(); ++Cut) EXPECT_TRUE(Refused(tBytes(Input.begin(), Input.begin() + Cut)));
    tBytes BadMagic = Hello;
    BadMagic[1] ^= 1;
    EXPECT_TRUE(Refused(BadMagic));
    EXPECT_TRUE(Refused(tBytes(MaxClientMessageBytes + 1, ClientSay)));
    tBytes BadKeys = Input;
    BadKeys[10] = 0xFF, BadKeys[11] = 0xFF;  // the first input's controls
    EXPECT_TRUE(Refused(BadKeys));
    tBytes BadPointer = Input;
    BadPointer[12] = 0x00, BadPointer[13] = 0x80;  // x = -32768
    EXPECT_TRUE(Refused(BadPointer));
    In.Count = 0;
    EXPECT_EQ(Message([&](uint8_t* B, std::size_t C) { return WriteClientInput(B, C, In); }).size(), 0u);
    tBytes NoInputs = Input;
    NoInputs[9] = 0;
    EXPECT_TRUE(Refused(NoInputs));

    tBytes Rcon = Message([](uint8_t* B, std::size_t C) { return WriteClientRcon(B, C, "secret", "Set BotCount 2"); });
    ASSERT_TRUE(ReadClientMessage(Rcon.data(), Rcon.size(), M));
    EXPECT_EQ(M.Password, "secret");
    EXPECT_EQ(M.Text, "Set BotCount 2");
}

TEST(NetMessages, ServerMessagesRoundTripAndRefusals) {
    tServerMessage M;
    tServerWelcome W{3, 12345, 20, -7, 10, 3600.5f, 14, "tLevel", "tStormyDay", "Island"};
    tBytes Welcome = Message([&](uint8_t* B, std::size_t C) { return WriteServerWelcome(B, C, W); });
    ASSERT_TRUE(ReadServerMessage(Welcome.data(), Welcome.size(), M));
    EXPECT_EQ(M.Welcome.Pilot, 3);
    EXPECT_EQ(M.Welcome.MatchSeed, -7);
    EXPECT_EQ(M.Welcome.SkyTime, 3600.5f);
    EXPECT_EQ(M.Welcome.Weather, "tStormyDay");
    EXPECT_EQ(M.Welcome.ServerName, "Island");

    // A crater arrives bit for bit, so every machine digs the same one.
    tServerPoint P{100.123456f, 200.5f, 33.25f, 5};
    tBytes Crater = Message([&](uint8_t* B, std::size_t C) { return WriteServerPoint(B, C, ServerCrater, P); });
    ASSERT_TRUE(ReadServerMessage(Crater.data(), Crater.size(), M));
    EXPECT_EQ(M.Type, ServerCrater);
    EXPECT_EQ(M.Point.X, P.X);

    tServerPings Pings;
    Pings.Count = 2;
    Pings.Pilot = {1, 4};
    Pings.Milliseconds = {12, 250};
    tBytes PingMessage = Message([&](uint8_t* B, std::size_t C) { return WriteServerPings(B, C, Pings); });
    ASSERT_TRUE(ReadServerMessage(PingMessage.data(), PingMessage.size(), M));
    EXPECT_EQ(M.Pings.Milliseconds[1], 250);

    auto Refused = [&M](const tBytes& B) { return !ReadServerMessage(B.data(), B.size(), M); };
    for (tServerPoint Bad : {tServerPoint{std::nanf(""), 0, 0, 1}, tServerPoint{0, 0, 0, 0}, tServerPoint{0, 2e6f, 0, 1},
                             tServerPoint{0, 0, 0, 100}})
        EXPECT_TRUE(Refused(Message([&](uint8_t* B, std::size_t C) { return WriteServerPoint(B, C, ServerExplosion, Bad); })));
    // A score carries the whole scoreboard line; the weather the sky's time.
    const tServerPilot Score{4, false, -1, 2, 5, 3, ""};
    tBytes ScoreMessage = Message([&](uint8_t* B, std::size_t C) { return WriteServerScore(B, C, Score); });
    ASSERT_TRUE(ReadServerMessage(ScoreMessage.data(), ScoreMessage.size(), M));
    EXPECT_EQ(M.Pilot.Pilot, 4);
    EXPECT_EQ(M.Pilot.Frags, -1);
    EXPECT_EQ(M.Pilot.Deaths, 5);
    EXPECT_EQ(M.Pilot.Credits, 3);
    tBytes Weather = Message([](uint8_t* B, std::size_t C) { return WriteServerWeather(B, C, "tClearDay", 6, 812.25f); });
    ASSERT_TRUE(ReadServerMessage(Weather.data(), Weather.size(), M));
    EXPECT_EQ(M.SkyTime, 812.25f);
    for (uint8_t Bad : {uint8_t(0), uint8_t(MaxNetPilots + 1)})
        EXPECT_TRUE(Refused(Message([Bad](uint8_t* B, std::size_t C) { return WriteServerScore(B, C, {.Pilot = Bad, .Bot = false, .Frags = 1}); })));
    EXPECT_TRUE(Refused(Message([](uint8_t* B, std::size_t C) { return WriteServerWeather(B, C, "tClearDay", 24); })));
    EXPECT_TRUE(Refused(Message([](uint8_t* B, std::size_t C) { return WriteServerWeather(B, C, "tClearDay", 6, -1); })));
    tBytes Cut = Welcome;
    Cut.pop_back();
    EXPECT_TRUE(Refused(Cut));
    // Snapshots are read only against their base.
    EXPECT_TRUE(Refused({ServerSnapshot, 0, 0, 0, 0}));
}

TEST(NetMessages, DisconnectReasonsAsPlayersReadThem) {
    EXPECT_EQ(DisconnectText(DisconnectWord(DisconnectServerFull)), "server full");
    EXPECT_EQ(DisconnectText(DisconnectWord(DisconnectWrongVersion, 7), 5), "wrong version: server 7, yours 5");
    EXPECT_EQ(DisconnectText(DisconnectWord(DisconnectNameRefused)), "name refused");
    EXPECT_EQ(DisconnectText(DisconnectWord(DisconnectServerClosed)), "server closed the connection");
    EXPECT_EQ(DisconnectText(0), "server closed the connection");
}

TEST(NetSnapshots, DeltaAgainstTheAcknowledgedBase) {
    const tNetSnapshot Empty;
    const tNetSnapshot First = Snapshot(10, {Aircraft(1, 64), Aircraft(2, 300), Aircraft(5, 500)},
                                        {Shot(7, 1, 70), Shot(9, 2, 90)});
    tNetSnapshot Got;
    const tBytes Full = Message([&](uint8_t* B, std::size_t C) { return WriteServerSnapshot(B, C, First, Empty); });
    EXPECT_EQ(ServerSnapshotBase(Full.data(), Full.size()), 0u);
    ASSERT_TRUE(ReadBack(Full, Empty, Got));
    EXPECT_TRUE(Got.SameStateAs(First));

    // Pilot 2 left, pilot 5 moved, pilot 9 joined; a shot is gone, one is new.
    tNetAircraft Moved = Aircraft(5, 501.5f);
    Moved.F[tNetAircraft::Health] = 40;
    const tNetSnapshot Next = Snapshot(12, {Aircraft(1, 64), Moved, Aircraft(9, 20)}, {Shot(9, 2, 85), Shot(11, 1, 0)});
    const tBytes Delta = Message([&](uint8_t* B, std::size_t C) { return WriteServerSnapshot(B, C, Next, First); });
    EXPECT_EQ(ServerSnapshotBase(Delta.data(), Delta.size()), 10u);
    ASSERT_TRUE(ReadBack(Delta, First, Got));
    EXPECT_TRUE(Got.SameStateAs(Next));
    EXPECT_LT(Delta.size(), Full.size());
    // Nothing changed: a few bytes.
    tNetSnapshot Same = Next;
    Same.Tick = 14;
    const tBytes Still = Message([&](uint8_t* B, std::size_t C) { return WriteServerSnapshot(B, C, Same, Next); });
    EXPECT_LE(Still.size(), 1u + 12 + 4);
    ASSERT_TRUE(ReadBack(Still, Next, Got));
    EXPECT_TRUE(Got.SameStateAs(Next));

    // Refused: another base, a base not older than the snapshot, every cut.
    EXPECT_FALSE(ReadBack(Delta, Empty, Got));
    EXPECT_FALSE(ReadBack(Delta, Snapshot(10, {}, {}), Got));
    for (std::size_t Cut = 0; Cut < Delta.size(); ++Cut)
        EXPECT_FALSE(ReadBack(tBytes(Delta.begin(), Delta.begin() + Cut), First, Got)) << Cut;
}

TEST(NetSnapshots, DamagedListsAreRefused) {
    const tNetSnapshot Empty;
    tNetSnapshot Got;
    // Type, tick 5, base 0, input 0, no aircraft left, then the given aircraft list.
    auto Full = [](tBytes List) {
        tBytes B = {ServerSnapshot, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        B.insert(B.end(), List.begin(), List.end());
        B.insert(B.end(), {0, 0});  // no projectiles
        return B;
    };
    // A new aircraft: its pilot, the mask of its fields, every field zero.
    const tBytes AllFields = {0xFF, 0x3F};
    auto New = [](uint8_t Pilot, const tBytes& Mask) {
        tBytes B = {Pilot};
        B.insert(B.end(), Mask.begin(), Mask.end());
        B.insert(B.end(), tNetAircraft::FieldCount, 0);
        return B;
    };
    auto List = [](std::initializer_list<tBytes> Entries) {
        tBytes B = {uint8_t(Entries.size())};
        for (const tBytes& E : Entries) B.insert(B.end(), E.begin(), E.end());
        return B;
    };
    ASSERT_TRUE(ReadBack(Full(List({New(3, AllFields)})), Empty, Got));
    EXPECT_EQ(Got.AircraftCount, 1);
    EXPECT_FALSE(ReadBack(Full(List({New(3, {0x01})})), Empty, Got)) << "a new aircraft without all its fields";
    EXPECT_FALSE(ReadBack(Full(List({New(MaxNetPilots + 1, AllFields)})), Empty, Got));
    tBytes Health = New(3, AllFields);
    Health[3 + tNetAircraft::Health] = 0x7D;  // -63
    EXPECT_FALSE(ReadBack(Full(List({Health})), Empty, Got)) << "a field out of its range";
    EXPECT_FALSE(ReadBack(Full(List({New(3, AllFields), New(3, AllFields)})), Empty, Got)) << "the same pilot twice";
    EXPECT_FALSE(ReadBack(Full({200}), Empty, Got)) << "more aircraft than can be";
}

TEST(PilotNames, RulesAndRepeats) {
    EXPECT_EQ(AcceptedPilotName("  Red Baron "), "Red Baron");
    EXPECT_EQ(AcceptedPilotName("123456789012345"), "123456789012345");
    for (const char* Bad : {"", "   ", "1234567890123456", "tab\there", "quote\"d", "caf\xC3\xA9"})
        EXPECT_EQ(AcceptedPilotName(Bad), "") << Bad;

    std::set<std::string> Taken = {"Ace", "Ace (2)", "123456789012345"};
    auto IsTaken = [&Taken](const std::string& N) { return Taken.count(N) > 0; };
    EXPECT_EQ(UniquePilotName("Bob", IsTaken), "Bob");
    EXPECT_EQ(UniquePilotName("Ace", IsTaken), "Ace (3)");
    EXPECT_EQ(UniquePilotName("123456789012345", IsTaken), "12345678901 (2)");
    EXPECT_EQ(NumberedPilotName("Ace Of Spades X", 12), "Ace Of Spa (12)");
}
