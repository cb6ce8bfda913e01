#pragma once
// The sky around the level: a dome far out that carries the stars and the
// sky shaders of the current weather, a planet quad that crawls across the
// sky, and the light-scattering parameters (the sun's direction, the Rayleigh
// and Mie coefficients) that every shader reading the sky receives as its
// local parameters 1, 2 and 3.

#include "kernel/world/atmosphere.h"

class tQueryFeedbackContext;
class tVertexArray;

// Rayleigh and Mie scattering coefficients for red, green and blue in x, y,
// z (w = 0), at the wavelengths 650, 570 and 475 nm.
struct TScatteringCoefficients {
    TVector4 BetaRay, BetaMie;
};
TScatteringCoefficients ComputeScattering();

// The start direction of the sun after Seconds of system time: it depends on
// the time since start-up and always stands above the horizon (w = 0).
TVector4 SunDirectionAt(double Seconds);

class tAtmosphereRenderer : public tAtmosphere {
    Z_DECLARE_CLASS(tAtmosphereRenderer, tAtmosphere)
public:
    static constexpr int32_t DomeVertices = 5184;
    static constexpr float DomeRadius = 450000, DomeStep = 5;
    static constexpr TVector3 DomeOffset = {128, 128, -300960};
    static constexpr float PlanetDistance = 100000;
    // The planet quad spans this many degrees around and up.
    static constexpr float PlanetWidth = 30, PlanetHeight = 35;
    static constexpr float PlanetHalfSize = 100;
    static constexpr TVector3 PlanetStart = {0, 10, 0};
    // Degrees the planet moves around the sky per frame.
    static constexpr float PlanetDrift = 0.001f;
    // GetSunPosition's distance along the sun direction.
    static constexpr float SunPositionScale = 100;
    // The local parameters the sky programs read.
    static constexpr int32_t SunDirParam = 1, BetaRayParam = 2, BetaMieParam = 3;

    explicit tAtmosphereRenderer(const ShortString& Params);
    ~tAtmosphereRenderer() override;

    void Update(float DeltaSeconds) override;
    void Render() override;
    void SetDayTime(int32_t) override {}
    void PreRender() override;
    void SetWeatherConditions(tWeatherConditions* NewConditions) override;
    void UpdateAtmosphereParams(tShaderResource* Shader) override;
    TVector3 GetSunPosition() override;

    void SetupScattering();
    // The seconds the sun was set from: machines that show one match set
    // the same, so the sun stands where it does on the server.
    double SkyTime() const { return SkySeconds; }
    void SetSkyTime(double Seconds);
    // Moves the planet on by one frame's drift and lays out its quad.
    void MovePlanet();

    tVertexArray* CloudsDomeGeometry = nullptr;  // owned
    tVertexArray* PlanetGeometry = nullptr;      // owned
    tShaderResource* PlanetShader = nullptr;
    tWeatherConditions* Conditions = nullptr;  // owned
    // X: degrees around the vertical axis (kept in 0..360), Y: elevation of
    // the quad's first corner.
    TVector3 PlanetPos = PlanetStart;
    tQueryFeedbackContext* OcclusionQuery = nullptr;  // owned
    tShaderResource* OccluderShader = nullptr;
    TVector4 BetaRay, BetaMie;
    TVector4 SUN_DIR;
    double SkySeconds = 0;
};
