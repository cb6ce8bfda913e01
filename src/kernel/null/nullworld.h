#pragma once
// The world, camera and atmosphere in use while no level is loaded: they
// draw nothing and change nothing.

#include "kernel/world/atmosphere.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"

class tNullWorld : public tWorld {
    Z_DECLARE_CLASS(tNullWorld, tWorld)
public:
    tNullWorld();

    void Tick(float) override {}
    void RenderFrame() override {}
    TPlane GetWaterlinePlane() override { return Waterline; }
    float GetWorldTime() override { return 1.0f; }

    TPlane Waterline;
};

class tNullCamera : public tCamera {
    Z_DECLARE_CLASS(tNullCamera, tCamera)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
    TMatrix4 GetViewingTransformation() override { return IdentityMatrix4; }
    TVector3 GetViewingDirection() override { return CameraTarget - CameraPosition; }
};

class tNullAtmosphere : public tAtmosphere {
    Z_DECLARE_CLASS(tNullAtmosphere, tAtmosphere)
public:
    tNullAtmosphere() = default;
    explicit tNullAtmosphere(const ShortString& Name) : tAtmosphere(Name) {}

    void Render() override {}
    void SetDayTime(int32_t) override {}
    void PreRender() override {}
    // Nothing to apply the weather to: it is disposed at once.
    void SetWeatherConditions(tWeatherConditions* Conditions) override { DisposeObject(Conditions); }
    void UpdateAtmosphereParams(tShaderResource*) override {}
    TVector3 GetSunPosition() override { return {}; }
};
