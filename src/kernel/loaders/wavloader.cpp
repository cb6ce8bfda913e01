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

// Field offsets of the 44-byte header.
constexpr int OffFormatTag = 20, OffChannels = 22, OffSampleRate = 24, OffBitsPerSample = 34, OffDataSize = 40;
constexpr uint16_t PCMFormat = 1;

}  // namespace

TWaveform tWAVLoader::ReadWaveform(tIStream& Stream) {
    uint8_t Header[HeaderSize];
    Stream.BlockRead(Header, HeaderSize);
    if (std::memcmp(Header, "RIFF", 4) != 0) Logger->Fatal("Can only read RIFF files");
    if (ReadLE<uint16_t>(Header + OffFormatTag) != PCMFormat) Logger->Fatal("Can only read PCM wave files");

    TWaveform Wave;
    Wave.Channels = ReadLE<uint16_t>(Header + OffChannels);
    Wave.SamplesPerSec = ReadLE<int32_t>(Header + OffSampleRate);
    Wave.BitsPerSample = ReadLE<uint16_t>(Header + OffBitsPerSample);
    // The sample memory is sized from the header only once the file is known
    // to hold that many bytes.
    const uint32_t DataSize = ReadLE<uint32_t>(Header + OffDataSize);
    const int64_t Available = static_cast<int64_t>(Stream.GetSize()) - HeaderSize;
    if (DataSize > Available)
        Logger->Fatal("Wave data is shorter than its header announces: " + Int2Str(DataSize) + " bytes announced, " +
                      Int2Str(Available) + " present");
    Wave.WaveData.resize(DataSize);
    Stream.BlockRead(Wave.WaveData.data(), static_cast<int32_t>(DataSize));
    return Wave;
}

void tWAVLoader::Load(tIStream& Stream, tResource& Resource) {
    auto& Waveform = dynamic_cast<tWaveformResource&>(Resource);
    Waveform.BeginLoad();
    Waveform.AttachWaveform(ReadWaveform(Stream));
    Waveform.EndLoad();
}
