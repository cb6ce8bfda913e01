#pragma once
// An aircraft of the match: a mesh actor flown by its pilot. The player's
// reads the mouse and keys, drives the chase camera and, once lost, hands
// the round over to the announcers, whose countdown spawns the next one; a
// computer pilot's flies from the controls its brain computes and does none
// of that. Each tick the aircraft takes a flight step, works its gun and
// watches for its own crash into the terrain or the sea; hits wear its
// health down and at 0 it explodes.
//
// Controls: the mouse rolls and pitches; F/H roll, T/G pitch, V/B yaw; the
// extra mouse buttons throttle up and down; the left button fires; P starts
// an orbit of the camera around the aircraft.

#include <cstdint>

#include "game/flightmodel.h"
#include "game/meshactor.h"
#include "libraries/classes/varsmanager.h"
#include "net/protocol/messages.h"

class tAudioSource;
class tShaderResource;
class tVertexArray;
class tWeapon;

class tAirplaneActor : public tMeshActor, public TFlightModel {
    Z_DECLARE_CLASS(tAirplaneActor, tMeshActor)
public:
    // How a class name that is no aircraft is refused: "<name> isn't " + KindName.
    static constexpr const char* KindName = "an aircraft class";
    static constexpr int32_t FlyingTrigger = 200;   // CrashedTrigger while flying
    static constexpr int32_t StartDistance = 400;   // chase camera's first smoothing weight
    static constexpr int32_t ChaseDistance = 3;     // ... and the one it settles at
    static constexpr float ChaseBehind = 10.0f, ChaseAbove = 5.0f;
    static constexpr float MouseSteering = 0.2f;    // control amount per pixel off centre
    static constexpr const char* EngineSoundFile = "sounds\\BigEngine3.wav";
    static constexpr const char* CrashText = "Your plane has crashed !!!";
    static constexpr float CrashTextX = 200, CrashTextY = 100;
    static constexpr int32_t FullHealth = 100;
    static constexpr float HitFlashSeconds = 0.25f;
    static constexpr float ShotRadius = 1.0f;        // a shot's own size, as it meets the terrain
    static constexpr float EdgeWarningBeyond = 0;    // past the map's edge: warned
    static constexpr float EdgeTurnBeyond = 150;     // ... and this far past it: turned back
    static constexpr const char* DamageSoundFile = "sounds\\damage.wav";
    static constexpr const char* EdgeText = "Turn back: you are leaving the island";

    // Name carries the start position: "x y z". Only the concrete aircraft
    // may be built.
    explicit tAirplaneActor(const ShortString& Name);
    // Hands the CameraType variable back to the variables manager, so it
    // outlives the aircraft during the countdown.
    ~tAirplaneActor() override;

    void Render() override;
    TFeedbackSignal FeedbackSignal() override;
    void Spawned() override;
    void Update(float DeltaSeconds) override;
    void SetPosition(const TVector3& V) override { _vecPosition = V; }
    // Reads the key table and the mouse into the control state; fires and
    // starts the orbit camera on request.
    void UpdateControls();
    // The flying controls held on this machine (keys and the pointer's
    // offset), as a remote pilot's input carries them.
    static tNetInput LocalInput();
    // Steers from a pilot's input, and fires when it asks and may.
    void FlyFrom(const tNetInput& Input, bool MayFire);

    bool Crashed() const { return CrashedTrigger < FlyingTrigger; }
    // Still in the fight: not crashed, shot down or withdrawn.
    bool Alive() const { return !Crashed() && Health > 0 && !Withdrawn; }
    // The player's aircraft reads the input and owns the camera; so does
    // any aircraft flown outside a match.
    bool IsPlayer() const;
    ShortString PilotName() const;
    // The sphere shots are tested against: the mesh's half width plus a shot.
    float HitRadius() const;
    // Damage from a shot of Shooter's gun; none while newly spawned.
    void TakeHit(int32_t Damage, int32_t Shooter, const ShortString& Gun);
    // Leaves the world at the next feedback, unscored and without a countdown.
    void Withdraw() { Withdrawn = true; }
    // Points the nose to a compass heading (radians, counter-clockwise from +y).
    void TurnTo(float Heading);

    ShortString CameraType = "Following";
    int32_t CrashedTrigger = FlyingTrigger;
    tAudioSource* EngineSound = nullptr;  // owned
    int32_t Distance = StartDistance;
    tWeapon* PrimaryWeapon = nullptr;     // owned; none when the variable names no weapon
    int32_t Pilot = 0;                    // the match's pilot number; 0 outside a match
    int32_t Health = FullHealth;
    float HitFlash = 0;                   // seconds of the hit flash left
    float Age = 0;                        // seconds flown

protected:
    // How the aircraft's end is seen and heard: an explosion in the air, or
    // the crash site where it came down.
    virtual void ShowExplosion();
    virtual void ShowCrashSite();

private:
    void CreatePrimaryWeapon(const ShortString& WeaponClass);
    void FlyAsComputer(float DeltaSeconds);
    void KeepInsideMap();
    // Shot down, crashed for good, or withdrawn: the aircraft leaves.
    TFeedbackSignal Leave(bool Lost);
    bool Withdrawn = false;
    bool Exploded = false;
    int32_t ShotDownBy = 0;
    ShortString ShotDownWith;
    tAudioSource* DamageSound = nullptr;  // owned
    tVertexArray* FlashQuad = nullptr;    // owned, from the first hit drawn
    tShaderResource* FlashShader = nullptr;
    void UpdateChaseCamera(float DeltaSeconds);
    void StartOrbit();
    // The P key went down in this tick (held keys start no further orbits).
    bool OrbitKeyWasDown = false;
    // The console variables bound to the fields above; last, so it goes first.
    tFieldBindings BoundFields;
};

// The open biplane, the aircraft a new player gets.
class tBiplane : public tAirplaneActor {
    Z_DECLARE_CLASS(tBiplane, tAirplaneActor)
public:
    explicit tBiplane(const ShortString& Name);
};

// The closed pursuit plane.
class tPursuitPlane : public tAirplaneActor {
    Z_DECLARE_CLASS(tPursuitPlane, tAirplaneActor)
public:
    explicit tPursuitPlane(const ShortString& Name);
};
