#pragma once
// Camera effects that stop the game and circle the world's camera around a
// point: once, for three seconds, after a rail shot; or round and round
// around the aircraft (the P key) until something resumes the game.

#include "kernel/world/spawnable.h"

class tFXOrbitCamera : public tEffect {
    Z_DECLARE_CLASS(tFXOrbitCamera, tEffect)
public:
    static constexpr float OrbitSeconds = 3.0f;
    // The orbit advances by the engine's fixed update step, as the paused
    // engine passes steps of 0: a three-second orbit lasts three seconds at
    // any frame rate.
    static constexpr float OrbitStep = 0.01f;

    // Name: "x y z", the point circled. Pauses the engine.
    explicit tFXOrbitCamera(const ShortString& Name);

    void Render() override {}
    void Update(float DeltaSeconds) override;
    // Resumes the game and leaves when the orbit is complete.
    TFeedbackSignal FeedbackSignal() override;

    float LifeTime = 0;
    float TTL = OrbitSeconds;
    TVector3 CameraOrigin;
    TVector3 CameraTarget;
    float Distance = 0;
    float Phi = 0;
    TVector3 OrbitAxis, OrbitUp, OrbitLeft;
};

class tFXInfiniteOrbit : public tFXOrbitCamera {
    Z_DECLARE_CLASS(tFXInfiniteOrbit, tFXOrbitCamera)
public:
    static constexpr float LapSeconds = 10.0f;

    explicit tFXInfiniteOrbit(const ShortString& Name);
    // Circles again after each lap; leaves once the game has been resumed.
    TFeedbackSignal FeedbackSignal() override;
};
