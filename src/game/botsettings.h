#pragma once
// How the computer pilots fly at each level of difficulty ("Difficulty":
// Easy, Normal, Hard). A level is a set of the brain's settings; "BotSkill"
// (0 ... 1) places a pilot between the slow and the quick end of its level's
// reaction and aim.

#include <cstdint>

#include "kernel/core/shortstring.h"

enum TDifficulty : int32_t { DIFFICULTY_EASY, DIFFICULTY_NORMAL, DIFFICULTY_HARD, DIFFICULTIES };

inline constexpr const char* DifficultyNames[DIFFICULTIES] = {"Easy", "Normal", "Hard"};

struct TBotSettings {
    float SlowReaction, QuickReaction;  // seconds between looks around, at skill 0 and 1
    float WorstAimError, BestAimError;  // radians
    float SightRange;                   // farther enemies go unnoticed
    float MaxBank;                      // radians: how hard it turns
    float BurstSeconds, HoldSeconds;    // fires in bursts, holding fire between (0: never holds)
    // Fair attention: at most one pilot at a time goes after the player,
    // unless the player goes after it.
    bool SharesThePlayer;
};

const TBotSettings& SettingsFor(TDifficulty Level);
// A level by its name, in any case; Normal for a name that is none.
TDifficulty DifficultyByName(const ShortString& Name);
bool IsDifficultyName(const ShortString& Name);
