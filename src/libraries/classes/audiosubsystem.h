#pragma once
// The audio subsystem: short effects are sources bound to waveforms, music and
// ambient loops are streams, one at a time. Game code asks it for a source by
// file name and owns what it gets. It registers itself with the engine when it
// is created, and adds the commands "PlayAmbientSound" and "StopAmbientSound".

#include "kernel/core/shortstring.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/classes/subsystem.h"
#include "libraries/math/vector.h"

class tAudioSource;
class tCamera;
class tWaveformResource;

class tAudioSubSystem : public tSubSystem {
    Z_DECLARE_CLASS(tAudioSubSystem, tSubSystem)
public:
    tAudioSubSystem();

    // A new source playing the waveform of FileName (loaded once, shared);
    // the caller owns the source and disposes it.
    virtual tAudioSource* CreateSource(const ShortString& FileName) = 0;
    // A new, empty waveform for the resources manager to load; the caller owns it.
    virtual tWaveformResource* CreateWaveform() = 0;
    virtual void UpdateListener(tCamera* Camera) = 0;
    // The world's camera hands its pose here every tick (audio sits below the
    // world and cannot read a camera): the point placed sources are heard
    // from, looking along Forward with Up overhead.
    virtual void PlaceListener(const TVector3& Position, const TVector3& Forward, const TVector3& Up) {}
    // Replaces the current music stream with FileName, looping; a file that
    // cannot be played is fatal.
    virtual void PlayModule(const ShortString& FileName);
    virtual void StopModule() = 0;

    // "PlayAmbientSound <file name>": a file without a player for its
    // extension, missing or unreadable is a console error, and the current
    // stream plays on.
    void PlayAmbientSoundC(const ShortString& Args);
    void StopAmbientSoundC(const ShortString& Args);

protected:
    // Replaces the current stream with FileName; the error text when it
    // cannot be played, or empty.
    virtual ShortString StartModule(const ShortString& FileName) = 0;

private:
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
