#include "kernel/audio/streamplayers.h"

#include <filesystem>
#include <fstream>

#include "kernel/audio/musiccheck.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/filesystem.h"

Z_IMPLEMENT_CLASS(tStreamPlayer, .Operations = {{"CanSave"}, {"Load"}, {"PlayFailure", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tPCMPlayer, .Operations = {{"PlayFailure"}})
Z_IMPLEMENT_CLASS(tModulePlayer, .Operations = {{"PlayFailure"}})
Z_IMPLEMENT_CLASS(tMP3Player, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tOGGPlayer, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tMODPlayer, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tS3MPlayer, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tXMPlayer, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tITPlayer, .Operations = {{"FileExtension"}})
Z_IMPLEMENT_CLASS(tMIDPlayer, .Operations = {{"FileExtension"}})

namespace {

constexpr int LoopForever = -1;
constexpr std::uintmax_t MaxMusicBytes = 64u << 20;

ShortString UpperExtension(const ShortString& FileName) {
    std::string_view Name = FileName.view();
    const std::size_t Dot = Name.find_last_of(".\\/:");
    if (Dot == std::string_view::npos || Name[Dot] != '.') return {};
    return UpCaseStr(ShortString(Name.substr(Dot)));
}

}  // namespace

ShortString FindStreamPlayer(const ShortString& FileName, tZClass& Class) {
    const ShortString Ext = UpperExtension(FileName);
    bool Found = false;
    for (int32_t I = 1; !Found && Linker->FindInterface("tStreamPlayer", I, Class); ++I)
        Found = Class.StaticClass->HasFileExtension() && UpCaseStr(Class.StaticClass->FileExtension()) == Ext &&
                Linker->IsClassValid(Class);
    if (!Found) return "Unable to find apropriate loader for: " + Ext + " (" + FileName + ")";
    if (!FileSystem->FileExists(FileName)) return "Failed to load: " + FileName + " : File not found";
    return {};
}

tStreamPlayer::~tStreamPlayer() {
    if (!Stream) return;
    Mix_HaltMusic();
    Mix_FreeMusic(Stream);
}

ShortString tStreamPlayer::Open(const ShortString& FileName) {
    const ShortString Failed = "Failed to load: " + FileName + " : ";
    const std::string Path = FileSystem->VirtualNameToPhysical(FileName).str();
    std::ifstream In(Path, std::ios::binary);
    std::error_code SizeError;
    const std::uintmax_t Size = std::filesystem::file_size(Path, SizeError);
    if (!In || SizeError) return Failed + "File not found";
    if (Size > MaxMusicBytes) return Failed + "too large for music";
    File.assign(std::size_t(Size), '\0');
    if (!In.read(File.data(), std::streamsize(Size))) return Failed + "unreadable";
    if (ShortString Error = MusicFileError(File, UpperExtension(FileName)); !Error.empty()) return Failed + Error;
    // Decoded as the format it was checked for, whatever its bytes resemble.
    Stream = Mix_LoadMUSType_RW(SDL_RWFromConstMem(File.data(), int(File.size())), MusicType(), 1);
    if (!Stream) return Failed + Mix_GetError();
    // A song of no length would be restarted for ever inside the mixer.
    if (Mix_MusicDuration(Stream) == 0) {
        Mix_FreeMusic(Stream);
        Stream = nullptr;
        return Failed + "a song that lasts no time";
    }
    return {};
}

ShortString tStreamPlayer::Start() {
    if (Mix_PlayMusic(Stream, LoopForever) != 0) return PlayFailure(Mix_GetError());
    Mix_VolumeMusic(MIX_MAX_VOLUME);
    return {};
}

void tStreamPlayer::Play(const ShortString& FileName) {
    ShortString Error = Open(FileName);
    if (Error.empty()) Error = Start();
    if (!Error.empty()) Logger->Fatal(Error);
}
