// A deathmatch on the island without anyone at the controls: three computer
// pilots at their best, on a fixed match seed, fight for 90 seconds; pilots
// shot down come back, nobody ever has two aircraft at once, and the game
// ends cleanly. Then the player's aircraft joins: the HUD shows its
// instruments and marks the enemies in view.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "common/testenv.h"
#include "gamerun.h"

namespace {

constexpr int32_t Shots = 12;  // screenshots, a second apart, once the player flies

// Per pilot, the most aircraft alive at once, from the log's "spawned at ...
// for <pilot>" and "<class> of <pilot> leaves" lines.
std::map<std::string, int> MostAliveAtOnce(const std::string& Log, std::map<std::string, int>& Spawns) {
    std::map<std::string, int> Alive, Most;
    std::istringstream Lines(Log);
    for (std::string Line; std::getline(Lines, Line);) {
        if (!Line.empty() && Line.back() == '"') Line.pop_back();
        const std::size_t For = Line.find(" for ");
        const std::size_t Of = Line.find(" of "), Leaves = Line.rfind(" leaves");
        if (Line.find(" spawned at ") != std::string::npos && For != std::string::npos) {
            const std::string Pilot = Line.substr(For + 5);
            ++Spawns[Pilot];
            Most[Pilot] = std::max(Most[Pilot], ++Alive[Pilot]);
        } else if (Of != std::string::npos && Leaves != std::string::npos && Leaves + 7 == Line.size()) {
            --Alive[Line.substr(Of + 4, Leaves - Of - 4)];
        }
    }
    return Most;
}

// Pixels of the marker's and arrow's red away from the window's border.
int32_t MarkerPixels(const tScreenImage& Shot) {
    int32_t N = 0;
    for (int32_t Y = 60; Y < Shot.Height - 120; ++Y)
        for (int32_t X = 60; X < Shot.Width - 60; ++X) {
            const uint32_t C = Shot.At(X, Y);
            N += (C >> 16) > 200 && ((C >> 8) & 0xFF) < 100 && (C & 0xFF) < 90;
        }
    return N;
}

// The health bar's green at the bottom left.
int32_t HealthBarPixels(const tScreenImage& Shot) {
    int32_t N = 0;
    for (int32_t Y = Shot.Height - 80; Y < Shot.Height - 40; ++Y)
        for (int32_t X = 70; X < 240; ++X) {
            const uint32_t C = Shot.At(X, Y);
            N += ((C >> 8) & 0xFF) > 180 && (C >> 16) < 140 && (C & 0xFF) < 140;
        }
    return N;
}

}  // namespace

TEST(Deathmatch, ComputerPilotsFightComeBackAndThePlayerSeesThemOnTheHUD) {
    tGameRun Game;
    Game.UseGameLevel();
    std::string Level = ReadWholeFile((Game.WorkDir() / "Data" / tGameRun::LevelScript).string());
    // No player aircraft: the level's last line would bring it in.
    const std::string Spawn = "EnterGame";
    Level.erase(Level.find(Spawn), Spawn.size());
    const std::string Bots = "Set BotCount 3";
    Level.replace(Level.find(Bots), Bots.size(), "Set MatchSeed 11\nSet BotSkill 1.0\nSet FragLimit 100\n" + Bots);
    Game.WriteDataFile(tGameRun::LevelScript, Level);
    std::string Demo = "WAIT 90\nSpawnClass %PlaneChassis \"64 64 200\"\nWAIT 4\n";
    for (int32_t I = 0; I < Shots; ++I) Demo += "ScreenShot hud" + std::to_string(I) + ".bmp\nWAIT 1\n";
    Game.PlayDemo(Demo + "Quit\n");
    const tGameResult R = Game.Run(240);
    ASSERT_EQ(R.ExitCode, 0) << R.Stderr << R.Stdout;
    EXPECT_TRUE(Contains(R.Stdout, "Objects left: 0")) << R.Stdout;

    const std::string& Log = R.EngineLog;
    EXPECT_TRUE(Contains(Log, " shot down ")) << Log;
    std::map<std::string, int> Spawns;
    const std::map<std::string, int> Most = MostAliveAtOnce(Log, Spawns);
    ASSERT_EQ(Most.size(), 4u) << "three computer pilots and the player";
    int32_t Respawns = 0;
    for (const auto& [Pilot, N] : Most) {
        EXPECT_EQ(N, 1) << Pilot << " had " << N << " aircraft at once";
        Respawns += Spawns[Pilot] - 1;
    }
    EXPECT_GT(Respawns, 0) << Log;

    int32_t WithMarker = 0;
    for (int32_t I = 0; I < Shots; ++I) {
        const tScreenImage Shot = R.Screenshot("ScreenShots/hud" + std::to_string(I) + ".bmp");
        ASSERT_GT(Shot.Width, 0);
        // The player may be shot down meanwhile; most of the time it flies.
        WithMarker += MarkerPixels(Shot) > 30 && HealthBarPixels(Shot) > 300;
    }
    EXPECT_GT(WithMarker, 0);
}
