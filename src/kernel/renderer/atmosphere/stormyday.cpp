#include "kernel/renderer/atmosphere/stormyday.h"

#include "kernel/console/console.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tStormyDay, .Operations = {{"Update"}, {"Render"}, {"GetSkyShader"}, {"GetStarsShader"}})

namespace {

// Drops start this far around the camera when the storm begins, and are
// reborn closer in.
constexpr int32_t StartSpread = 600, RebirthSpread = 400;
// Heights above the camera at which drops start: Random(Range) + Lowest.
constexpr int32_t DropHeightRange = 500, DropLowest = 200;
constexpr TVector2 DropCornerUV[tStormyDay::DropCorners] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
constexpr const char* ThunderSounds[] = {
    "Sounds\\Environment\\thndr_cls.wav", "Sounds\\Environment\\thndr_cls2.wav", "Sounds\\Environment\\thndr_cls3.wav",
    "Sounds\\Environment\\thndr_far.wav", "Sounds\\Environment\\thndr_far2.wav", "Sounds\\Environment\\thndr_far3.wav"};
constexpr int32_t ThunderSoundsCount = int32_t(std::size(ThunderSounds));

}  // namespace

tStormyDay::tStormyDay(const ShortString& Params) : tWeatherConditions(Params) {
    ProcTrace trace("tStormyDay.Init(" + Params + ")");
    Sky = Resources->LoadShader("shaders\\atmosphere\\stormy.shader");
    Thunder = Resources->LoadShader("shaders\\atmosphere\\thunder.shader");
    RainShader = Resources->LoadShader("shaders\\atmosphere\\rain.shader");
    AssignedRenderDevice()->SetFogColor(CalmFog);
    RainSound = Engine->Audio->CreateSource("Sounds\\Environment\\rain.wav");
    RainSound->LoopSound(true);
    RainSound->Play(nullptr);
    Rain = tVertexArrayManager::Current()->AllocateVA(RainDropsCount * DropCorners, 0, GN_FALSE, PRIM_QUADS);
    FollowCamera();
    TVector2* UV = Rain->GetTexCoords(0);
    for (int32_t I = 0; I < RainDropsCount; ++I) {
        RainDrops[I] = NewDrop(StartSpread);
        for (int32_t K = 0; K < DropCorners; ++K) UV[I * DropCorners + K] = DropCornerUV[K];
    }
    // The first frame may come before the first update.
    FillRain();
}

tStormyDay::~tStormyDay() {
    ProcTrace trace("tStormyDay.Done()");
    if (Rain) DisposeObject(Rain);
    if (RainSound) DisposeObject(RainSound);
    if (ThunderSound) DisposeObject(ThunderSound);
}

TVector3 tStormyDay::NewDrop(int32_t Spread) {
    // Drawn in the order X, Y, Z.
    const float X = float(Random(Spread) - Spread / 2);
    const float Y = float(Random(Spread) - Spread / 2);
    const float Z = float(Random(DropHeightRange) + DropLowest);
    return CameraPos + TVector3{X, Y, Z};
}

void tStormyDay::FollowCamera() {
    if (tCamera* Camera = Engine->GetWorld()->GetCamera()) CameraPos = Camera->GetCameraPosition();
}

void tStormyDay::FillRain() {
    TVector3* Vertex = Rain->GetVertices();
    for (int32_t I = 0; I < RainDropsCount; ++I)
        for (int32_t K = 0; K < DropCorners; ++K) Vertex[I * DropCorners + K] = RainDrops[I];
}

void tStormyDay::Update(float DeltaSeconds) {
    UpdateLightning(DeltaSeconds);
    UpdateRain(DeltaSeconds);
}

void tStormyDay::UpdateLightning(float DeltaSeconds) {
    tRenderDevice* Device = Engine->Renderer;
    if (Struck) {
        Device->SetFogColor(FlashFog);
        StruckTime += DeltaSeconds;
        Struck = StruckTime < FlashSeconds;
    }
    if (Struck) return;
    Device->SetFogColor(CalmFog);
    // Strict: a paused engine (steps of 0) never strikes.
    if (DeltaSeconds * StrikeRate > float(Random(StrikeDice))) Strike();
}

void tStormyDay::Strike() {
    Struck = true;
    StruckTime = 0;
    const ShortString Sound = ThunderSounds[Random(ThunderSoundsCount)];
    // The game's announcers play a sound once and leave; an engine without
    // them plays the clap itself.
    tZClass Announcer;
    if (Linker->FindClass("tAnnouncer", Announcer)) Console->SendCommand("SpawnClass tAnnouncer " + Sound, true);
    else PlayThunder(Sound);
}

void tStormyDay::UpdateRain(float DeltaSeconds) {
    FollowCamera();
    for (TVector3& Drop : RainDrops) {
        Drop.z -= DeltaSeconds * FallSpeed;
        if (Drop.z < RebirthHeight) Drop = NewDrop(RebirthSpread);
    }
    FillRain();
}

void tStormyDay::Render() { Engine->Renderer->AddBuffer(Rain, RainShader); }

void tStormyDay::PlayThunder(const ShortString& FileName) {
    // A new clap cuts the previous one short.
    if (ThunderSound) DisposeObject(ThunderSound);
    ThunderSound = Engine->Audio->CreateSource(FileName);
    ThunderSound->Play(nullptr);
}
