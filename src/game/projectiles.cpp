#include "game/projectiles.h"

#include <algorithm>
#include <cmath>

#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/sealevel.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"
#include "libraries/effects/explosion.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tParticleProjectile, .Operations = {{"Render"}, {"FeedbackSignal"}, {"Update"}})
Z_IMPLEMENT_CLASS(tShellProjectile)
Z_IMPLEMENT_CLASS(tPlasmaProjectile, .Operations = {{"Render"}})
Z_IMPLEMENT_CLASS(tRailShaft, .Operations = {{"Update"}, {"Render"}, {"FeedbackSignal"}})

namespace {
constexpr const char* ParticleShader = "shaders\\effects\\particle.shader";
constexpr const char* GlareShader = "shaders\\effects\\glare_small.shader";
constexpr const char* RailShader = "shaders\\effects\\rail.shader";
constexpr float ShellSize = 0.5f;
constexpr float PlasmaSize = 15.0f;
// The marks of the three guns' shots: crater radius and explosion size.
constexpr float ShellCrater = 3.0f, ShellBlast = 1.0f;
constexpr float PlasmaCrater = 5.0f, PlasmaBlast = 2.0f;
constexpr float RailCrater = 8.0f, RailBlast = 3.0f;

tVertexArray* NewQuads(int32_t Count) {
    return tVertexArrayManager::Current()->AllocateVA(QuadCorners * Count, 1, GN_FALSE, PRIM_QUADS);
}

// Hands (LifeTime, TTL) to the shader's program as its first local value.
void FeedLifeTime(tShaderResource* Shader, TVector4& Time, float LifeTime, float TTL) {
    Time.x = LifeTime;
    Time.y = TTL;
    if (Shader->ShaderProgram) Shader->ShaderProgram->SetLocalParam(0, Time);
}
}  // namespace

tParticleProjectile::tParticleProjectile(const ShortString& Name) : tEffect(Name) {
    ProcTrace trace("tParticleProjectile.Init(" + Name + ")");
    Position = VectorFromName(Name, 1);
    Velocity = VectorFromName(Name, 4);
    PreviousPosition = Position;
    static uint16_t LastNetId = 0;
    NetId = LastNetId = static_cast<uint16_t>(LastNetId % 65535 + 1);
    Shader = Resources->LoadShader(ParticleShader);
    // The quad is built where the shot is at each drawing.
    VA = NewQuads(1);
}

tParticleProjectile::~tParticleProjectile() {
    if (VA) DisposeObject(VA);
    if (HitSound) DisposeObject(HitSound);
    if (FireSound) DisposeObject(FireSound);
}

void tParticleProjectile::SoundFired(const char* File) {
    if (FireSound || !Engine->Audio) return;
    FireSound = Engine->Audio->CreateSource(File);
    FireSound->PlaceAt(Position);
    FireSound->Play(nullptr);
}

void tParticleProjectile::EndEcho() {
    if (!EchoOf || Hit || GetClass()->IsA(&tRailShaft::ClassInfo)) return;
    Hit = true;
    if (!Engine->World || !Engine->World->HasTerrain()) return;
    StrikeHere(Position.z < SeaLevel);
}

void tParticleProjectile::StrikeHere(bool Sea) {
    Strike(Sea ? TVector3{Position.x, Position.y, SeaLevel} : Position, Sea);
}

void tParticleProjectile::BallisticStep(TVector3& P, TVector3& V, float T) {
    const TVector3 G = {0, 0, -Gravity};
    P += V * T + G * (T * T / 2.0f);
    V += G * T;
}

void tParticleProjectile::Update(float DeltaSeconds) {
    if (Hit) return;
    LifeTime += DeltaSeconds;
    PreviousPosition = Position;
    BallisticStep(Position, Velocity, DeltaSeconds);
}

bool tParticleProjectile::StrikesTerrain() {
    tWorld* World = Engine->World;
    // A world without terrain has nothing to hit.
    if (!World->HasTerrain()) return false;
    // The sea's surface stops a shot as the ground does.
    const bool Sea = Position.z < SeaLevel;
    if (!Sea && !World->GetTerrainForPoint(Position)->EstimateSphereCollision(Position, HitRadius)) return false;
    StrikeHere(Sea);
    return true;
}

void tParticleProjectile::Strike(const TVector3& Point, bool Sea) {
    if (HitSound) DisposeObject(HitSound);
    HitSound = Engine->Audio->CreateSource(Point.z < SplashBelow ? SplashSoundFile : HitSoundFile);
    HitSound->PlaceAt(Point);
    HitSound->Play(nullptr);
    if (Sea) {
        Linker->InstantiateClassByName("tSplash", PositionText(Point) + " " + Flt2Str(BlastSize, 2));
        return;
    }
    // An echo's crater comes from the server, dug where its shot struck.
    if (!EchoOf) Engine->World->GetTerrainForPoint(Point)->Impact(Point, CraterRadius);
    tExplosion::Detonate(Point, BlastSize);
}

TFeedbackSignal tParticleProjectile::FeedbackSignal() {
    if (Hit) return HitSound && HitSound->IsPlaying() ? tEffect::FeedbackSignal() : FEEDBACK_KILL;
    if (LifeTime >= TTL) return FEEDBACK_KILL;
    Hit = (!EchoOf && StrikesAircraft()) || StrikesTerrain();
    return tEffect::FeedbackSignal();
}

void tParticleProjectile::Render() {
    ProcTrace trace("tParticleProjectile.Render()");
    if (Hit) return;
    Engine->Renderer->GeometryServer->CreateQuad_CameraFaced(VA, Position, QuadSize);
    Engine->Renderer->AddBuffer(VA, Shader);
}

tShellProjectile::tShellProjectile(const ShortString& Name) : tParticleProjectile(Name) {
    QuadSize = ShellSize;
    CraterRadius = ShellCrater;
    BlastSize = ShellBlast;
}

tPlasmaProjectile::tPlasmaProjectile(const ShortString& Name) : tParticleProjectile(Name) {
    Shader = Resources->LoadShader(GlareShader);
    QuadSize = PlasmaSize;
    CraterRadius = PlasmaCrater;
    BlastSize = PlasmaBlast;
}

void tPlasmaProjectile::Render() {
    if (!Hit) FeedLifeTime(Shader, Time, LifeTime, TTL);
    tParticleProjectile::Render();
}

tRailShaft::tRailShaft(const ShortString& Name) : tParticleProjectile(Name) {
    Shader = Resources->LoadShader(RailShader);
    ParticlesVA = NewQuads(MaxParticles);
    TTL = RailTTL;
    iPos = Position;
    CraterRadius = RailCrater;
    BlastSize = RailBlast;
    // A shaft made before any world exists meets nothing.
    if (Engine->World) Target = TraceBeam(*Engine->World, iPos, BeamEnd());
}

tRailShaft::~tRailShaft() {
    if (ParticlesVA) DisposeObject(ParticlesVA);
}

void tRailShaft::Update(float DeltaSeconds) {
    if (Hit) return;
    if (!Orbited && LifeTime > TTL / 10) {
        iPos += Velocity * LifeTime / 10.0f;
        if (FiredByPlayer()) Linker->InstantiateClassByName("tFXOrbitCamera", PositionText(iPos));
        Orbited = true;
    }
    LifeTime = std::min(LifeTime + DeltaSeconds, TTL);
    // The helix widens from nothing to its full radius over the shaft's life.
    const float Radius = LifeTime * HelixRadius / TTL;
    const TVector3 U = Normalize(GetOrthogonalVector(Velocity)) * Radius;
    const TVector3 W = Normalize(Cross(GetOrthogonalVector(Velocity), Velocity)) * Radius;
    ParticlesCount = std::clamp(int32_t(std::lround(LifeTime * MaxParticles / TTL)), 0, MaxParticles);
    // The beam grows until it reaches what it meets, and strikes it then.
    if (Target.Kind != TBeamHit::Nothing && ParticlesCount >= ParticlesBeforeTarget()) {
        ParticlesCount = ParticlesBeforeTarget();
        if (!Struck) Strike(Target.Point, Target.Kind == TBeamHit::Sea);
        Struck = true;
    }
    for (int32_t I = 1; I <= ParticlesCount; ++I) {
        const float Angle = HelixTurn * float(I);
        Particles[I - 1] = iPos + Velocity * (float(I) / ParticleSpacing) + U * std::sin(Angle) + W * std::cos(Angle);
    }
}

int32_t tRailShaft::ParticlesBeforeTarget() const {
    const float Speed2 = Dot(Velocity, Velocity);
    if (!(Speed2 > 0)) return 0;
    const float Along = Dot(Target.Point - iPos, Velocity) / Speed2 * ParticleSpacing;
    return std::clamp(int32_t(std::floor(Along)), 0, MaxParticles);
}

TFeedbackSignal tRailShaft::FeedbackSignal() {
    if (LifeTime >= TTL && !(HitSound && HitSound->IsPlaying())) return FEEDBACK_KILL;
    if (!EchoOf) StrikesAircraft();
    return tEffect::FeedbackSignal();
}

void tRailShaft::Render() {
    if (Hit || ParticlesCount == 0) return;
    ParticlesVA->SetActiveVertexCount(QuadCorners * ParticlesCount);
    Engine->Renderer->GeometryServer->CreateRectsArray_CameraFaced(ParticlesVA, ParticlesCount, Particles.data(),
                                                                  ParticleSize, ParticleSize);
    FeedLifeTime(Shader, Time, LifeTime, TTL);
    Engine->Renderer->AddBuffer(ParticlesVA, Shader);
}
