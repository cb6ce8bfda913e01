// Fatal errors end the game with exit code 255 and their message in the log
// and on standard error, without a message box to wait for.

#include <gtest/gtest.h>

#include <filesystem>

#include "gamerun.h"

TEST(GameFailures, BadStartUpEntriesEndTheGameWithTheirMessage) {
    struct {
        const char* Key;
        const char* Value;
        const char* Message;
    } const Cases[] = {
        {"RunsCount", "4.5", "Wrong value in [Engine].RunsCount key"},
        {"RenderDevice", "tNullWorld", "TNULLWORLD isn't a tRenderDevice"},
        {"Audio", "tNoSuchAudio", "Unable to instantiate class: class not found: TNOSUCHAUDIO"},
        {"Console", "", "Unable to instantiate class: class not found: "},
    };
    for (const auto& C : Cases) {
        tGameRun Game;
        Game.SetINIValue(C.Key, C.Value);
        tGameResult R = Game.Run(30);
        EXPECT_EQ(R.ExitCode, 255) << C.Key;
        EXPECT_TRUE(Contains(R.EngineLog, std::string("Fatal error: ") + C.Message)) << R.EngineLog;
        EXPECT_TRUE(Contains(R.Stderr, C.Message)) << R.Stderr;
    }
}

TEST(GameFailures, AMissingStartUpScriptEndsTheGame) {
    tGameRun Game;
    std::filesystem::remove(Game.WorkDir() / "Data" / "StdConfig" / "console.cfg");
    tGameResult R = Game.Run(30);
    EXPECT_EQ(R.ExitCode, 255);
    EXPECT_TRUE(Contains(R.EngineLog, "Fatal error: Error code: 2 <File not found> \"Data/StdConfig/console.cfg\""))
        << R.EngineLog;
}
