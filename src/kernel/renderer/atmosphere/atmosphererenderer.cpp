#include "kernel/renderer/atmosphere/atmosphererenderer.h"

#include <cmath>
#include <numbers>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/feedbackcontext.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"
#include "libraries/classes/timer.h"
#include "libraries/math/mathserver.h"

Z_IMPLEMENT_CLASS(tAtmosphereRenderer,
    .Operations = {{"Update"}, {"Render"}, {"SetDayTime"}, {"PreRender"}, {"SetWeatherConditions"},
                   {"UpdateAtmosphereParams"}, {"GetSunPosition"}})

namespace {

constexpr int32_t PlanetCorners = 4;
constexpr float FullCircle = 360;

// 1 / wavelength in metres for red, green and blue.
constexpr long double InvWavelength[3] = {1538461.5L, 1754386.0L, 2105263.25L};
// Mie scattering's share per colour.
constexpr long double MieColorShare[3] = {0.685L, 0.679L, 0.67L};
// How strongly each kind of scattering shows in the engine's sky.
constexpr long double RayleighScale = 0.88L, MieScale = 0.16L;

}  // namespace

TScatteringCoefficients ComputeScattering() {
    constexpr long double Pi = std::numbers::pi_v<long double>;
    // Rayleigh: 8 pi^3 (n - 1)^2 (6 + 3 pn) / (6 - 7 pn) / (3 N lambda^4),
    // with the air's refraction, depolarisation and molecule density folded in.
    const long double K = Pi * Pi * 0.006009L * 0.006009L * 6.105L / 5.755L / 2.545e25L;
    // Mie: 0.434 c pi (2 pi / lambda)^2 K, turbidity folded into the constant.
    const long double M = Pi * 2.854852e-17L * (2 * Pi) * (2 * Pi) * 0.5L;
    float Ray[3], Mie[3];
    for (int C = 0; C < 3; ++C) {
        const long double L2 = InvWavelength[C] * InvWavelength[C];
        const long double L4 = L2 * L2;
        Ray[C] = float(L4 * 8 * K * Pi / 3 * RayleighScale);
        Mie[C] = float(L2 * MieColorShare[C] * M * MieScale);
    }
    return {Vector4(Ray[0], Ray[1], Ray[2], 0), Vector4(Mie[0], Mie[1], Mie[2], 0)};
}

TVector4 SunDirectionAt(double Seconds) {
    const TVector3 D = Normalize(TVector3{float(std::sin(Seconds / 5)), float(std::cos(Seconds / 5)),
                                          float(std::fabs(std::sin(Seconds / 20)) + 0.1)});
    return Vector4(D);
}

tAtmosphereRenderer::tAtmosphereRenderer(const ShortString& Params) {
    ProcTrace trace("tAtmosphereRenderer.Init(" + Params + ")");
    tRenderDevice* Device = AssignedRenderDevice();
    tVertexArrayManager* Arrays = tVertexArrayManager::Current();
    CloudsDomeGeometry = Arrays->AllocateVA(DomeVertices, 3, GN_FALSE, PRIM_TRIANGLE_STRIP);
    PlanetGeometry = Arrays->AllocateVA(PlanetCorners, 3, GN_FALSE, PRIM_QUADS);
    Logger->Log("Creating geometry...");
    Logger->Log("...CloudsDomeGeometry");
    Device->GeometryServer->CreateDome(CloudsDomeGeometry, DomeRadius, DomeStep, DomeStep, 1, 1, DomeOffset.x,
                                       DomeOffset.y, DomeOffset.z);
    Logger->Log("...PlanetGeometry");
    Device->GeometryServer->CreateRect(PlanetGeometry, -PlanetHalfSize, -PlanetHalfSize, PlanetHalfSize,
                                       PlanetHalfSize, 0);
    PlanetPos = PlanetStart;

    Logger->Log("Creating occlusion queries...");
    // A recorded flight keeps the sun where it was; otherwise it starts
    // from the seconds since start-up.
    const double SunStart = Engine->SunStartSeconds >= 0 ? Engine->SunStartSeconds
                            : Engine->Timer                ? Engine->Timer->GetSystemTime()
                                                           : 0.0;
    SetSkyTime(SunStart);
    OcclusionQuery = Device->AllocateOcclusionQueryFC();
    PlanetShader = Resources->LoadShader("shaders\\atmosphere\\planet.shader");
    OccluderShader = Resources->LoadShader("shaders\\occluder.shader");
    OccluderShader->FeedbackContext = OcclusionQuery;
    SetupScattering();
}

tAtmosphereRenderer::~tAtmosphereRenderer() {
    ProcTrace trace("tAtmosphereRenderer.Done()");
    if (CloudsDomeGeometry) DisposeObject(CloudsDomeGeometry);
    if (PlanetGeometry) DisposeObject(PlanetGeometry);
    if (Conditions) DisposeObject(Conditions);
    // The occluder shader is shared (the sea counts with it too): it must not
    // keep counting into a query that is gone. At shutdown the resources
    // manager, and its shaders, went first.
    if (Resources && OccluderShader && OccluderShader->FeedbackContext == OcclusionQuery)
        OccluderShader->FeedbackContext = nullptr;
    if (OcclusionQuery) DisposeObject(OcclusionQuery);
}

void tAtmosphereRenderer::SetSkyTime(double Seconds) {
    SkySeconds = Seconds;
    SUN_DIR = SunDirectionAt(Seconds);
}

void tAtmosphereRenderer::SetupScattering() {
    const TScatteringCoefficients Coefficients = ComputeScattering();
    BetaRay = Coefficients.BetaRay;
    BetaMie = Coefficients.BetaMie;
}

void tAtmosphereRenderer::SetWeatherConditions(tWeatherConditions* NewConditions) {
    if (NewConditions == Conditions) return;
    if (Conditions) DisposeObject(Conditions);
    Conditions = NewConditions;
}

void tAtmosphereRenderer::Update(float DeltaSeconds) {
    if (Conditions) Conditions->Update(DeltaSeconds);
}

void tAtmosphereRenderer::Render() {
    if (Conditions) Conditions->Render();
}

void tAtmosphereRenderer::UpdateAtmosphereParams(tShaderResource* Shader) {
    if (!Shader || !Shader->ShaderProgram) return;
    Shader->ShaderProgram->SetLocalParam(SunDirParam, SUN_DIR);
    Shader->ShaderProgram->SetLocalParam(BetaRayParam, BetaRay);
    Shader->ShaderProgram->SetLocalParam(BetaMieParam, BetaMie);
}

TVector3 tAtmosphereRenderer::GetSunPosition() { return Vector3(SUN_DIR) * SunPositionScale; }

void tAtmosphereRenderer::MovePlanet() {
    // Kept in one turn: a float that only grew would stop moving after a
    // few thousand degrees.
    PlanetPos.x = std::fmod(PlanetPos.x + PlanetDrift, FullCircle);
    const float Around[PlanetCorners] = {PlanetPos.x, PlanetPos.x + PlanetWidth, PlanetPos.x + PlanetWidth, PlanetPos.x};
    const float Up[PlanetCorners] = {PlanetPos.y, PlanetPos.y, PlanetPos.y + PlanetHeight, PlanetPos.y + PlanetHeight};
    TVector3* Corner = PlanetGeometry->GetVertices();
    for (int32_t I = 0; I < PlanetCorners; ++I)
        Corner[I] = MathServer->SphericalToOrtho(PlanetDistance, Around[I], Up[I]);
}

void tAtmosphereRenderer::PreRender() {
    MovePlanet();
    tRenderDevice* Device = Engine->Renderer;
    // Nothing of the sky below the water line.
    const TPlane Waterline = Engine->GetWorld()->GetWaterlinePlane();
    Device->EnableClipPlane(0, Waterline.GetEquation());
    Device->AddBuffer(PlanetGeometry, PlanetShader);
    if (Conditions) {
        tShaderResource* Sky = Conditions->GetSkyShader();
        UpdateAtmosphereParams(Sky);
        if (tShaderResource* Stars = Conditions->GetStarsShader()) {
            UpdateAtmosphereParams(Stars);
            Device->AddBuffer(CloudsDomeGeometry, Stars);
        }
        if (Sky) Device->AddBuffer(CloudsDomeGeometry, Sky);
    }
    Device->DisableClipPlane(0);
}
