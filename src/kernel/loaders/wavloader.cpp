#include "kernel/loaders/wavloader.h"

#include <cstring>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/resources/resourcekinds.h"

Z_IMPLEMENT_CLASS(tAudioLoader)
Z_IMPLEMENT_CLASS(tWAVLoader, .Operations = {{"FileExtension"}, {"CanSave"}, {"Load"}})

namespace {

constexpr int32_t RIFFHeaderSize = 12;  // "RIFF", size, "WAVE"
constexpr int32_t ChunkHeaderSize = 8;  // four characters, size
constexpr int32_t PCMFormatSize = 16;
// Field offsets in the format chunk.
constexpr int OffFormatTag = 0, OffChannels = 2, OffSampleRate = 4, OffBitsPerSample = 14;
constexpr uint16_t PCMFormat = 1;

// The format chunk's fields; fatal for anything OpenAL cannot play.
void ReadFormat(tIStream& Stream, uint32_t ChunkSize, TWaveform& Wave) {
    if (ChunkSize < PCMFormatSize) Logger->Fatal("Wave format chunk is too short: " + Int2Str(ChunkSize) + " bytes");
    uint8_t Format[PCMFormatSize];
    Stream.BlockRead(Format, PCMFormatSize);
    if (ReadLE<uint16_t>(Format + OffFormatTag) != PCMFormat) Logger->Fatal("Can only read PCM wave files");
    Wave.Channels = ReadLE<uint16_t>(Format + OffChannels);
    Wave.SamplesPerSec = ReadLE<int32_t>(Format + OffSampleRate);
    Wave.BitsPerSample = ReadLE<uint16_t>(Format + OffBitsPerSample);
    const bool Playable = (Wave.Channels == 1 || Wave.Channels == 2) &&
                          (Wave.BitsPerSample == 8 || Wave.BitsPerSample == 16) && Wave.SamplesPerSec > 0;
    if (!Playable)
        Logger->Fatal("Unsupported wave format: " + Int2Str(Wave.Channels) + " channels, " +
                      Int2Str(Wave.BitsPerSample) + " bits per sample, " + Int2Str(Wave.SamplesPerSec) +
                      " samples per second (mono or stereo, 8 or 16 bits only)");
}

// The data chunk's samples, cut to whole frames. The memory is sized from the
// header only once the file is known to hold that many bytes.
void ReadSamples(tIStream& Stream, int64_t Available, uint32_t ChunkSize, TWaveform& Wave) {
    if (ChunkSize > Available)
        Logger->Fatal("Wave data is shorter than its header announces: " + Int2Str(ChunkSize) + " bytes announced, " +
                      Int2Str(Available) + " present");
    const uint32_t FrameSize = static_cast<uint32_t>(Wave.Channels * Wave.BitsPerSample / 8);
    Wave.WaveData.resize(ChunkSize - ChunkSize % FrameSize);
    Stream.BlockRead(Wave.WaveData.data(), static_cast<int32_t>(Wave.WaveData.size()));
}

}  // namespace

TWaveform tWAVLoader::ReadWaveform(tIStream& Stream) {
    uint8_t Header[RIFFHeaderSize];
    Stream.BlockRead(Header, RIFFHeaderSize);
    if (std::memcmp(Header, "RIFF", 4) != 0) Logger->Fatal("Can only read RIFF files");

    // Positions are counted here: streams disagree on where GetPosition starts.
    const int64_t FileSize = Stream.GetSize();
    int64_t Position = RIFFHeaderSize;
    TWaveform Wave;
    bool HasFormat = false;
    auto MissingChunk = [&] { Logger->Fatal(HasFormat ? "Wave file has no data chunk" : "Wave file has no format chunk"); };
    for (;;) {
        if (FileSize - Position < ChunkHeaderSize) MissingChunk();
        uint8_t Chunk[ChunkHeaderSize];
        Stream.BlockRead(Chunk, ChunkHeaderSize);
        Position += ChunkHeaderSize;
        const uint32_t Size = ReadLE<uint32_t>(Chunk + 4);
        if (std::memcmp(Chunk, "data", 4) == 0) {
            if (!HasFormat) Logger->Fatal("Wave file has no format chunk before its data");
            ReadSamples(Stream, FileSize - Position, Size, Wave);
            return Wave;
        }
        if (std::memcmp(Chunk, "fmt ", 4) == 0) {
            ReadFormat(Stream, Size, Wave);
            HasFormat = true;
        }
        Position += Size + (Size & 1);  // chunks are word-aligned
        if (Position > FileSize) MissingChunk();
        Stream.Seek(static_cast<int32_t>(Position));
    }
}

void tWAVLoader::Load(tIStream& Stream, tResource& Resource) {
    auto& Waveform = dynamic_cast<tWaveformResource&>(Resource);
    Waveform.BeginLoad();
    Waveform.AttachWaveform(ReadWaveform(Stream));
    Waveform.EndLoad();
}
