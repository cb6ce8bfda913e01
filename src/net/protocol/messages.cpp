#include "net/protocol/messages.h"

#include <cmath>

#include "net/protocol/snapshot.h"

namespace {

// Runs Body on a writer over the buffer; the size written, or 0 when it overflowed.
template <class F>
std::size_t Written(uint8_t* Buffer, std::size_t Capacity, uint8_t Type, F&& Body) {
    tNetWriter W(Buffer, Capacity);
    W.U8(Type);
    Body(W);
    return W.Ok() ? W.Size() : 0;
}

float ReadCoordinate(tNetReader& R, float Limit) {
    const float V = R.F32();
    if (std::fabs(V) > Limit) R.Fail();
    return V;
}

float ReadSkyTime(tNetReader& R) {
    const float V = R.F32();
    if (!(V >= 0 && V <= MaxSkyTime)) R.Fail();
    return V;
}

uint8_t ReadPilot(tNetReader& R, int32_t Low = 1) {
    return static_cast<uint8_t>(R.Ranged(R.U8(), Low, MaxNetPilots));
}

void WriteScore(tNetWriter& W, const tServerPilot& M) {
    W.I16(M.Frags);
    W.I16(M.Kills);
    W.I16(M.Deaths);
    W.I16(M.Credits);
}

void ReadScore(tNetReader& R, tServerPilot& M) {
    M.Frags = R.I16();
    M.Kills = R.I16();
    M.Deaths = R.I16();
    M.Credits = R.I16();
}

}  // namespace

uint32_t DisconnectWord(tNetDisconnect Reason, uint16_t ServerVersion) {
    return uint32_t(Reason) | uint32_t(ServerVersion) << 8;
}

std::string DisconnectText(uint32_t Word, uint16_t OurVersion) {
    switch (Word & 0xFF) {
    case DisconnectServerFull: return "server full";
    case DisconnectWrongVersion:
        return "wrong version: server " + std::to_string((Word >> 8) & 0xFFFF) + ", yours " + std::to_string(OurVersion);
    case DisconnectNameRefused: return "name refused";
    case DisconnectMalformed: return "malformed message";
    case DisconnectTooFast: return "inputs faster than the server's updates";
    default: return "server closed the connection";
    }
}

// ---- Client to server ----------------------------------------------------

std::size_t WriteClientHello(uint8_t* Buffer, std::size_t Capacity, const tClientHello& M) {
    return Written(Buffer, Capacity, ClientHello, [&](tNetWriter& W) {
        W.U32(NetHelloMagic);
        W.U16(M.Version);
        W.Text(M.Name, MaxNameLength);
        W.U8(M.Chassis);
        W.U8(M.Weapon);
    });
}

std::size_t WriteClientInput(uint8_t* Buffer, std::size_t Capacity, const tClientInput& M) {
    return Written(Buffer, Capacity, ClientInput, [&](tNetWriter& W) {
        W.U32(M.AckedSnapshot);
        W.U32(M.FirstTick);
        if (M.Count < 1 || M.Count > MaxInputsPerMessage) W.Fail();
        W.U8(static_cast<uint8_t>(M.Count));
        for (int32_t I = 0; I < M.Count && I < MaxInputsPerMessage; ++I) {
            W.U16(M.Inputs[I].Controls);
            W.I16(M.Inputs[I].PointerX);
            W.I16(M.Inputs[I].PointerY);
        }
    });
}

std::size_t WriteClientSay(uint8_t* Buffer, std::size_t Capacity, std::string_view Text) {
    return Written(Buffer, Capacity, ClientSay, [&](tNetWriter& W) { W.Text(Text, MaxChatLength); });
}

std::size_t WriteClientRcon(uint8_t* Buffer, std::size_t Capacity, std::string_view Password,
                            std::string_view Line) {
    return Written(Buffer, Capacity, ClientRcon, [&](tNetWriter& W) {
        W.Text(Password, MaxPasswordLength);
        W.Text(Line, MaxLineLength);
    });
}

bool ReadClientMessage(const uint8_t* Data, std::size_t Size, tClientMessage& Out) {
    if (Size > MaxClientMessageBytes) return false;
    tNetReader R(Data, Size);
    Out.Type = static_cast<tClientMessageType>(R.U8());
    switch (Out.Type) {
    case ClientHello:
        if (R.U32() != NetHelloMagic) return false;
        Out.Hello.Version = R.U16();
        Out.Hello.Name = R.Text(MaxNameLength);
        Out.Hello.Chassis = static_cast<uint8_t>(R.Ranged(R.U8(), 0, 15));
        Out.Hello.Weapon = static_cast<uint8_t>(R.Ranged(R.U8(), 0, 15));
        break;
    case ClientInput: {
        tClientInput& M = Out.Input;
        M.AckedSnapshot = R.U32();
        M.FirstTick = R.U32();
        M.Count = R.Ranged(R.U8(), 1, MaxInputsPerMessage);
        if (!R.Ok()) return false;
        for (int32_t I = 0; I < M.Count; ++I) {
            M.Inputs[I].Controls = static_cast<uint16_t>(R.Ranged(R.U16(), 0, ControlAll));
            M.Inputs[I].PointerX = static_cast<int16_t>(R.Ranged(R.I16(), -MaxPointerOffset, MaxPointerOffset));
            M.Inputs[I].PointerY = static_cast<int16_t>(R.Ranged(R.I16(), -MaxPointerOffset, MaxPointerOffset));
        }
        // The numbering must not wrap within one message.
        if (M.FirstTick > UINT32_MAX - MaxInputsPerMessage) R.Fail();
        break;
    }
    case ClientSay:
        Out.Text = R.Text(MaxChatLength);
        break;
    case ClientRcon:
        Out.Password = R.Text(MaxPasswordLength);
        Out.Text = R.Text(MaxLineLength);
        break;
    default:
        return false;
    }
    return R.Finished();
}

// ---- Server to client ------------------------------------------------------

std::size_t WriteServerWelcome(uint8_t* Buffer, std::size_t Capacity, const tServerWelcome& M) {
    return Written(Buffer, Capacity, ServerWelcome, [&](tNetWriter& W) {
        W.U8(M.Pilot);
        W.U32(M.Tick);
        W.U8(M.SnapshotRate);
        W.I32(M.MatchSeed);
        W.I32(M.FragLimit);
        W.F32(M.SkyTime);
        W.U8(M.WeatherHour);
        W.Text(M.Level, MaxNetClassNameLength);
        W.Text(M.Weather, MaxNetClassNameLength);
        W.Text(M.ServerName, MaxChatLength);
    });
}

std::size_t WriteServerPilot(uint8_t* Buffer, std::size_t Capacity, const tServerPilot& M) {
    return Written(Buffer, Capacity, ServerPilot, [&](tNetWriter& W) {
        W.U8(M.Pilot);
        W.U8(M.Bot ? 1 : 0);
        WriteScore(W, M);
        W.Text(M.Name, MaxNameLength);
    });
}

std::size_t WriteServerPilotLeft(uint8_t* Buffer, std::size_t Capacity, uint8_t Pilot) {
    return Written(Buffer, Capacity, ServerPilotLeft, [&](tNetWriter& W) { W.U8(Pilot); });
}

std::size_t WriteServerScore(uint8_t* Buffer, std::size_t Capacity, const tServerPilot& M) {
    return Written(Buffer, Capacity, ServerScore, [&](tNetWriter& W) {
        W.U8(M.Pilot);
        WriteScore(W, M);
    });
}

std::size_t WriteServerPoint(uint8_t* Buffer, std::size_t Capacity, tServerMessageType Type, const tServerPoint& M) {
    return Written(Buffer, Capacity, Type, [&](tNetWriter& W) {
        W.F32(M.X);
        W.F32(M.Y);
        W.F32(M.Z);
        W.F32(M.Size);
    });
}

std::size_t WriteServerFeed(uint8_t* Buffer, std::size_t Capacity, std::string_view Line) {
    return Written(Buffer, Capacity, ServerFeed, [&](tNetWriter& W) { W.Text(Line, MaxLineLength); });
}

std::size_t WriteServerChat(uint8_t* Buffer, std::size_t Capacity, uint8_t Pilot, std::string_view Text) {
    return Written(Buffer, Capacity, ServerChat, [&](tNetWriter& W) {
        W.U8(Pilot);
        W.Text(Text, MaxChatLength);
    });
}

std::size_t WriteServerWeather(uint8_t* Buffer, std::size_t Capacity, std::string_view Weather, uint8_t Hour,
                               float SkyTime) {
    return Written(Buffer, Capacity, ServerWeather, [&](tNetWriter& W) {
        W.Text(Weather, MaxNetClassNameLength);
        W.U8(Hour);
        W.F32(SkyTime);
    });
}

std::size_t WriteServerMatchEnd(uint8_t* Buffer, std::size_t Capacity, uint8_t Winner) {
    return Written(Buffer, Capacity, ServerMatchEnd, [&](tNetWriter& W) { W.U8(Winner); });
}

std::size_t WriteServerPings(uint8_t* Buffer, std::size_t Capacity, const tServerPings& M) {
    return Written(Buffer, Capacity, ServerPings, [&](tNetWriter& W) {
        W.U8(static_cast<uint8_t>(M.Count));
        if (M.Count < 0 || M.Count > MaxNetPilots) W.Fail();
        for (int32_t I = 0; I < M.Count && I < MaxNetPilots; ++I) {
            W.U8(M.Pilot[I]);
            W.U16(M.Milliseconds[I]);
        }
    });
}

std::size_t WriteServerSnapshot(uint8_t* Buffer, std::size_t Capacity, const tNetSnapshot& S,
                                const tNetSnapshot& Base, uint32_t AckedInput) {
    return Written(Buffer, Capacity, ServerSnapshot, [&](tNetWriter& W) { WriteSnapshotDelta(W, S, Base, AckedInput); });
}

tServerMessageType ReadServerMessageType(const uint8_t* Data, std::size_t Size) {
    if (Size == 0 || Size > MaxServerMessageBytes || Data[0] == 0 || Data[0] >= ServerMessageTypes)
        return ServerMessageTypes;
    return static_cast<tServerMessageType>(Data[0]);
}

uint32_t ServerSnapshotBase(const uint8_t* Data, std::size_t Size) {
    if (ReadServerMessageType(Data, Size) != ServerSnapshot) return 0;
    return ReadSnapshotBaseTick(tNetReader(Data + 1, Size - 1));
}

bool ReadServerSnapshot(const uint8_t* Data, std::size_t Size, const tNetSnapshot& Base, tNetSnapshot& Out,
                        uint32_t& AckedInput) {
    if (ReadServerMessageType(Data, Size) != ServerSnapshot) return false;
    tNetReader R(Data + 1, Size - 1);
    return ReadSnapshotDelta(R, Base, Out, AckedInput) && R.Finished();
}

bool ReadServerMessage(const uint8_t* Data, std::size_t Size, tServerMessage& Out) {
    Out.Type = ReadServerMessageType(Data, Size);
    if (Out.Type == ServerMessageTypes || Out.Type == ServerSnapshot) return false;
    tNetReader R(Data + 1, Size - 1);
    switch (Out.Type) {
    case ServerWelcome: {
        tServerWelcome& M = Out.Welcome;
        M.Pilot = ReadPilot(R);
        M.Tick = R.U32();
        M.SnapshotRate = static_cast<uint8_t>(R.Ranged(R.U8(), 1, 100));
        M.MatchSeed = R.I32();
        M.FragLimit = R.Ranged(R.I32(), 0, 1000000);
        M.SkyTime = ReadSkyTime(R);
        M.WeatherHour = static_cast<uint8_t>(R.Ranged(R.U8(), 0, 23));
        M.Level = R.Text(MaxNetClassNameLength);
        M.Weather = R.Text(MaxNetClassNameLength);
        M.ServerName = R.Text(MaxChatLength);
        break;
    }
    case ServerPilot:
        Out.Pilot.Pilot = ReadPilot(R);
        Out.Pilot.Bot = R.Ranged(R.U8(), 0, 1) == 1;
        ReadScore(R, Out.Pilot);
        Out.Pilot.Name = R.Text(MaxNameLength);
        if (Out.Pilot.Name.empty()) R.Fail();
        break;
    case ServerPilotLeft:
        Out.Pilot.Pilot = ReadPilot(R);
        break;
    case ServerScore:
        Out.Pilot.Pilot = ReadPilot(R);
        ReadScore(R, Out.Pilot);
        break;
    case ServerCrater:
    case ServerExplosion:
        Out.Point.X = ReadCoordinate(R, MaxWorldCoordinate);
        Out.Point.Y = ReadCoordinate(R, MaxWorldCoordinate);
        Out.Point.Z = ReadCoordinate(R, MaxWorldCoordinate);
        Out.Point.Size = ReadCoordinate(R, MaxPointSize);
        if (Out.Point.Size <= 0) R.Fail();
        break;
    case ServerFeed:
        Out.Text = R.Text(MaxLineLength);
        break;
    case ServerChat:
        Out.Pilot.Pilot = ReadPilot(R, 0);  // 0: the server's own console
        Out.Text = R.Text(MaxChatLength);
        break;
    case ServerWeather:
        Out.Text = R.Text(MaxNetClassNameLength);
        Out.WeatherHour = static_cast<uint8_t>(R.Ranged(R.U8(), 0, 23));
        Out.SkyTime = ReadSkyTime(R);
        break;
    case ServerMatchEnd:
        Out.Pilot.Pilot = ReadPilot(R, 0);
        break;
    case ServerPings:
        Out.Pings.Count = R.Ranged(R.U8(), 0, MaxNetPilots);
        for (int32_t I = 0; R.Ok() && I < Out.Pings.Count; ++I) {
            Out.Pings.Pilot[I] = ReadPilot(R);
            Out.Pings.Milliseconds[I] = R.U16();
        }
        break;
    default:
        return false;
    }
    return R.Finished();
}
