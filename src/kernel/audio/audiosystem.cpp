#include "kernel/audio/audiosystem.h"

#include <AL/al.h>
#include <SDL2/SDL_mixer.h>

#include <algorithm>

#include "kernel/audio/source.h"
#include "kernel/audio/streamplayers.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tAudioSystem, .Operations = {{"Tick"}, {"RenderFrame"}, {"CreateSource"}, {"CreateWaveform"},
                                               {"UpdateListener"}, {"PlaceListener"}, {"StopModule"}, {"StartModule"}})

namespace {

template <class T>
void Forget(std::vector<T*>& List, T* Item) {
    auto It = std::find(List.begin(), List.end(), Item);
    if (It == List.end()) return;
    *It = List.back();
    List.pop_back();
}

}  // namespace

tAudioSystem::tAudioSystem() {
    ProcTrace trace("tAudioSystem.Init()");
    const ShortString EffectsProblem = Output.Open();
    LogOpenALStrings();
    // Placed sources fade with distance from the listener, clamped so that
    // nothing nearer than their reference distance gets louder than recorded.
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    const ShortString MusicProblem = Music.Open();
    // One warning however many outputs fell back.
    ShortString Problems = EffectsProblem;
    if (!MusicProblem.empty()) Problems += (Problems.empty() ? "" : "; ") + ("music: " + MusicProblem);
    if (!Problems.empty()) Warning->Log("No sound device (" + Problems + "), the game runs silent");
}

tAudioSystem::~tAudioSystem() {
    ProcTrace trace("tAudioSystem.Done()");
    StopModule();
    Music.Close();
    // Whatever outlives the context must not reach OpenAL afterwards.
    for (tSource* S : Sources) S->Orphan();
    Sources.clear();
    for (tWaveformBuffer* B : Buffers) B->Orphan();
    Buffers.clear();
    Output.Close();
}

void tAudioSystem::LogOpenALStrings() {
    auto Text = [](ALenum Name) { return ShortString(reinterpret_cast<const char*>(alGetString(Name))); };
    Logger->Log("OpenAL version   : " + Text(AL_VERSION));
    Logger->Log("OpenAL vendor    : " + Text(AL_VENDOR));
    Logger->Log("OpenAL renderer  : " + Text(AL_RENDERER));
    Logger->Log("OpenAL extensions: " + Text(AL_EXTENSIONS));
}

void tAudioSystem::Tick(float DeltaSeconds) {
    Output.Advance(DeltaSeconds);
    ApplyVolumes();
}

// The options' volumes, in percent: effects through the listener's gain,
// music through the mixer's music volume (which a new stream resets).
void tAudioSystem::ApplyVolumes() {
    if (!Engine) return;
    const tEngineConfiguration& C = Engine->EngineConfig;
    const int32_t Effects = std::clamp(C.EffectsVolume, 0, 100);
    if (Effects != AppliedEffectsVolume && Output.Context) {
        alListenerf(AL_GAIN, static_cast<float>(Effects) / 100.0f);
        AppliedEffectsVolume = Effects;
    }
    const int Music = std::clamp(C.MusicVolume, 0, 100) * MIX_MAX_VOLUME / 100;
    if (this->Music.Opened && Mix_VolumeMusic(-1) != Music) Mix_VolumeMusic(Music);
}

void tAudioSystem::PlaceListener(const TVector3& Position, const TVector3& Forward, const TVector3& Up) {
    if (!Output.Context) return;
    const ALfloat Orientation[6] = {Forward.x, Forward.y, Forward.z, Up.x, Up.y, Up.z};
    alListener3f(AL_POSITION, Position.x, Position.y, Position.z);
    alListenerfv(AL_ORIENTATION, Orientation);
}

tAudioSource* tAudioSystem::CreateSource(const ShortString& FileName) {
    tWaveformResource* Waveform = Resources->LoadWaveform(FileName);
    auto* Source = NewObject<tSource>(this);
    SourceCreated(Source->SourceID != 0, FileName);
    Source->AttachWaveform(Waveform);
    return Source;
}

tWaveformResource* tAudioSystem::CreateWaveform() { return NewObject<tWaveformBuffer>(this); }

void tAudioSystem::SourceCreated(bool Granted, const ShortString& FileName) {
    if (!Granted && !SourcesExhausted) Warning->Log("OpenAL cannot create another source: " + FileName + " plays silently");
    SourcesExhausted = !Granted;
}

void tAudioSystem::RemoveSource(tSource* S) { Forget(Sources, S); }

void tAudioSystem::RemoveBuffer(tWaveformBuffer* B) { Forget(Buffers, B); }

void tAudioSystem::ReleaseBuffer(uint32_t BufferID) {
    for (tSource* S : Sources)
        if (S->BufferID == BufferID) S->ReleaseBuffer();
}

ShortString tAudioSystem::StartModule(const ShortString& FileName) {
    ProcTrace trace("tAudioSystem.PlayModule(" + FileName + ")");
    tZClass PlayerClass;
    ShortString Error = FindStreamPlayer(FileName, PlayerClass);
    if (!Error.empty()) return Error;
    // Loaded before the current stream stops, so the music hardly pauses; a
    // file that does not load leaves the current stream playing.
    auto* Next = static_cast<tStreamPlayer*>(tZObject::Instantiate(PlayerClass, ""));
    Error = Next->Open(FileName);
    if (!Error.empty()) {
        DisposeObject(Next);
        return Error;
    }
    StopModule();
    Stream = Next;
    Error = Stream->Start();
    if (!Error.empty()) StopModule();
    return Error;
}

void tAudioSystem::StopModule() {
    if (Stream) DisposeObject(Stream);
}
