#include "kernel/audio/musiccheck.h"

#include <algorithm>
#include <cstdint>

#include "kernel/core/strutils.h"

namespace {

// A reader that never reads past the end: a read beyond it fails, and
// every later read fails too.
class tBytes {
public:
    explicit tBytes(std::string_view Data) : Data(Data) {}

    bool Ok() const { return Good; }
    std::size_t Left() const { return Good ? Data.size() - At : 0; }
    uint32_t Byte() {
        if (Left() < 1) return Fail();
        return static_cast<uint8_t>(Data[At++]);
    }
    uint32_t LittleEndian16() {
        const uint32_t Low = Byte();
        return Low | Byte() << 8;
    }
    uint32_t BigEndian(int Bytes) {
        uint32_t V = 0;
        for (int I = 0; I < Bytes; ++I) V = V << 8 | Byte();
        return V;
    }
    std::string_view Take(std::size_t N) {
        if (Left() < N) {
            Fail();
            return {};
        }
        At += N;
        return Data.substr(At - N, N);
    }
    // A MIDI variable-length quantity: at most four bytes of seven bits.
    uint32_t VarLen() {
        uint32_t V = 0;
        for (int I = 0; I < 4; ++I) {
            const uint32_t B = Byte();
            V = V << 7 | (B & 0x7F);
            if (!(B & 0x80)) return V;
        }
        return Fail();
    }

private:
    uint32_t Fail() {
        Good = false;
        return 0;
    }
    std::string_view Data;
    std::size_t At = 0;
    bool Good = true;
};

// ---- MIDI ---------------------------------------------------------------------
// Read as strictly as the synthesizer reads it, or more: any song it would
// refuse, it refuses again on every loop without ever returning.

constexpr uint32_t MaxMIDITracks = 255;

// Meta events whose length the synthesizer insists on.
int RequiredMetaLength(uint32_t Type) {
    switch (Type) {
        case 0x2F: return 0;  // end of track
        case 0x51: return 3;  // tempo
        case 0x54: return 5;  // SMPTE offset
        case 0x58: return 4;  // time signature
        case 0x59: return 2;  // key signature
        default: return -1;
    }
}

// The ticks a track lasts, or an error.
ShortString ReadTrack(std::string_view Track, uint64_t& Ticks) {
    tBytes In(Track);
    uint32_t Running = 0;
    Ticks = 0;
    while (In.Ok()) {
        Ticks += In.VarLen();
        uint32_t Status = In.Byte();
        if (!In.Ok()) break;
        if (Status < 0x80) {
            if (!Running) return "a data byte without a status";
            // The byte read is the first data byte of a message like the last.
            Status = Running;
            const uint32_t DataBytes = (Status & 0xF0) == 0xC0 || (Status & 0xF0) == 0xD0 ? 0 : 1;
            for (uint32_t I = 0; I < DataBytes; ++I)
                if (In.Byte() >= 0x80) return "a channel message cut short";
            continue;
        }
        if (Status < 0xF0) {
            Running = Status;
            const uint32_t DataBytes = (Status & 0xF0) == 0xC0 || (Status & 0xF0) == 0xD0 ? 1 : 2;
            for (uint32_t I = 0; I < DataBytes; ++I)
                if (In.Byte() >= 0x80) return "a channel message cut short";
            continue;
        }
        Running = 0;
        if (Status == 0xF0 || Status == 0xF7) {
            In.Take(In.VarLen());
            continue;
        }
        if (Status != 0xFF) return "an event no song holds";
        const uint32_t Type = In.Byte();
        const uint32_t Length = In.VarLen();
        const std::string_view Body = In.Take(Length);
        if (!In.Ok()) break;
        if (Type >= 0x80) return "a meta event of no type";
        if (const int Required = RequiredMetaLength(Type); Required >= 0 && Length != uint32_t(Required))
            return "a meta event of the wrong length";
        if (Type == 0x51 && Body[0] == 0 && Body[1] == 0 && Body[2] == 0) return "a tempo of zero";
        if (Type == 0x2F) return In.Left() == 0 ? "" : "events after the end of a track";
    }
    return "a track without its end";
}

ShortString MIDIError(std::string_view File) {
    tBytes In(File);
    if (In.Take(4) != "MThd" || In.BigEndian(4) != 6) return "no MIDI header";
    const uint32_t Format = In.BigEndian(2), Tracks = In.BigEndian(2), Division = In.BigEndian(2);
    if (!In.Ok() || Format > 2) return "no MIDI format";
    if (Tracks == 0 || Tracks > MaxMIDITracks) return "no tracks it can play";
    if (Division == 0 || (Division & 0x8000)) return "no timing it can play";
    uint64_t Longest = 0;
    for (uint32_t Found = 0; Found < Tracks;) {
        const std::string_view Id = In.Take(4);
        const std::string_view Chunk = In.Take(In.BigEndian(4));
        if (!In.Ok()) return "fewer tracks than it names";
        if (Id != "MTrk") continue;
        uint64_t Ticks = 0;
        if (ShortString Error = ReadTrack(Chunk, Ticks); !Error.empty()) return "track " + Int2Str(Found + 1) + ": " + Error;
        Longest = std::max(Longest, Ticks);
        ++Found;
    }
    return Longest > 0 ? "" : "a song that lasts no time";
}

// ---- Tracker modules ---------------------------------------------------------

// Channels of a Protracker-style module by the signature at 1080, 0 for none.
int MODChannels(std::string_view Tag) {
    for (std::string_view Four : {"M.K.", "M!K!", "FLT4", "4CHN"})
        if (Tag == Four) return 4;
    if (Tag == "FLT8" || Tag == "CD81" || Tag == "OKTA" || Tag == "OCTA") return 8;
    auto Digit = [](char C) { return C >= '0' && C <= '9'; };
    if (Digit(Tag[0]) && Tag.substr(1) == "CHN") return Tag[0] - '0';
    if (Digit(Tag[0]) && Digit(Tag[1]) && Tag.substr(2) == "CH") return (Tag[0] - '0') * 10 + (Tag[1] - '0');
    return 0;
}

ShortString MODError(std::string_view File) {
    constexpr std::size_t OrdersAt = 950, PatternTableAt = 952, TagAt = 1080, PatternsAt = 1084;
    constexpr std::size_t PatternRows = 64, NoteBytes = 4, TableSize = 128;
    if (File.size() < PatternsAt) return "too short for a module";
    const int Channels = MODChannels(File.substr(TagAt, 4));
    if (Channels <= 0) return "no module signature";
    const auto Orders = static_cast<uint8_t>(File[OrdersAt]);
    if (Orders == 0 || Orders > TableSize) return "no song order";
    uint32_t Patterns = 0;
    for (std::size_t I = 0; I < TableSize; ++I) {
        const auto P = static_cast<uint8_t>(File[PatternTableAt + I]);
        if (P >= TableSize) return "a pattern past the table";
        Patterns = std::max<uint32_t>(Patterns, P + 1u);
    }
    const std::size_t PatternBytes = Patterns * PatternRows * NoteBytes * static_cast<std::size_t>(Channels);
    return File.size() >= PatternsAt + PatternBytes ? "" : "patterns cut short";
}

ShortString S3MError(std::string_view File) {
    tBytes In(File);
    In.Take(28);
    const uint32_t Mark = In.Byte(), Type = In.Byte();
    In.Take(2);
    const uint32_t Orders = In.LittleEndian16();
    In.Take(10);
    if (!In.Ok() || In.Take(4) != "SCRM" || Mark != 0x1A || Type != 0x10) return "no S3M header";
    return Orders > 0 ? "" : "no song order";
}

ShortString XMError(std::string_view File) {
    tBytes In(File);
    if (In.Take(17) != "Extended Module: ") return "no XM header";
    In.Take(20);
    if (In.Byte() != 0x1A) return "no XM header";
    In.Take(26);
    const uint32_t Orders = In.LittleEndian16();
    In.Take(2);
    const uint32_t Channels = In.LittleEndian16();
    if (!In.Ok()) return "no XM header";
    if (Orders == 0 || Orders > 256) return "no song order";
    return Channels >= 1 && Channels <= 64 ? "" : "no channels it can play";
}

ShortString ITError(std::string_view File) {
    tBytes In(File);
    if (In.Take(4) != "IMPM") return "no IT header";
    In.Take(28);
    const uint32_t Orders = In.LittleEndian16();
    if (!In.Ok() || File.size() < 192) return "no IT header";
    return Orders > 0 ? "" : "no song order";
}

// ---- Sampled music -------------------------------------------------------------

ShortString OGGError(std::string_view File) {
    tBytes In(File);
    if (In.Take(4) != "OggS" || In.Byte() != 0) return "no Ogg stream";
    In.Take(21);
    const uint32_t Segments = In.Byte();
    In.Take(Segments);
    if (!In.Ok() || In.Take(7) != std::string_view("\x01vorbis", 7)) return "no Vorbis stream";
    return {};
}

struct tMPEGFrame {
    uint32_t Version, Layer, SampleRate;
    std::size_t Bytes;
};

// The frame whose header starts Data, if one does.
bool MPEGFrameAt(std::string_view Data, tMPEGFrame& F) {
    if (Data.size() < 4) return false;
    const auto B = [&](std::size_t I) { return static_cast<uint8_t>(Data[I]); };
    if (B(0) != 0xFF || (B(1) & 0xE0) != 0xE0) return false;
    F.Version = (B(1) >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
    F.Layer = (B(1) >> 1) & 3;    // 1: III, 2: II, 3: I
    const uint32_t RateIndex = B(2) >> 4, FrequencyIndex = (B(2) >> 2) & 3, Padding = (B(2) >> 1) & 1;
    if (F.Version == 1 || F.Layer == 0 || RateIndex == 0 || RateIndex == 15 || FrequencyIndex == 3) return false;
    static constexpr uint16_t KBits[5][14] = {
        {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG 1, layer I
        {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG 1, layer II
        {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG 1, layer III
        {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG 2 and 2.5, layer I
        {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG 2 and 2.5, layers II and III
    };
    static constexpr uint32_t Frequencies[3] = {44100, 48000, 32000};
    const bool MPEG1 = F.Version == 3;
    const int Table = MPEG1 ? 3 - int(F.Layer) : (F.Layer == 3 ? 3 : 4);
    const uint32_t BitRate = KBits[Table][RateIndex - 1] * 1000u;
    F.SampleRate = Frequencies[FrequencyIndex] >> (MPEG1 ? 0 : F.Version == 2 ? 1 : 2);
    if (F.Layer == 3) F.Bytes = (12 * BitRate / F.SampleRate + Padding) * 4;
    else F.Bytes = (F.Layer == 1 && !MPEG1 ? 72 : 144) * BitRate / F.SampleRate + Padding;
    return true;
}

ShortString MP3Error(std::string_view File) {
    constexpr std::size_t TagHeader = 10, SearchBytes = 64 * 1024;
    std::size_t At = 0;
    if (File.size() >= TagHeader && File.substr(0, 3) == "ID3") {
        uint32_t Size = 0;
        for (std::size_t I = 6; I < TagHeader; ++I) Size = Size << 7 | (static_cast<uint8_t>(File[I]) & 0x7F);
        At = TagHeader + Size + ((static_cast<uint8_t>(File[5]) & 0x10) ? TagHeader : 0);
    }
    // Two frames in a row, of one kind: a lone pattern of sync bits in other
    // data is no stream.
    for (const std::size_t End = std::min(File.size(), At + SearchBytes); At < End; ++At) {
        tMPEGFrame First, Next;
        if (!MPEGFrameAt(File.substr(At), First) || At + First.Bytes > File.size()) continue;
        if (MPEGFrameAt(File.substr(At + First.Bytes), Next) && Next.Version == First.Version &&
            Next.Layer == First.Layer && Next.SampleRate == First.SampleRate)
            return {};
    }
    return "no MPEG audio frames";
}

}  // namespace

ShortString MusicFileError(std::string_view File, const ShortString& UpperExtension) {
    struct tFormat {
        const char* Extension;
        ShortString (*Error)(std::string_view);
    };
    static constexpr tFormat Formats[] = {{".MID", MIDIError}, {".MOD", MODError}, {".S3M", S3MError}, {".XM", XMError},
                                          {".IT", ITError},    {".OGG", OGGError}, {".MP3", MP3Error}};
    for (const tFormat& F : Formats)
        if (UpperExtension == F.Extension) return F.Error(File);
    return "no music format";
}
