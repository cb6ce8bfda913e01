#include "libraries/effects/particleburst.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tParticleBurst, .Operations = {{"Update"},
                                                 {"Render"},
                                                 {"FeedbackSignal"},
                                                 {"Ignite", ZOP_ABSTRACT},
                                                 {"Rekindle"}})

namespace {
constexpr const char* BurstShader = "shaders\\effects\\burst.shader";
// The flame and the smoke puff side by side in the texture.
constexpr float FlameU = 0, SmokeU = 0.5f;
constexpr TVector2 CornerUV[QuadCorners] = {{0, 1}, {0.5f, 1}, {0.5f, 0}, {0, 0}};
// Every burst draws its own dice, one after another, from this start.
constexpr uint32_t FirstSeed = 7919;
uint32_t BurstsMade = 0;

float SizeFromName(const ShortString& Name) {
    const float Size = Str2Flt(GetToken(Name, 4));
    return std::isfinite(Size) && Size > 0 ? Size : 1.0f;
}
}  // namespace

tParticleBurst::tParticleBurst(const ShortString& Name, int32_t Capacity)
    : tEffect(Name),
      Origin{Str2Flt(GetToken(Name, 1)), Str2Flt(GetToken(Name, 2)), Str2Flt(GetToken(Name, 3))},
      Size(SizeFromName(Name)),
      Particles(std::size_t(Capacity)),
      Random(tRandom::Seeded(FirstSeed + BurstsMade++)) {
    AssignedRenderDevice();
    Shader = Resources->LoadShader(BurstShader);
    VA = tVertexArrayManager::Current()->AllocateVA(QuadCorners * Capacity, 1, GN_FALSE, PRIM_QUADS);
}

void tParticleBurst::RestartSeeds() { BurstsMade = 0; }

tParticleBurst::~tParticleBurst() {
    if (VA) DisposeObject(VA);
    if (Sound) DisposeObject(Sound);
}

void tParticleBurst::Restart(const TVector3& Position, float NewSize) {
    Origin = Position;
    Size = std::isfinite(NewSize) && NewSize > 0 ? NewSize : 1.0f;
    Age = 0;
    for (TBurstParticle& P : Particles) P = {};
    Ignite();
}

void tParticleBurst::PlaySound(const char* File) {
    if (!Engine->Audio) return;
    if (Sound && SoundFile != File) DisposeObject(Sound);
    if (!Sound) Sound = Engine->Audio->CreateSource(File);
    SoundFile = File;
    Sound->PlaceAt(Origin);
    Sound->Play(nullptr);
}

float tParticleBurst::Uniform(float Low, float High) {
    constexpr int32_t Steps = 10000;
    return Low + (High - Low) * float(Random(Steps)) / float(Steps - 1);
}

TVector3 tParticleBurst::Direction(float MinUp) {
    const float Turn = Uniform(0, 6.2831853f);
    const float Up = Uniform(MinUp, 1);
    const float Across = std::sqrt(std::max(0.0f, 1 - Up * Up));
    return {Across * std::cos(Turn), Across * std::sin(Turn), Up};
}

int32_t tParticleBurst::LiveParticles() const {
    return int32_t(std::count_if(Particles.begin(), Particles.end(), [](const TBurstParticle& P) { return P.Alive(); }));
}

void tParticleBurst::Update(float DeltaSeconds) {
    Age += DeltaSeconds;
    for (TBurstParticle& P : Particles) {
        if (P.Life <= 0) continue;
        P.Age += DeltaSeconds;
        if (P.Age >= P.Life && !Rekindle(P)) {
            P.Life = 0;
            continue;
        }
        if (P.Age < 0) continue;
        P.Velocity.z -= Gravity * P.Gravity * DeltaSeconds;
        P.Velocity = P.Velocity * std::max(0.0f, 1 - P.Drag * DeltaSeconds);
        P.Position += P.Velocity * DeltaSeconds;
        if (P.Kind == TBurstParticle::Smoke) P.Position += Wind * DeltaSeconds;
    }
}

TFeedbackSignal tParticleBurst::FeedbackSignal() {
    if (LiveParticles() == 0 && !(Sound && Sound->IsPlaying())) return FEEDBACK_KILL;
    return tEffect::FeedbackSignal();
}

// The puffs face the world's camera: their corners lie along its right and
// up directions.
void tParticleBurst::WriteQuads() {
    tCamera* Camera = Engine->GetWorld()->GetCamera();
    const TVector3 Ahead = Normalize(Camera ? Camera->GetViewingDirection() : TVector3{0, 1, 0});
    TVector3 Right = Cross(Ahead, {0, 0, 1});
    Right = Len(Right) > MinNormalizableLength ? Normalize(Right) : TVector3{1, 0, 0};
    const TVector3 Up = Cross(Right, Ahead);
    const TVector3 Corners[QuadCorners] = {-Right - Up, Right - Up, Right + Up, Up - Right};

    TVector3* Vertex = VA->GetVertices();
    TVector2* UV = VA->GetTexCoords(0);
    TVector2* Shade = VA->GetTexCoords(1);
    int32_t Drawn = 0;
    for (const TBurstParticle& P : Particles) {
        if (!P.Visible()) continue;
        const float T = P.Age / P.Life;
        const float Half = P.StartSize + (P.EndSize - P.StartSize) * T;
        const float Fade = 1 - T;
        const float U = P.Kind == TBurstParticle::Flame ? FlameU : SmokeU;
        for (int32_t K = 0; K < QuadCorners; ++K) {
            *Vertex++ = P.Position + Corners[K] * Half;
            *UV++ = {CornerUV[K].x + U, CornerUV[K].y};
            *Shade++ = {P.Glow * Fade * Fade, P.Cover * Fade};
        }
        ++Drawn;
    }
    VA->SetActiveVertexCount(QuadCorners * Drawn);
}

void tParticleBurst::Render() {
    WriteQuads();
    if (VA->GetActiveVertexCount() > 0) Engine->Renderer->AddBuffer(VA, Shader);
}
