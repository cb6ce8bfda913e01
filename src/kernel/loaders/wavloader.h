#pragma once
// The sound loader family ("tAudioLoader") and tWAVLoader: PCM WAV files with
// 8- or 16-bit mono or stereo samples. The RIFF chunks are walked to "fmt " and
// "data", so extra chunks (LIST, fact) and longer format chunks are fine.

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
    using tAudioLoader::tAudioLoader;
    static ShortString FileExtension() { return ".WAV"; }
    bool CanSave() const override { return false; }
    void Load(tIStream& Stream, tResource& Resource) override;

    // The samples and format of a WAV file; the samples are cut to whole frames.
    static TWaveform ReadWaveform(tIStream& Stream);
};
