#pragma once
// Small sound files for the sound tests and benchmarks, made in memory (WAV,
// MOD, MIDI) or with sox (OGG).

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "kernel/core/byteorder.h"

namespace soundfiles_detail {

constexpr double Pi = 3.14159265358979323846;

inline std::string Bytes(const std::vector<uint8_t>& B) { return std::string(B.begin(), B.end()); }

inline void Append(std::vector<uint8_t>& To, const char* Text) { To.insert(To.end(), Text, Text + std::strlen(Text)); }

template <class T>
inline void AppendLE(std::vector<uint8_t>& To, T Value) {
    To.resize(To.size() + sizeof(T));
    WriteLE<T>(To.data() + To.size() - sizeof(T), Value);
}

inline void AppendBE16(std::vector<uint8_t>& To, uint16_t Value) {
    To.push_back(static_cast<uint8_t>(Value >> 8));
    To.push_back(static_cast<uint8_t>(Value & 0xFF));
}

// A canonical 16-bit mono PCM WAV file holding a sine tone.
inline std::string ToneWAV(double Frequency, double Seconds, int32_t Rate = 22050, double Amplitude = 0.5) {
    const uint32_t Frames = static_cast<uint32_t>(Seconds * Rate);
    std::vector<uint8_t> F;
    Append(F, "RIFF");
    AppendLE<uint32_t>(F, 36 + Frames * 2);
    Append(F, "WAVEfmt ");
    AppendLE<uint32_t>(F, 16);
    AppendLE<uint16_t>(F, 1);
    AppendLE<uint16_t>(F, 1);
    AppendLE<int32_t>(F, Rate);
    AppendLE<int32_t>(F, Rate * 2);
    AppendLE<uint16_t>(F, 2);
    AppendLE<uint16_t>(F, 16);
    Append(F, "data");
    AppendLE<uint32_t>(F, Frames * 2);
    for (uint32_t I = 0; I < Frames; ++I)
        AppendLE<int16_t>(F, static_cast<int16_t>(32767 * Amplitude * std::sin(2 * Pi * Frequency * I / Rate)));
    return Bytes(F);
}

// A sine tone as an OGG Vorbis file, made with sox; empty when sox fails.
inline std::string ToneOGG(double Frequency, double Seconds) {
    const std::filesystem::path File = std::filesystem::current_path() / "tone.ogg";
    const std::string Command = "sox -n -r 44100 -c 1 " + File.string() + " synth " + std::to_string(Seconds) +
                                " sine " + std::to_string(Frequency) + " vol 0.5";
    if (std::system(Command.c_str()) != 0) return {};
    std::ifstream In(File, std::ios::binary);
    std::string Contents((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    std::filesystem::remove(File);
    return Contents;
}

// A one-pattern tracker module looping one tone of 518 Hz.
inline std::string ToneMOD() {
    constexpr int SampleBytes = 32;  // one cycle of a sine, looped
    std::vector<uint8_t> F(20, 0);   // title
    for (int S = 1; S <= 31; ++S) {
        F.resize(F.size() + 22, 0);  // name
        const bool Used = S == 1;
        AppendBE16(F, Used ? SampleBytes / 2 : 0);  // length in words
        F.push_back(0);                             // finetune
        F.push_back(Used ? 64 : 0);                 // volume
        AppendBE16(F, 0);                           // loop start
        AppendBE16(F, Used ? SampleBytes / 2 : 1);  // loop length in words
    }
    F.push_back(1);    // one position
    F.push_back(127);  // restart
    F.resize(F.size() + 128, 0);
    Append(F, "M.K.");
    std::vector<uint8_t> Pattern(64 * 4 * 4, 0);
    constexpr uint16_t Period = 214;  // C-3
    // Row 0, channel 1: sample 1 at the period, no effect.
    Pattern[0] = Period >> 8;
    Pattern[1] = Period & 0xFF;
    Pattern[2] = 1 << 4;
    F.insert(F.end(), Pattern.begin(), Pattern.end());
    for (int I = 0; I < SampleBytes; ++I) F.push_back(static_cast<uint8_t>(static_cast<int8_t>(120 * std::sin(2 * Pi * I / SampleBytes))));
    return Bytes(F);
}

// A MIDI song of one square-lead note, A4, two seconds long.
inline std::string ToneMID() {
    const uint8_t Track[] = {0x00, 0xC0, 80,         // square lead
                             0x00, 0x90, 69, 110,    // A4 on
                             0x83, 0x00, 0x80, 69, 0, // off 384 ticks (2 s) later
                             0x00, 0xFF, 0x2F, 0x00};
    std::vector<uint8_t> F;
    Append(F, "MThd");
    for (uint8_t B : {0, 0, 0, 6, 0, 0, 0, 1, 0, 96}) F.push_back(B);
    Append(F, "MTrk");
    for (int Shift : {24, 16, 8, 0}) F.push_back(static_cast<uint8_t>(sizeof Track >> Shift));
    F.insert(F.end(), std::begin(Track), std::end(Track));
    return Bytes(F);
}

}  // namespace soundfiles_detail

using soundfiles_detail::ToneMID;
using soundfiles_detail::ToneMOD;
using soundfiles_detail::ToneOGG;
using soundfiles_detail::ToneWAV;
