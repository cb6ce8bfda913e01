// The game's own sounds and music, as committed in Data/: the format the
// engine reads best, lengths that fit their use, seamless loops, and every
// kind of music stream heard.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

#include "audio/audiofixture.h"
#include "libraries/classes/audiosource.h"
#include "kernel/audio/audiosystem.h"
#include "kernel/core/byteorder.h"
#include "libraries/classes/console.h"
#include "kernel/core/globals.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/resourcesmanager.h"

namespace fs = std::filesystem;

namespace {

// Every file below Data/Sounds and Data/Music of the repository, by its path below Data/.
std::map<std::string, std::string> ShippedSounds() {
    std::map<std::string, std::string> Files;
    const char* Repository = std::getenv("HALVARDINE_SOURCE_DIR");
    if (!Repository) {
        ADD_FAILURE() << "HALVARDINE_SOURCE_DIR must name the repository";
        return Files;
    }
    const fs::path Data = fs::path(Repository) / "Data";
    for (const char* Dir : {"Sounds", "Music"})
        for (const auto& Entry : fs::recursive_directory_iterator(Data / Dir))
            if (Entry.is_regular_file()) Files[fs::relative(Entry.path(), Data).string()] = ReadWholeFile(Entry.path());
    return Files;
}

bool IsWAV(const std::string& Path) {
    std::string Ext = fs::path(Path).extension().string();
    std::transform(Ext.begin(), Ext.end(), Ext.begin(), ::tolower);
    return Ext == ".wav";
}

}  // namespace

TEST(ShippedSounds, EveryWAVIsCanonical16BitPCMAndFitsItsUse) {
    const std::map<std::string, std::string> Files = ShippedSounds();
    // Longest lengths: a gun's sound ends before it has recharged, a countdown
    // says one number a second.
    const std::map<std::string, double> Limits = {
        {"Sounds/Weapons/railgun.wav", 0.8}, {"Sounds/Weapons/plasma.wav", 0.2}, {"Sounds/Weapons/pulse.wav", 0.1},
        {"Sounds/Announcer/seven.wav", 1}, {"Sounds/Announcer/six.wav", 1}, {"Sounds/Announcer/five.wav", 1},
        {"Sounds/Announcer/four.wav", 1}, {"Sounds/Announcer/three.wav", 1}, {"Sounds/Announcer/two.wav", 1},
        {"Sounds/Announcer/one.wav", 1}, {"Sounds/Announcer/play.wav", 1}, {"Sounds/Announcer/new round in.wav", 1}};
    const char* Others[] = {"Sounds/Announcer/lost.wav", "Sounds/BigEngine3.wav", "Sounds/hit.wav",
                            "Sounds/splash_sml.wav", "Sounds/Interface/click.wav", "Sounds/Environment/rain.wav",
                            "Sounds/Environment/thndr_cls.wav", "Sounds/Environment/thndr_cls2.wav",
                            "Sounds/Environment/thndr_cls3.wav", "Sounds/Environment/thndr_far.wav",
                            "Sounds/Environment/thndr_far2.wav", "Sounds/Environment/thndr_far3.wav",
                            "Sounds/Announcer/win.wav", "Sounds/Announcer/lose.wav", "Sounds/damage.wav",
                            "Sounds/pickup.wav", "Music/theme.ogg", "Music/theme.mod", "Music/theme.mid"};
    for (const auto& [Path, Limit] : Limits) EXPECT_TRUE(Files.count(Path)) << Path << " is missing";
    for (const char* Path : Others) EXPECT_TRUE(Files.count(Path)) << Path << " is missing";

    for (const auto& [Path, File] : Files) {
        if (!IsWAV(Path)) continue;
        SCOPED_TRACE(Path);
        ASSERT_GE(File.size(), 44u);
        const auto* H = reinterpret_cast<const uint8_t*>(File.data());
        EXPECT_EQ(std::memcmp(H, "RIFF", 4), 0);
        EXPECT_EQ(std::memcmp(H + 8, "WAVEfmt ", 8), 0);
        EXPECT_EQ(ReadLE<uint32_t>(H + 16), 16u) << "a 16-byte format chunk";
        EXPECT_EQ(ReadLE<uint16_t>(H + 20), 1) << "PCM";
        EXPECT_EQ(ReadLE<uint16_t>(H + 34), 16) << "16 bits";
        EXPECT_EQ(std::memcmp(H + 36, "data", 4), 0) << "the data chunk right after the format";
        EXPECT_EQ(ReadLE<uint32_t>(H + 40), File.size() - 44) << "the data runs to the end of the file";
        const int32_t Channels = ReadLE<uint16_t>(H + 22), Rate = ReadLE<int32_t>(H + 24);
        EXPECT_TRUE(Channels == 1 || Channels == 2);
        EXPECT_GE(Rate, 11025);
        if (Limits.count(Path)) {
            EXPECT_LT(double(File.size() - 44) / (Rate * Channels * 2), Limits.at(Path));
        }
    }

    // A loop's last sample runs into its first as smoothly as any two
    // neighbours inside it.
    for (const char* Loop : {"Sounds/BigEngine3.wav", "Sounds/Environment/rain.wav"}) {
        SCOPED_TRACE(Loop);
        const std::string& File = Files.at(Loop);
        const int32_t Channels = ReadLE<uint16_t>(reinterpret_cast<const uint8_t*>(File.data()) + 22);
        std::vector<int16_t> S;
        for (std::size_t I = 44; I + 2 <= File.size(); I += 2 * Channels)
            S.push_back(ReadLE<int16_t>(reinterpret_cast<const uint8_t*>(File.data()) + I));
        int32_t LargestStep = 0;
        for (std::size_t I = 1; I < S.size(); ++I) LargestStep = std::max(LargestStep, std::abs(S[I] - S[I - 1]));
        EXPECT_LE(std::abs(S.front() - S.back()), LargestStep);
    }
}

TEST_F(AudioTest, ShippedSoundsLoadAndTheThemeIsHeardInEveryFormat) {
    const std::map<std::string, std::string> Files = ShippedSounds();
    StartAudio(tDataFiles(Files.begin(), Files.end()));
    for (const auto& [Path, File] : Files) {
        if (!IsWAV(Path)) continue;
        ShortString Name(Path);
        for (std::size_t I = 0; I < Name.size(); ++I)
            if (Name[I] == '/') Name[I] = '\\';
        tAudioSource* Source = Audio->CreateSource(Name);
        EXPECT_NE(Resources->LoadWaveform(Name)->GetBufferID(), 0u) << Path;
        tZObject::DisposeObject(Source);
    }
    double Marks[4];
    const char* Themes[] = {"Music\\theme.ogg", "Music\\theme.mod", "Music\\theme.mid"};
    for (int I = 0; I < 3; ++I) {
        Console->SendCommand(ShortString("PlayAmbientSound ") + Themes[I], true);
        Marks[I] = Elapsed();
        Wait(1.0);
    }
    Marks[3] = Elapsed();
    ShutDown();
    const tCapture Music = MusicCapture();
    for (int I = 0; I < 3; ++I)
        EXPECT_GT(Music.FrequencyBetween(MusicTime(Music, Marks[I] + 0.3), MusicTime(Music, Marks[I + 1] - 0.1)), 50)
            << Themes[I] << " is not heard";
}
