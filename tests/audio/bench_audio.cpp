// A sound effect's life on a cached waveform (create the source, play it,
// dispose it), through the audio system and with the bare OpenAL calls it
// stands on. OpenAL runs its "null" output unless ALSOFT_DRIVERS says otherwise.

#include <benchmark/benchmark.h>

#include <AL/al.h>

#include <cstdlib>

#include "audio/soundfiles.h"
#include "common/enginehost.h"
#include "libraries/classes/audiosource.h"
#include "kernel/audio/audiosystem.h"
#include "kernel/core/globals.h"
#include "kernel/null/nullaudio.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/resources/resourcesmanager.h"
#include "libraries/classes/filesystem.h"
#include "kernel/resources/resourcekinds.h"

namespace {

const bool NullOutput = setenv("ALSOFT_DRIVERS", "null", 0) == 0;

// The engine's services with the real audio system and one waveform loaded.
struct tAudioHost {
    tEngineHost Host;
    tAudioSystem* Audio = nullptr;

    tAudioHost() {
        Host.Work.WriteFile("Data/Sounds/weapons/plasma.wav", ToneWAV(880, 0.2));
        FileSystem->SetRootDir("Data\\");
        Resources = NewObject<tZResourcesManager>();
        tWinGameEngine& E = Host.StartActiveEngine();
        Audio = NewObject<tAudioSystem>();
        E.Audio = Audio;
        tAudioSource* First = Audio->CreateSource("Sounds\\weapons\\plasma.wav");
        tZObject::DisposeObject(First);
    }
    ~tAudioHost() { tZObject::DisposeObject(Resources); }
};

}  // namespace

static void BM_SourceThroughTheAudioSystem(benchmark::State& State) {
    tAudioHost A;
    for (auto _ : State) {
        tAudioSource* Shot = A.Audio->CreateSource("Sounds\\weapons\\plasma.wav");
        Shot->Play(nullptr);
        tZObject::DisposeObject(Shot);
    }
}
BENCHMARK(BM_SourceThroughTheAudioSystem);

static void BM_SourceThroughOpenAL(benchmark::State& State) {
    tAudioHost A;
    const ALuint Buffer = Resources->LoadWaveform("Sounds\\weapons\\plasma.wav")->GetBufferID();
    for (auto _ : State) {
        ALuint Source;
        alGenSources(1, &Source);
        alSourcei(Source, AL_BUFFER, static_cast<ALint>(Buffer));
        alSourcePlay(Source);
        alDeleteSources(1, &Source);
    }
}
BENCHMARK(BM_SourceThroughOpenAL);

// The floor under the first: any engine object's creation and disposal, which
// the registry traces and announces on the warning output.
static void BM_EngineObjectAlone(benchmark::State& State) {
    tAudioHost A;
    for (auto _ : State) {
        tAudioSource* Silent = NewObject<tNullAudioSource>();
        tZObject::DisposeObject(Silent);
    }
}
BENCHMARK(BM_EngineObjectAlone);
