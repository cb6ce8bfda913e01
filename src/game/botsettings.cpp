#include "game/botsettings.h"

#include "kernel/core/strutils.h"

namespace {
// Hard is the brain as it always flew; Normal and Easy look around less
// often, aim worse, notice less, turn more gently and fire in bursts.
constexpr TBotSettings Levels[DIFFICULTIES] = {
    {1.2f, 0.6f, 0.18f, 0.07f, 900, 0.7f, 0.4f, 2.0f, true},
    {0.7f, 0.18f, 0.08f, 0.012f, 1300, 1.05f, 1.2f, 0.6f, true},
    {0.6f, 0.12f, 0.08f, 0.005f, 1500, 1.1f, 0, 0, false},
};
}  // namespace

const TBotSettings& SettingsFor(TDifficulty Level) {
    return Levels[Level >= 0 && Level < DIFFICULTIES ? Level : DIFFICULTY_NORMAL];
}

namespace {
int32_t FindDifficulty(const ShortString& Name) {
    for (int32_t I = 0; I < DIFFICULTIES; ++I)
        if (UpCaseStr(Trim(Name)) == UpCaseStr(DifficultyNames[I])) return I;
    return -1;
}
}  // namespace

TDifficulty DifficultyByName(const ShortString& Name) {
    const int32_t Found = FindDifficulty(Name);
    return Found < 0 ? DIFFICULTY_NORMAL : TDifficulty(Found);
}

bool IsDifficultyName(const ShortString& Name) { return FindDifficulty(Name) >= 0; }
