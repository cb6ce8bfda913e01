#include "game/pickups.h"

#include <algorithm>

#include "game/airplane.h"
#include "game/match.h"
#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tPickup, .Operations = {{"Render"}})
Z_IMPLEMENT_CLASS(tCreditsPickup, .Operations = {{"Render"}, {"Update"}, {"FeedbackSignal"}})

tCreditsPickup::tCreditsPickup(const ShortString& Name) : tPickup(Name) {
    ProcTrace trace("tCreditsPickup.Init(" + Name + ")");
    Position = VectorFromName(Name, 1);
    SceneNode = Resources->LoadMesh(CoinMesh, CoinSize);
    Logger->Guard(SceneNode != nullptr, "SceneNode=Nil");
    Shader = Resources->LoadShader("shaders\\effects\\particle.shader");
    Glow = tVertexArrayManager::Current()->AllocateVA(QuadCorners, 1, GN_FALSE, PRIM_QUADS);
    Logger->Guard(Engine->Audio, "No audio subsystem for the pickup");
    PickupSound = Engine->Audio->CreateSource(PickupSoundFile);
}

void tCreditsPickup::Update(float DeltaSeconds) { AwayFor = std::max(0.0f, AwayFor - DeltaSeconds); }

TFeedbackSignal tCreditsPickup::FeedbackSignal() {
    if (Collected() || !Match) return tPickup::FeedbackSignal();
    // The coin's own half width counts toward the meeting.
    tAirplaneActor* Collector = Match->AircraftOnPath(Position, Position, 0, CoinSize / 2);
    if (!Collector) return tPickup::FeedbackSignal();
    AwayFor = ReturnSeconds;
    PickupSound->PlaceAt(Position);
    PickupSound->Play(Collector);
    Match->CreditCollected(Collector->Pilot);
    return tPickup::FeedbackSignal();
}

tCreditsPickup::~tCreditsPickup() {
    if (PickupSound) DisposeObject(PickupSound);
    if (Glow) DisposeObject(Glow);
    if (SceneNode) DisposeObject(SceneNode);
}

void tCreditsPickup::Render() {
    if (Collected()) return;
    tRenderDevice* Device = Engine->Renderer;
    // The glow faces the camera: rebuilt only when the camera has moved, and
    // on the first drawing.
    if (Engine->World->GetCamera()->IsPositionChanged() || !GlowBuilt) {
        Device->GeometryServer->CreateQuad_CameraFaced(Glow, Position, GlowSize);
        GlowBuilt = true;
    }
    Device->AddBuffer(Glow, Shader);
    TMatrix4 Translation = IdentityMatrix4;
    MTranslateMatrixF(Translation, Position);
    Device->BeginTransform(ZFT_MULT, &Translation);
    SceneNode->RenderSubMeshes();
    Device->EndTransform(ZFT_MULT);
}
