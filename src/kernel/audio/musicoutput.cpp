#include "kernel/audio/musicoutput.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdlib>
#include <filesystem>

namespace {

constexpr int MixChannels = 2;
constexpr int MixChunkFrames = 1024;
// General MIDI instruments for ".MID" files, unless SDL_SOUNDFONTS names others.
constexpr const char* DefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

}  // namespace

ShortString tMusicOutput::OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return ShortString(SDL_GetError());
    if (Mix_OpenAudio(MixRate, AUDIO_S16SYS, MixChannels, MixChunkFrames) == 0) return {};
    const ShortString Reason(SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return Reason.empty() ? ShortString("unknown error") : Reason;
}

ShortString tMusicOutput::Open() {
    if (!std::getenv("SDL_SOUNDFONTS") && std::filesystem::exists(DefaultSoundFont))
        Mix_SetSoundFonts(DefaultSoundFont);
    Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_MOD | MIX_INIT_MID);
    const ShortString Reason = OpenDevice();
    if (!Reason.empty()) {
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        const bool Silent = OpenDevice().empty();
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
        if (!Silent) {
            Mix_Quit();
            return Reason;
        }
    }
    Opened = true;
    return Reason;
}

void tMusicOutput::Close() {
    if (!Opened) return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Opened = false;
}
