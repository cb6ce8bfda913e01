#pragma once
// Fair attention for a newcomer: one computer pilot at a time goes after the
// player, unless the player goes after it (has hit it lately); a pilot that
// has just shot the player down leaves the player to the others for a while.
// Pilots are the match's numbers (1 ... Capacity - 1); times are match seconds.

#include <array>
#include <cstdint>

class TPlayerAttention {
public:
    static constexpr int32_t Capacity = 32;
    static constexpr float ProvokedSeconds = 10.0f;  // a hit from the player makes a pilot fair game
    static constexpr float RestSeconds = 25.0f;      // after a kill: the countdown and a while of the new flight

    void Reset() { *this = TPlayerAttention{}; }
    // Whether Pilot may choose the player as its target now.
    bool MayAttack(int32_t Pilot, float Now) const;
    // After Pilot has looked around: it goes after the player or not.
    void Chose(int32_t Pilot, bool ThePlayer);
    void PlayerHit(int32_t Pilot, float Now);
    void PlayerShotDownBy(int32_t Pilot, float Now);
    // Pilot's aircraft is gone.
    void Left(int32_t Pilot);
    // The pilot going after the player by turn; 0 for none.
    int32_t Attacker() const { return Holder; }

private:
    static bool Known(int32_t Pilot) { return Pilot > 0 && Pilot < Capacity; }
    int32_t Holder = 0;
    std::array<float, Capacity> ProvokedUntil{}, RestUntil{};
};
