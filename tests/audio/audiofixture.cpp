#include "audio/audiofixture.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "kernel/audio/audiosystem.h"
#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/resources/resourcesmanager.h"
#include "kernel/vfs/filesystem.h"

namespace fs = std::filesystem;

namespace {

// The capture files and the configuration that sends OpenAL Soft's output
// into one of them, for the whole test program. OpenAL reads its configuration
// once per process, so this must be in place before any device is opened.
struct tCaptureFiles {
    fs::path Dir;
    tCaptureFiles() {
        Dir = fs::temp_directory_path() / ("halvardine-capture-" + std::to_string(getpid()));
        fs::create_directories(Dir);
        std::ofstream(Dir / "alsoft.conf") << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\n"
                                              "frequency=44100\nsources=8\n[wave]\nfile="
                                           << (Dir / "effects.wav").string() << "\n";
        setenv("ALSOFT_CONF", (Dir / "alsoft.conf").c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (Dir / "music.raw").c_str(), 1);
    }
    ~tCaptureFiles() {
        std::error_code Ignored;
        fs::remove_all(Dir, Ignored);
    }
} CaptureFiles;

// Keeps the warnings the engine gives.
class tRecordingOutput : public tOutputDevice {
public:
    void Log(const ShortString& Msg) override { Lines.push_back(Msg.str()); }
    void LogP(const char* Msg) override { Lines.emplace_back(Msg); }
    std::vector<std::string> Lines;
};

constexpr double Pi = 3.14159265358979323846;

std::string Bytes(const std::vector<uint8_t>& B) { return std::string(B.begin(), B.end()); }

void Append(std::vector<uint8_t>& To, const char* Text) { To.insert(To.end(), Text, Text + std::strlen(Text)); }

template <class T>
void AppendLE(std::vector<uint8_t>& To, T Value) {
    To.resize(To.size() + sizeof(T));
    WriteLE<T>(To.data() + To.size() - sizeof(T), Value);
}

void AppendBE16(std::vector<uint8_t>& To, uint16_t Value) {
    To.push_back(static_cast<uint8_t>(Value >> 8));
    To.push_back(static_cast<uint8_t>(Value & 0xFF));
}

bool Loud(int16_t S, int16_t Threshold) { return S > Threshold || S < -Threshold; }

}  // namespace

// ---- Captures --------------------------------------------------------------------

std::vector<tHeardSound> tCapture::Sounds(int16_t Threshold, double MinGap) const {
    std::vector<tHeardSound> Found;
    const std::size_t Gap = static_cast<std::size_t>(MinGap * Rate);
    std::size_t Start = 0, Last = 0;
    bool InSound = false;
    auto Close = [&] {
        tHeardSound S{double(Start) / Rate, double(Last + 1) / Rate, 0};
        S.Frequency = FrequencyBetween(S.Start, S.End, 0);
        Found.push_back(S);
    };
    for (std::size_t I = 0; I < Samples.size(); ++I) {
        if (!Loud(Samples[I], Threshold)) continue;
        if (InSound && I - Last >= Gap) Close(), InSound = false;
        if (!InSound) Start = I, InSound = true;
        Last = I;
    }
    if (InSound) Close();
    return Found;
}

double tCapture::FrequencyBetween(double From, double To, int16_t Threshold) const {
    const std::size_t First = static_cast<std::size_t>(From * Rate);
    const std::size_t End = std::min(Samples.size(), static_cast<std::size_t>(To * Rate));
    int32_t Crossings = 0;
    bool Heard = false;
    for (std::size_t I = First + 1; I < End; ++I) {
        Crossings += Samples[I - 1] < 0 && Samples[I] >= 0;
        Heard = Heard || Loud(Samples[I], Threshold);
    }
    return Heard && End > First ? Crossings / (double(End - First) / Rate) : 0;
}

tCapture AudioTest::EffectsCapture() {
    const std::string File = ReadWholeFile(CaptureFiles.Dir / "effects.wav");
    const auto* Data = reinterpret_cast<const uint8_t*>(File.data());
    tCapture Capture;
    int32_t Channels = 1;
    for (std::size_t Pos = 12; Pos + 8 <= File.size();) {
        const uint32_t Size = ReadLE<uint32_t>(Data + Pos + 4);
        if (std::memcmp(Data + Pos, "fmt ", 4) == 0) {
            Channels = ReadLE<uint16_t>(Data + Pos + 10);
            Capture.Rate = ReadLE<int32_t>(Data + Pos + 12);
        }
        if (std::memcmp(Data + Pos, "data", 4) == 0) {
            for (std::size_t I = Pos + 8; I + 2 * Channels <= File.size(); I += 2 * Channels)
                Capture.Samples.push_back(ReadLE<int16_t>(Data + I));
            break;
        }
        Pos += 8 + Size + (Size & 1);
    }
    return Capture;
}

tCapture AudioTest::MusicCapture() {
    const std::string File = ReadWholeFile(CaptureFiles.Dir / "music.raw");
    tCapture Capture;
    Capture.Rate = tMusicOutput::MixRate;
    for (std::size_t I = 0; I + 4 <= File.size(); I += 4)  // 16-bit stereo frames
        Capture.Samples.push_back(ReadLE<int16_t>(reinterpret_cast<const uint8_t*>(File.data()) + I));
    return Capture;
}

// ---- Sound files -----------------------------------------------------------------

std::string ToneWAV(double Frequency, double Seconds, int32_t Rate, double Amplitude) {
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

std::string ToneOGG(double Frequency, double Seconds) {
    const fs::path File = fs::current_path() / "tone.ogg";
    const std::string Command = "sox -n -r 44100 -c 1 " + File.string() + " synth " + std::to_string(Seconds) +
                                " sine " + std::to_string(Frequency) + " vol 0.5";
    EXPECT_EQ(std::system(Command.c_str()), 0) << Command;
    std::string Contents = ReadWholeFile(File);
    fs::remove(File);
    return Contents;
}

std::string ToneMOD() {
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

std::string ToneMID() {
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

// ---- The fixture -----------------------------------------------------------------

tWinGameEngine& AudioTest::StartServices(const tDataFiles& DataFiles) {
    for (const auto& [Path, Contents] : DataFiles) Host->Work.WriteFile("Data/" + Path, Contents);
    delete Warning;
    Warning = new tRecordingOutput();
    FileSystem->SetRootDir("Data\\");
    Resources = NewObject<tZResourcesManager>();
    return StartActiveEngine();
}

void AudioTest::StartAudio(const tDataFiles& DataFiles) {
    tWinGameEngine& E = StartServices(DataFiles);
    Audio = NewObject<tAudioSystem>();
    E.Audio = Audio;
    Started = std::chrono::steady_clock::now();
}

void AudioTest::SetUp() {
    // The outputs mix on threads of their own, which a forked child would lack.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EngineHostTest::SetUp();
}

void AudioTest::ShutDown() {
    if (Resources) tZObject::DisposeObject(Resources);
    EXPECT_EQ(Host->ShutDownServices(), 0);
    Audio = nullptr;
}

void AudioTest::TearDown() {
    ShutDown();
    EngineHostTest::TearDown();
}

double AudioTest::Elapsed() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Started).count();
}

void AudioTest::Wait(double Seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(Seconds)); }

std::vector<std::string> AudioTest::Warnings() const {
    std::vector<std::string> Found;
    for (const std::string& Line : static_cast<tRecordingOutput*>(Warning)->Lines)
        if (Line.rfind("adding: ", 0) != 0 && Line.rfind("removing: ", 0) != 0) Found.push_back(Line);
    return Found;
}
