#pragma once
// Music streams through SDL2_mixer. The class registry picks the player for a
// file by its extension ("tStreamPlayer" family); a player plays one file,
// looping, until it is disposed. Players are loaders only so that the registry
// can choose them: they cannot save and their Load does nothing.

#include <SDL2/SDL_mixer.h>

#include <string>

#include "kernel/resources/loader.h"

struct tZClass;

// The registered player for FileName's extension; the error text when there
// is none or the file does not exist, else empty.
ShortString FindStreamPlayer(const ShortString& FileName, tZClass& Class);

class tStreamPlayer : public tLoader {
    Z_DECLARE_CLASS(tStreamPlayer, tLoader)
public:
    using tLoader::tLoader;
    // Stops and closes the stream.
    ~tStreamPlayer() override;

    bool CanSave() const override { return false; }
    void Load(tIStream&, tResource&) override {}
    // Loads FileName once its bytes have passed the format's checks; the
    // error text when it cannot, else empty.
    ShortString Open(const ShortString& FileName);
    // Starts the loaded stream looping, in place of any other; the error text
    // when it cannot, else empty.
    ShortString Start();
    // Open and Start, with a failure fatal.
    void Play(const ShortString& FileName);

    Mix_Music* Stream = nullptr;
    std::string File;  // the bytes the stream plays from

protected:
    // The decoder of the player's format.
    virtual Mix_MusicType MusicType() const = 0;
    // The message when the mixer will not start the loaded stream.
    virtual ShortString PlayFailure(const ShortString& Error) = 0;
};

// Sampled music: MP3 and OGG.
class tPCMPlayer : public tStreamPlayer {
    Z_DECLARE_CLASS(tPCMPlayer, tStreamPlayer)
protected:
    // Only the players of one extension are built by name.
    tPCMPlayer() = default;

    ShortString PlayFailure(const ShortString& Error) override { return "Error while playing: " + Error; }
};

// Tracker modules and MIDI songs.
class tModulePlayer : public tStreamPlayer {
    Z_DECLARE_CLASS(tModulePlayer, tStreamPlayer)
protected:
    // Only the players of one extension are built by name.
    tModulePlayer() = default;

    ShortString PlayFailure(const ShortString& Error) override { return "Cann't play module: " + Error; }
};

#define Z_STREAM_PLAYER(Class, Parent, Extension, Type)           \
    class Class : public Parent {                                \
        Z_DECLARE_CLASS(Class, Parent)                           \
    public:                                                      \
        Class() = default;                                       \
        static ShortString FileExtension() { return Extension; } \
                                                                 \
    protected:                                                   \
        Mix_MusicType MusicType() const override { return Type; } \
    };

Z_STREAM_PLAYER(tMP3Player, tPCMPlayer, ".MP3", MUS_MP3)
Z_STREAM_PLAYER(tOGGPlayer, tPCMPlayer, ".OGG", MUS_OGG)
Z_STREAM_PLAYER(tMODPlayer, tModulePlayer, ".MOD", MUS_MOD)
Z_STREAM_PLAYER(tS3MPlayer, tModulePlayer, ".S3M", MUS_MOD)
Z_STREAM_PLAYER(tXMPlayer, tModulePlayer, ".XM", MUS_MOD)
Z_STREAM_PLAYER(tITPlayer, tModulePlayer, ".IT", MUS_MOD)
Z_STREAM_PLAYER(tMIDPlayer, tModulePlayer, ".MID", MUS_MID)

#undef Z_STREAM_PLAYER
