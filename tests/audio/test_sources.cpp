// Sources and waveforms: shared buffers, play state, running out of OpenAL
// sources, the shutdown order, sound off, and no sound device at all.

#include <gtest/gtest.h>

#include <AL/al.h>
#include <SDL2/SDL_mixer.h>

#include <filesystem>

#include "audio/audiofixture.h"
#include "kernel/audio/audiosystem.h"
#include "kernel/audio/musiccheck.h"
#include "kernel/audio/source.h"
#include "kernel/audio/streamplayers.h"
#include "libraries/classes/console.h"
#include "kernel/core/globals.h"
#include "kernel/null/nullaudio.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/resources/resourcesmanager.h"

namespace {

tSource* MakeSource(tAudioSystem* Audio, const char* FileName) {
    return static_cast<tSource*>(Audio->CreateSource(FileName));
}

}  // namespace

TEST_F(AudioTest, SourcesOfOneFileShareOneBufferReadOnce) {
    StartAudio({{"Sounds/hit.wav", ToneWAV(440, 0.5)}});
    tSource* A = MakeSource(Audio, "Sounds\\hit.wav");
    // Had the second request read the file again, it would not find it.
    std::filesystem::remove("Data/Sounds/hit.wav");
    tSource* B = MakeSource(Audio, "SOUNDS\\Hit.WAV");
    EXPECT_NE(A, B);
    EXPECT_NE(A->BufferID, 0u);
    EXPECT_EQ(A->BufferID, B->BufferID);
    EXPECT_NE(A->SourceID, B->SourceID);
    EXPECT_EQ(static_cast<tZResourcesManager*>(Resources)->Resources.GetTotalItems(), 1);

    EXPECT_FALSE(A->IsPlaying());
    A->Play(nullptr);
    EXPECT_TRUE(A->IsPlaying());
    EXPECT_FALSE(B->IsPlaying());
    A->Pause();
    EXPECT_FALSE(A->IsPlaying()) << "a paused source is not playing";
    A->Play(nullptr);
    EXPECT_TRUE(A->IsPlaying());
    A->Stop();
    EXPECT_FALSE(A->IsPlaying());
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    tZObject::DisposeObject(A);
    tZObject::DisposeObject(B);
}

TEST_F(AudioTest, WhenOpenALHasNoSourceLeftTheSourceIsSilentWithOneWarning) {
    // The test program's OpenAL allows 8 sources.
    StartAudio({{"Sounds/weapons/pulse.wav", ToneWAV(880, 0.1)}});
    std::vector<tSource*> Sources;
    for (int I = 0; I < 10; ++I) Sources.push_back(MakeSource(Audio, "Sounds\\weapons\\pulse.wav"));
    EXPECT_NE(Sources[7]->SourceID, 0u);
    for (tSource* Silent : {Sources[8], Sources[9]}) {
        EXPECT_EQ(Silent->SourceID, 0u);
        Silent->LoopSound(true);
        Silent->Play(nullptr);
        EXPECT_FALSE(Silent->IsPlaying());
        Silent->Pause();
        Silent->Stop();
    }
    EXPECT_EQ(Warnings(), std::vector<std::string>{"OpenAL cannot create another source: Sounds\\weapons\\pulse.wav plays silently"});

    // A source given back makes room for the next.
    tZObject::DisposeObject(Sources[0]);
    Sources[0] = MakeSource(Audio, "Sounds\\weapons\\pulse.wav");
    EXPECT_NE(Sources[0]->SourceID, 0u);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    for (tSource*& S : Sources) tZObject::DisposeObject(S);
}

TEST_F(AudioTest, ResourcesAndTheAudioSystemMayGoBeforeTheSourcesThatPlayThem) {
    StartAudio({{"Sounds/BigEngine3.wav", ToneWAV(110, 0.5)}});
    tSource* EngineHum = MakeSource(Audio, "Sounds\\BigEngine3.wav");
    const uint32_t Buffer = EngineHum->BufferID;
    EngineHum->LoopSound(true);
    EngineHum->Play(nullptr);

    // The program's shutdown order: resources first, while the aircraft's
    // source still plays their buffer.
    tZObject::DisposeObject(Resources);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    EXPECT_FALSE(alIsBuffer(Buffer)) << "the buffer is deleted, not leaked";
    EXPECT_FALSE(EngineHum->IsPlaying());
    EngineHum->Play(nullptr);  // plays nothing
    EXPECT_EQ(alGetError(), AL_NO_ERROR);

    // The engine with its audio system next; the source outlives it.
    tZObject::DisposeObject(Engine);
    EXPECT_FALSE(EngineHum->IsPlaying());
    EngineHum->Play(nullptr);
    tZObject::DisposeObject(EngineHum);
}

TEST_F(AudioTest, PlayAmbientSoundOfAMissingOrUnknownFileIsAConsoleErrorAndTheMusicPlaysOn) {
    StartAudio({{"Music/theme.ogg", ToneOGG(440, 0.5)},
                {"Music/broken.ogg", "OggS but not really"},
                {"Music/theme.xyz", "?"},
                {"Music/menu.cfg", "PlayAmbientSound Music\\gone.ogg\nEcho still running\n"}});
    Console->SendCommand("PlayAmbientSound Music\\theme.ogg", true);
    tStreamPlayer* Theme = Audio->Stream;
    ASSERT_NE(Theme, nullptr);
    EXPECT_NE(dynamic_cast<tOGGPlayer*>(Theme), nullptr);

    Console->SendCommand("PlayAmbientSound", true);
    Console->SendCommand("PlayAmbientSound Music\\missing.ogg", true);
    Console->SendCommand("PlayAmbientSound Music\\theme.xyz", true);
    Console->SendCommand("PlayAmbientSound Music\\broken.ogg", true);
    Console->SendCommand("exec Music\\menu.cfg", true);
    EXPECT_EQ(Audio->Stream, Theme);
    EXPECT_TRUE(Mix_PlayingMusic());

    const std::vector<std::string> Messages = ConsoleMessages();
    ASSERT_GE(Messages.size(), 6u);
    const std::vector<std::string> Last(Messages.end() - 6, Messages.end());
    EXPECT_EQ(Last[0], "Usage: PlayAmbientSound <file name>");
    EXPECT_EQ(Last[1], "Failed to load: Music\\missing.ogg : File not found");
    EXPECT_EQ(Last[2], "Unable to find apropriate loader for: .XYZ (Music\\theme.xyz)");
    EXPECT_EQ(Last[3].rfind("Failed to load: Music\\broken.ogg : ", 0), 0u) << Last[3];
    EXPECT_EQ(Last[4], "Failed to load: Music\\gone.ogg : File not found");
    EXPECT_EQ(Last[5], "still running");

    // Code that asks for music it cannot have ends the program.
    EXPECT_EXIT(Audio->PlayModule("Music\\missing.ogg"), ::testing::ExitedWithCode(255),
                "Failed to load: Music\\\\missing.ogg : File not found");
}

TEST_F(AudioTest, WithSoundOffSourcesNeverPlayAndMusicFilesAreStillChecked) {
    tWinGameEngine& E = StartServices({{"Sounds/hit.wav", ToneWAV(440, 0.1)}, {"Music/theme.ogg", "not played"}});
    E.Audio = NewObject<tNullAudioSubSystem>();
    tAudioSource* Hit = E.Audio->CreateSource("Sounds\\hit.wav");
    Hit->LoopSound(true);
    Hit->Play(nullptr);
    EXPECT_FALSE(Hit->IsPlaying());
    Console->SendCommand("PlayAmbientSound Music\\theme.ogg", true);
    Console->SendCommand("PlayAmbientSound Music\\missing.ogg", true);
    Console->SendCommand("StopAmbientSound", true);
    EXPECT_EQ(ConsoleMessages().back(), "Failed to load: Music\\missing.ogg : File not found");
    tZObject::DisposeObject(Hit);
}

// Run in a process of its own: OpenAL reads its configuration once per process.
TEST_F(AudioTest, WithoutASoundDeviceTheGameRunsSilentWithOneWarning) {
    auto RunSilent = [this] {
        setenv("ALSOFT_DRIVERS", "none", 1);
        setenv("SDL_AUDIODRIVER", "none", 1);
        StartAudio({{"Sounds/announcer/play.wav", ToneWAV(660, 0.3)}, {"Music/theme.ogg", ToneOGG(440, 0.5)}});
        tAudioSource* Voice = Audio->CreateSource("Sounds\\announcer\\play.wav");
        Voice->Play(nullptr);
        // The silent output moves on with engine time: 0.3 s of sound is over
        // after 31 steps of 0.01 s, not after 29.
        int Steps = 0;
        while (Voice->IsPlaying() && Steps < 100) Audio->Tick(0.01f), ++Steps;
        Console->SendCommand("PlayAmbientSound Music\\theme.ogg", true);
        fprintf(stderr, "silent: %d steps, music %s, %zu warning: %s\n", Steps, Audio->Stream ? "playing" : "refused",
                Warnings().size(), Warnings().empty() ? "" : Warnings()[0].c_str());
        tZObject::DisposeObject(Voice);
        ShutDown();
        std::exit(0);
    };
    EXPECT_EXIT(RunSilent(), ::testing::ExitedWithCode(0),
                "silent: 3[01] steps, music playing, 1 warning: No sound device \\(Unable to open OpenAL device; "
                "music: .*\\), the game runs silent");
}

// The options' volumes reach OpenAL's listener and the music mixer at the
// next tick, clamped to 0 .. 100 per cent, and a new stream keeps them.
TEST_F(AudioTest, TheVolumeOptionsSetTheListenerGainAndTheMusicVolume) {
    StartAudio({{"Music/theme.mod", ToneMOD()}});
    Engine->EngineConfig.EffectsVolume = 30;
    Engine->EngineConfig.MusicVolume = 50;
    Audio->Tick(0.01f);
    float Gain = 0;
    alGetListenerf(AL_GAIN, &Gain);
    EXPECT_FLOAT_EQ(Gain, 0.3f);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME / 2);
    Console->SendCommand("PlayAmbientSound Music\\theme.mod", true);
    Audio->Tick(0.01f);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME / 2);
    Engine->EngineConfig.EffectsVolume = 400;
    Audio->Tick(0.01f);
    alGetListenerf(AL_GAIN, &Gain);
    EXPECT_FLOAT_EQ(Gain, 1.0f);
    ShutDown();
}

// Music is checked before the mixer sees it: a MIDI song the synthesizer
// cannot read, or any song that lasts no time, would be restarted for ever
// inside the mixer's thread with the audio lock held. Each is a console
// error, and the music plays on. Every cut of a good song is refused.
TEST_F(AudioTest, DamagedOrEmptyMusicIsRefusedBeforeTheMixerSeesIt) {
    const std::string Song = ToneMID(), Module = ToneMOD();
    const std::string Header = Song.substr(0, 14);
    StartAudio({{"Music/theme.ogg", ToneOGG(440, 0.5)},
                {"Music/empty.mid", ""},
                {"Music/cut.mid", Song.substr(0, Song.size() - 3)},
                {"Music/silent.mid", Header.substr(0, 10) + std::string("\0\1", 2) + Header.substr(12) +
                                         std::string("MTrk\0\0\0\4\0\xff\x2f\0", 12)},
                {"Music/empty.mod", ""},
                {"Music/noise.mp3", std::string(4000, '\x5a')}});
    Console->SendCommand("PlayAmbientSound Music\\theme.ogg", true);
    tStreamPlayer* Theme = Audio->Stream;
    ASSERT_NE(Theme, nullptr);
    for (const char* File : {"empty.mid", "cut.mid", "silent.mid", "empty.mod", "noise.mp3"})
        Console->SendCommand("PlayAmbientSound Music\\" + ShortString(File), true);
    EXPECT_EQ(Audio->Stream, Theme);
    EXPECT_TRUE(Mix_PlayingMusic());
    const std::vector<std::string> Messages = ConsoleMessages();
    ASSERT_GE(Messages.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(Messages.end() - 5, Messages.end()),
              (std::vector<std::string>{"Failed to load: Music\\empty.mid : no MIDI header",
                                        "Failed to load: Music\\cut.mid : fewer tracks than it names",
                                        "Failed to load: Music\\silent.mid : a song that lasts no time",
                                        "Failed to load: Music\\empty.mod : too short for a module",
                                        "Failed to load: Music\\noise.mp3 : no MPEG audio frames"}));

    EXPECT_EQ(MusicFileError(Song, ".MID"), "");
    EXPECT_EQ(MusicFileError(Module, ".MOD"), "");
    for (std::size_t Length = 0; Length < Song.size(); ++Length)
        EXPECT_NE(MusicFileError(std::string_view(Song).substr(0, Length), ".MID"), "") << Length;
}
