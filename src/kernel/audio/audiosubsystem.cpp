#include "libraries/classes/audiosubsystem.h"

#include "libraries/classes/audiosource.h"
#include "libraries/classes/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

Z_IMPLEMENT_CLASS(tAudioSubSystem,
                  .Operations = {{"CreateSource", ZOP_ABSTRACT}, {"CreateWaveform", ZOP_ABSTRACT},
                                 {"UpdateListener", ZOP_ABSTRACT}, {"PlaceListener"}, {"PlayModule"}, {"StopModule", ZOP_ABSTRACT},
                                 {"StartModule", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tAudioSource, .Operations = {{"Play", ZOP_ABSTRACT}, {"Stop", ZOP_ABSTRACT},
                                               {"Pause", ZOP_ABSTRACT}, {"LoopSound", ZOP_ABSTRACT},
                                               {"IsPlaying", ZOP_ABSTRACT}, {"PlaceAt"}})

tAudioSubSystem::tAudioSubSystem() {
    Console->RegisterCommand("PlayAmbientSound", ConsoleProc<&tAudioSubSystem::PlayAmbientSoundC>(this), Commands);
    Console->RegisterCommand("StopAmbientSound", ConsoleProc<&tAudioSubSystem::StopAmbientSoundC>(this), Commands);
}

void tAudioSubSystem::PlayModule(const ShortString& FileName) {
    const ShortString Error = StartModule(FileName);
    if (!Error.empty()) Logger->Fatal(Error);
}

void tAudioSubSystem::PlayAmbientSoundC(const ShortString& Args) {
    const ShortString FileName = GetToken(Args, 1);
    if (FileName.empty()) {
        Console->DisplayInfoTip("Usage: PlayAmbientSound <file name>");
        return;
    }
    const ShortString Error = StartModule(FileName);
    if (!Error.empty()) Console->DisplayError(Error);
}

void tAudioSubSystem::StopAmbientSoundC(const ShortString&) { StopModule(); }
