// What the game plays is heard: effects in OpenAL's capture, music in the
// mixer's, at the right time, pitch and length.

#include <gtest/gtest.h>

#include "audio/audiofixture.h"
#include "libraries/classes/audiosource.h"
#include "kernel/audio/audiosystem.h"
#include "libraries/classes/console.h"
#include "kernel/core/globals.h"

namespace {

// A capture as runs of the expected tones: each 50 ms is heard as the nearest
// of Tones (0 for silence or anything else), and equal neighbours merge.
struct tToneRun {
    int Tone;
    double Seconds;
};

std::vector<tToneRun> ToneRuns(const tCapture& Capture, std::initializer_list<int> Tones) {
    constexpr double Window = 0.05, Tolerance = 30;
    std::vector<tToneRun> Runs;
    const double Length = double(Capture.Samples.size()) / Capture.Rate;
    for (double T = 0; T + Window <= Length; T += Window) {
        const double F = Capture.FrequencyBetween(T, T + Window);
        int Heard = 0;
        for (int Tone : Tones)
            if (std::abs(F - Tone) < Tolerance) Heard = Tone;
        if (Runs.empty() || Runs.back().Tone != Heard) Runs.push_back({Heard, 0});
        Runs.back().Seconds += Window;
    }
    // A window where one tone gives way to another is heard as neither.
    std::vector<tToneRun> Merged;
    for (const tToneRun& R : Runs) {
        if (R.Seconds <= Window && !Merged.empty()) continue;
        if (!Merged.empty() && Merged.back().Tone == R.Tone) Merged.back().Seconds += R.Seconds;
        else Merged.push_back(R);
    }
    return Merged;
}

std::string Describe(const std::vector<tToneRun>& Runs) {
    std::string Text;
    for (const tToneRun& R : Runs) Text += std::to_string(R.Tone) + " Hz for " + std::to_string(R.Seconds) + " s; ";
    return Text;
}

}  // namespace

TEST_F(AudioTest, AnnouncerVoiceIsHeardAtTheRightTimePitchAndLength) {
    StartAudio({{"Sounds/interface/click.wav", ToneWAV(1000, 0.05)},
                {"Sounds/announcer/seven.wav", ToneWAV(660, 0.4)}});
    tAudioSource* Click = Audio->CreateSource("Sounds\\interface\\click.wav");
    tAudioSource* Voice = Audio->CreateSource("Sounds\\announcer\\seven.wav");
    Wait(0.2);
    Click->Play(nullptr);
    const double ClickAt = Elapsed();
    Wait(0.3);
    Voice->Play(nullptr);
    const double VoiceAt = Elapsed();
    EXPECT_TRUE(Voice->IsPlaying());
    while (Voice->IsPlaying() && Elapsed() < VoiceAt + 2) Wait(0.01);
    // A loaded machine only lengthens what the program sees; the capture keeps
    // its own time.
    EXPECT_GE(Elapsed() - VoiceAt, 0.3) << "the voice reports playing as long as it is heard";
    tZObject::DisposeObject(Click);
    tZObject::DisposeObject(Voice);
    ShutDown();

    const std::vector<tHeardSound> Heard = EffectsCapture().Sounds();
    ASSERT_EQ(Heard.size(), 2u);
    EXPECT_NEAR(Heard[0].Frequency, 1000, 30);
    EXPECT_NEAR(Heard[0].Length(), 0.05, 0.01);
    EXPECT_NEAR(Heard[1].Frequency, 660, 15);
    EXPECT_NEAR(Heard[1].Length(), 0.4, 0.02);
    // The voice follows the click, apart from it. How far apart is only
    // roughly the program's wait: a mixer starved by a loaded machine catches
    // up and can start a later sound sooner after an earlier one.
    EXPECT_GT(Heard[1].Start, Heard[0].Start + Heard[0].Length() + 0.1) << VoiceAt - ClickAt;
}

TEST_F(AudioTest, AmbientMusicLoopsUntilStoppedAndASecondStreamReplacesTheFirst) {
    StartAudio({{"Music/first.ogg", ToneOGG(440, 0.4)}, {"Music/second.ogg", ToneOGG(660, 1.0)}});
    Wait(0.2);
    Console->SendCommand("PlayAmbientSound Music\\first.ogg", true);
    Wait(1.0);
    Console->SendCommand("PlayAmbientSound Music\\second.ogg", true);
    Wait(0.6);
    Console->SendCommand("StopAmbientSound", true);
    EXPECT_EQ(Audio->Stream, nullptr);
    Wait(0.4);
    ShutDown();

    // Silence, the first stream looping well past its 0.4 s, the second, silence.
    const std::vector<tToneRun> Runs = ToneRuns(MusicCapture(), {440, 660});
    ASSERT_EQ(Runs.size(), 4u) << Describe(Runs);
    EXPECT_EQ(Runs[0].Tone, 0) << Describe(Runs);
    EXPECT_EQ(Runs[1].Tone, 440) << Describe(Runs);
    EXPECT_GT(Runs[1].Seconds, 0.6) << Describe(Runs);
    EXPECT_EQ(Runs[2].Tone, 660) << Describe(Runs);
    EXPECT_GT(Runs[2].Seconds, 0.3) << Describe(Runs);
    EXPECT_EQ(Runs[3].Tone, 0) << Describe(Runs);
    EXPECT_GT(Runs[3].Seconds, 0.15) << Describe(Runs);
}

TEST_F(AudioTest, TrackerModulesAndMIDISongsPlay) {
    StartAudio({{"Music/theme.mod", ToneMOD()}, {"Music/theme.mid", ToneMID()}});
    Console->SendCommand("PlayAmbientSound Music\\theme.mod", true);
    Wait(0.6);
    Console->SendCommand("PlayAmbientSound Music\\theme.mid", true);
    Wait(0.8);
    ShutDown();

    // The module's looped sample at C-3 sounds at 518 Hz; the song's square
    // lead is rich in overtones, so only its presence is checked.
    const tCapture Music = MusicCapture();
    const double End = double(Music.Samples.size()) / Music.Rate;
    EXPECT_NEAR(Music.FrequencyBetween(0.2, 0.5), 518, 15);
    const double SongPitch = Music.FrequencyBetween(End - 0.5, End - 0.1);
    EXPECT_GT(SongPitch, 300);
    EXPECT_GT(std::abs(SongPitch - 518), 30);
}
