#include "game/dangerwatch.h"

#include <algorithm>

#include "game/airplane.h"
#include "game/match.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"

tDangerWatch::~tDangerWatch() {
    if (Tone) tZObject::DisposeObject(Tone);
}

void tDangerWatch::Reset() {
    Tailer = 0;
    HitMarkLeft = 0;
    ToneIn = 0;
}

void tDangerWatch::PlayerHitFrom(const TVector3& Point) {
    HitFrom = Point;
    HitMarkLeft = HitMarkSeconds;
}

void tDangerWatch::Update(tMatch& Match, float DeltaSeconds) {
    HitMarkLeft = std::max(0.0f, HitMarkLeft - DeltaSeconds);
    ToneIn -= DeltaSeconds;
    const tAirplaneActor* Own = Match.PlayerAircraft();
    Tailer = 0;
    if (!Own || !Own->Alive() || !Own->IsPlayer()) {
        ToneIn = 0;
        return;
    }
    TBotContact Enemies[tMatch::MaxPilots];
    TBotSituation S = SituationOf(*Own);
    S.Enemies = Enemies;
    S.EnemyCount = Match.Contacts(tMatch::PlayerPilot, Enemies, tMatch::MaxPilots);
    Tailer = TBotBrain::TailingEnemy(S, TBotBrain::FireRange);
    if (Tailer == 0) {
        ToneIn = 0;  // a new tailer is announced at once
        return;
    }
    if (ToneIn > 0) return;
    ToneIn = ToneRepeatSeconds;
    ++TonesPlayed;
    if (!Engine || !Engine->Audio) return;
    if (!Tone) Tone = Engine->Audio->CreateSource(ToneFile);
    Tone->Play(nullptr);
}
