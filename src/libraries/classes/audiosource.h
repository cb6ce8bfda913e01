#pragma once
// A sound effect the game plays, stops, pauses and loops: one per aircraft
// engine, gun or announcer, owned by whoever asked the audio subsystem for it.

#include "kernel/objects/zobject.h"
#include "libraries/math/vector.h"

class tActor;

class tAudioSource : public tZObject {
    Z_DECLARE_CLASS(tAudioSource, tZObject)
public:
    using tZObject::tZObject;

    // Starts from the beginning, restarting a source that is playing. The
    // actor is the one making the sound; where it is heard is set by PlaceAt.
    virtual void Play(tActor* Actor) = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    virtual void LoopSound(bool Loop) = 0;
    // True only while the sound is heard: not when paused or finished.
    virtual bool IsPlaying() = 0;
    // A new source sounds where the listener is (voices, clicks, weather);
    // once placed it sounds at Where in the world and fades with distance.
    // Moving sounds place their source again as they move.
    virtual void PlaceAt(const TVector3& Where) {}
};
