#include "game/attention.h"

bool TPlayerAttention::MayAttack(int32_t Pilot, float Now) const {
    if (!Known(Pilot)) return true;
    if (Now < ProvokedUntil[Pilot]) return true;
    if (Now < RestUntil[Pilot]) return false;
    return Holder == 0 || Holder == Pilot;
}

void TPlayerAttention::Chose(int32_t Pilot, bool ThePlayer) {
    if (ThePlayer && Holder == 0) Holder = Pilot;
    else if (!ThePlayer && Holder == Pilot) Holder = 0;
}

void TPlayerAttention::PlayerHit(int32_t Pilot, float Now) {
    if (Known(Pilot)) ProvokedUntil[Pilot] = Now + ProvokedSeconds;
}

void TPlayerAttention::PlayerShotDownBy(int32_t Pilot, float Now) {
    if (!Known(Pilot)) return;
    RestUntil[Pilot] = Now + RestSeconds;
    ProvokedUntil[Pilot] = 0;
    Left(Pilot);
}

void TPlayerAttention::Left(int32_t Pilot) {
    if (Holder == Pilot) Holder = 0;
}
