#pragma once
// The sound loader family ("tAudioLoader") and tWAVLoader: canonical PCM WAV
// files whose 16-byte format chunk is followed directly by the data chunk.

#include "kernel/loaders/waveform.h"
#include "kernel/resources/loader.h"

class tAudioLoader : public tLoader {
    Z_DECLARE_CLASS(tAudioLoader, tLoader)
public:
    using tLoader::tLoader;
};

class tWAVLoader : public tAudioLoader {
    Z_DECLARE_CLASS(tWAVLoader, tAudioLoader)
public:
    static constexpr int32_t HeaderSize = 44;

    using tAudioLoader::tAudioLoader;
    static ShortString FileExtension() { return ".WAV"; }
    bool CanSave() const override { return false; }
    void Load(tIStream& Stream, tResource& Resource) override;

    // The samples and format of a WAV file.
    static TWaveform ReadWaveform(tIStream& Stream);
};
