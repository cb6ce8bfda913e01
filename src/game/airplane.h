#pragma once
// The player's aircraft: a mesh actor flown with the mouse and keys. Each
// tick it reads the controls, takes a flight step, drives the chase camera
// and its gun, and watches for its own crash into the terrain or the sea;
// a crashed aircraft freezes, shows the crash text and then hands the round
// over to the announcers, whose countdown spawns the next aircraft.
//
// Controls: the mouse rolls and pitches; F/H roll, T/G pitch, V/B yaw; the
// extra mouse buttons throttle up and down; the left button fires; P starts
// an orbit of the camera around the aircraft.

#include <cstdint>

#include "game/flightmodel.h"
#include "game/meshactor.h"

class tAudioSource;
class tWeapon;

class tAirplaneActor : public tMeshActor, public TFlightModel {
    Z_DECLARE_CLASS(tAirplaneActor, tMeshActor)
public:
    static constexpr int32_t FlyingTrigger = 200;   // CrashedTrigger while flying
    static constexpr float WaterLine = 7.0f;        // below it the aircraft is down
    static constexpr int32_t StartDistance = 400;   // chase camera's first smoothing weight
    static constexpr int32_t ChaseDistance = 3;     // ... and the one it settles at
    static constexpr float ChaseBehind = 10.0f, ChaseAbove = 5.0f;
    static constexpr float MouseSteering = 0.2f;    // control amount per pixel off centre
    static constexpr const char* EngineSoundFile = "sounds\\BigEngine3.wav";
    static constexpr const char* CrashText = "Your plane has crashed !!!";
    static constexpr float CrashTextX = 200, CrashTextY = 100;

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

    bool Crashed() const { return CrashedTrigger < FlyingTrigger; }

    ShortString CameraType = "Following";
    int32_t CrashedTrigger = FlyingTrigger;
    tAudioSource* EngineSound = nullptr;  // owned
    int32_t Distance = StartDistance;
    tWeapon* PrimaryWeapon = nullptr;     // owned; none when the variable names no weapon

private:
    void CreatePrimaryWeapon();
    void UpdateChaseCamera(float DeltaSeconds);
    void StartOrbit();
    // The P key went down in this tick (held keys start no further orbits).
    bool OrbitKeyWasDown = false;
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
