#pragma once
// The voices of the match: an announcer plays one sample and leaves when it
// has ended; the countdown after a lost aircraft announces "new round in",
// seven ... one, and then spawns the next aircraft of the class the variable
// PlaneChassis names at the start point, unless the player has one already.

#include <cstdint>

#include "kernel/world/spawnable.h"

class tAudioSource;

class tAnnouncer : public tEffect {
    Z_DECLARE_CLASS(tAnnouncer, tEffect)
public:
    static constexpr const char* PlaySample = "sounds\\announcer\\play.wav";
    static constexpr const char* LostSample = "sounds\\announcer\\lost.wav";

    // Name is the sample's file name; it starts playing at once.
    explicit tAnnouncer(const ShortString& Name);
    ~tAnnouncer() override;

    void Render() override {}
    // Leaves in the tick in which the sample is no longer heard.
    TFeedbackSignal FeedbackSignal() override;

    tAudioSource* AnnounceSound = nullptr;  // owned
};

class tLostTheMatchAnnouncer : public tEffect {
    Z_DECLARE_CLASS(tLostTheMatchAnnouncer, tEffect)
public:
    static constexpr float StartTicker = 12.0f;
    static constexpr int32_t StartCountdown = 12;
    static constexpr int32_t FirstAnnounced = 9;  // "new round in"
    static constexpr float RespawnAt = 2.0f;      // seconds left when the next round starts
    static constexpr const char* RespawnCommand = "SpawnClass %PlaneChassis \"64 64 200\"";

    explicit tLostTheMatchAnnouncer(const ShortString& Name);
    ~tLostTheMatchAnnouncer() override { --Running; }

    void Render() override {}
    void Update(float DeltaSeconds) override;
    // Spawns the next aircraft once, and leaves in the same call.
    TFeedbackSignal FeedbackSignal() override;

    // The sample announced for a number of the countdown (1 "play" ... 9
    // "new round in").
    static ShortString CountdownSample(int32_t Index);

    float Ticker = StartTicker;
    int32_t Countdown = StartCountdown;
    // Countdowns under way: a player without an aircraft is only waiting.
    static inline int32_t Running = 0;
};
