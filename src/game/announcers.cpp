#include "game/announcers.h"

#include <algorithm>
#include <cmath>

#include "game/match.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/varsmanager.h"

Z_IMPLEMENT_CLASS(tAnnouncer, .Operations = {{"Render"}, {"FeedbackSignal"}})
Z_IMPLEMENT_CLASS(tLostTheMatchAnnouncer, .Operations = {{"Render"}, {"Update"}, {"FeedbackSignal"}})

namespace {
constexpr const char* AnnouncerFolder = "sounds\\announcer\\";
constexpr const char* CountdownSamples[tLostTheMatchAnnouncer::FirstAnnounced] = {
    "play.wav", "one.wav", "two.wav", "three.wav", "four.wav", "five.wav", "six.wav", "seven.wav", "new round in.wav"};
}  // namespace

tAnnouncer::tAnnouncer(const ShortString& Name) : tEffect(Name) {
    ProcTrace trace("tAnnouncer.Init(" + Name + ")");
    Logger->Log("Announcer: " + Name);
    Logger->Guard(Engine->Audio, "No audio subsystem for the announcer");
    AnnounceSound = Engine->Audio->CreateSource(Name);
    AnnounceSound->Play(nullptr);
}

tAnnouncer::~tAnnouncer() {
    if (AnnounceSound) DisposeObject(AnnounceSound);
}

TFeedbackSignal tAnnouncer::FeedbackSignal() {
    if (!AnnounceSound->IsPlaying()) Kill();
    return tEffect::FeedbackSignal();
}

tLostTheMatchAnnouncer::tLostTheMatchAnnouncer(const ShortString& Name) : tEffect(Name) {
    ProcTrace trace("tLostTheMatchAnnouncer.Init()");
    ++Running;
}

ShortString tLostTheMatchAnnouncer::CountdownSample(int32_t Index) {
    return ShortString(AnnouncerFolder) + CountdownSamples[Index - 1];
}

void tLostTheMatchAnnouncer::Update(float DeltaSeconds) {
    Ticker -= DeltaSeconds;
    const int32_t N = int32_t(std::lround(Ticker));
    // A long step skips numbers: only the one reached is announced.
    if (N == Countdown || N > FirstAnnounced) return;
    Countdown = std::max(1, N);
    Linker->InstantiateClassByName("tAnnouncer", CountdownSample(Countdown));
}

TFeedbackSignal tLostTheMatchAnnouncer::FeedbackSignal() {
    if (Ticker >= RespawnAt || DefaultSignal == FEEDBACK_KILL) return tEffect::FeedbackSignal();
    ShortString Chassis;
    if (EngineVars->IsVarDefined("PlaneChassis")) EngineVars->GetVar("PlaneChassis", Chassis);
    // The countdown brings back a missing aircraft only: one a pilot. A
    // server brings back its clients' aircraft itself.
    if (Match && Match->FollowsServer())
        Logger->Log("New round: the server brings the aircraft back");
    else if (Match && Match->PlayerAircraft())
        Logger->Log("New round: the player's aircraft is still flying");
    else if (Chassis.empty())
        Console->DisplayError("PlaneChassis is not set: no aircraft for the next round");
    else {
        Logger->Log("New round: " + ShortString(RespawnCommand));
        Console->SendCommand(RespawnCommand, true);
    }
    Kill();
    return tEffect::FeedbackSignal();
}
