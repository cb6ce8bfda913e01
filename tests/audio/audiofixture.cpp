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
#include "libraries/classes/filesystem.h"

namespace fs = std::filesystem;

namespace {

// The capture files and the configuration that sends OpenAL Soft's output
// into one of them, for the whole test program. OpenAL reads its configuration
// once per process, so this must be in place before any device is opened.
struct tCaptureFiles {
    static constexpr const char* DirVariable = "HALVARDINE_CAPTURE_DIR";
    fs::path Dir;
    bool Owned = false;  // a death test's child uses its parent's, which ends without cleaning up
    tCaptureFiles() {
        if (const char* Inherited = std::getenv(DirVariable)) {
            Dir = Inherited;
        } else {
            Dir = fs::temp_directory_path() / ("halvardine-capture-" + std::to_string(getpid()));
            Owned = true;
            setenv(DirVariable, Dir.c_str(), 1);
        }
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
        if (Owned) fs::remove_all(Dir, Ignored);
    }
} CaptureFiles;

// Keeps the warnings the engine gives.
class tRecordingOutput : public tOutputDevice {
public:
    void Log(const ShortString& Msg) override { Lines.push_back(Msg.str()); }
    void LogP(const char* Msg) override { Lines.emplace_back(Msg); }
    std::vector<std::string> Lines;
};

}  // namespace

// ---- Captures --------------------------------------------------------------------

tCapture AudioTest::EffectsCapture() { return ReadWaveCapture(ReadWholeFile(CaptureFiles.Dir / "effects.wav")); }

tCapture AudioTest::MusicCapture() {
    const std::string File = ReadWholeFile(CaptureFiles.Dir / "music.raw");
    tCapture Capture;
    Capture.Rate = tMusicOutput::MixRate;
    for (std::size_t I = 0; I + 4 <= File.size(); I += 4)  // 16-bit stereo frames
        Capture.Samples.push_back(ReadLE<int16_t>(reinterpret_cast<const uint8_t*>(File.data()) + I));
    return Capture;
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
    if (Audio) StoppedAt = Elapsed();
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

double AudioTest::MusicTime(const tCapture& Music, double RunSeconds) const {
    return RunSeconds * (double(Music.Samples.size()) / Music.Rate) / StoppedAt;
}

void AudioTest::Wait(double Seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(Seconds)); }

std::vector<std::string> AudioTest::Warnings() const {
    std::vector<std::string> Found;
    for (const std::string& Line : static_cast<tRecordingOutput*>(Warning)->Lines)
        if (Line.rfind("adding: ", 0) != 0 && Line.rfind("removing: ", 0) != 0) Found.push_back(Line);
    return Found;
}
