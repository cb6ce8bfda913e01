#pragma once
// Sound as the tests hear it: one channel of 16-bit samples, read from a WAV
// file (what OpenAL Soft's "wave" driver writes, or a sound of Data/), with
// the questions the tests ask of it.

#include <cstdint>
#include <string>
#include <vector>

// A stretch of sound in a capture, in seconds, with its pitch.
struct tHeardSound {
    double Start = 0, End = 0;
    double Frequency = 0;  // from the zero crossings
    double Length() const { return End - Start; }
};

// Where a known sound was heard best, and how alike it was there (the
// normalised correlation, 1 for the very same waveform at any loudness).
struct tSoundMatch {
    double At = 0;  // seconds
    double Likeness = 0;
};

struct tCapture {
    int32_t Rate = 0;
    std::vector<int16_t> Samples;

    // The sounds louder than Threshold, split at gaps of at least MinGap seconds.
    std::vector<tHeardSound> Sounds(int16_t Threshold = 1000, double MinGap = 0.02) const;
    // The pitch of [From, To) seconds; 0 when it is silent.
    double FrequencyBetween(double From, double To, int16_t Threshold = 1000) const;
    // The root mean square of [From, To) seconds.
    double LoudnessBetween(double From, double To) const;
    // The best place of Known (at the same rate) starting within [From, To)
    // seconds. Both are compared at a quarter of their rate, which keeps
    // a voice recognisable and the search quick.
    tSoundMatch Find(const tCapture& Known, double From, double To) const;
};

// The first channel of a 16-bit PCM WAV file's bytes; empty when it is not one.
// A file whose writer was stopped before it finished its header still gives
// every sample it holds.
tCapture ReadWaveCapture(const std::string& Bytes);
