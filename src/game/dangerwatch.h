#pragma once
// What the player is warned of, watched each tick: the point the last hit
// came from (the HUD marks its side at the screen's edge for a moment), and
// an enemy sitting on the tail within gun range (the HUD says so and a tone
// sounds, again every little while as long as it stays there).

#include <cstdint>

#include "libraries/math/vector.h"

class tAudioSource;
class tMatch;

class tDangerWatch {
public:
    static constexpr float HitMarkSeconds = 1.5f;
    static constexpr float ToneRepeatSeconds = 2.0f;
    static constexpr const char* ToneFile = "sounds\\tail_warning.wav";
    static constexpr const char* TailText = "on your tail";

    tDangerWatch() = default;
    ~tDangerWatch();
    tDangerWatch(const tDangerWatch&) = delete;
    tDangerWatch& operator=(const tDangerWatch&) = delete;

    void Update(tMatch& Match, float DeltaSeconds);
    void PlayerHitFrom(const TVector3& Point);
    void Reset();

    int32_t Tailer = 0;          // the enemy on the player's tail; 0 for none
    TVector3 HitFrom;            // where the last hit came from
    float HitMarkLeft = 0;       // seconds of its mark left
    int32_t TonesPlayed = 0;

private:
    float ToneIn = 0;
    tAudioSource* Tone = nullptr;  // owned, from the first warning
};
