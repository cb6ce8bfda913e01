// A whole round of the game on the island, unattended: the biplane flies
// under the chase camera and fires its plasma gun at the player's click,
// flies into a hill, shows the crash text, and after the countdown a new
// biplane, armed with the rail gun this time, starts at the spawn point and
// fires; the game then quits cleanly. What it played is heard in a capture of
// OpenAL's output: the engine, the guns, "lost", the countdown and "play".

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "common/testenv.h"
#include "gamerun.h"

namespace {

// The moment, in seconds of the day, at which the log line holding Pos was
// written ("hh:mm:ss.cc" starts each line).
double LogTime(const std::string& Log, std::size_t Pos) {
    const std::size_t LineStart = Log.rfind('\n', Pos) == std::string::npos ? 0 : Log.rfind('\n', Pos) + 1;
    int H = 0, M = 0;
    double S = 0;
    std::sscanf(Log.c_str() + LineStart, "%d:%d:%lf", &H, &M, &S);
    return H * 3600.0 + M * 60.0 + S;
}

// Seconds of simulation the engine dropped after stalls between two places
// of the log: a machine too loaded to draw four frames a second.
double DroppedSimulation(const std::string& Log, std::size_t From, std::size_t To) {
    const std::string Dropped = "Dropped ";
    double Sum = 0;
    for (std::size_t At = Log.find(Dropped, From); At < To; At = Log.find(Dropped, At + 1))
        Sum += std::atof(Log.c_str() + At + Dropped.size());
    return Sum;
}

tCapture ShippedSound(const std::string& File) {
    return ReadWaveCapture(ReadWholeFile(std::string(HALVARDINE_SOURCE_DIR) + "/Data/Sounds/" + File));
}

// Bright red pixels of the crash text's line.
int32_t RedTextPixels(const tScreenImage& Shot) {
    int32_t N = 0;
    for (int32_t Y = 95; Y < 160; ++Y)
        for (int32_t X = 195; X < 480; ++X) {
            const uint32_t C = Shot.At(X, Y);
            N += (C >> 16) > 200 && ((C >> 8) & 0xFF) < 60 && (C & 0xFF) < 60;
        }
    return N;
}

// Pixels of Shot below the console's lines for which Test(r, g, b) holds,
// in the box [X0, X1) x [Y0, Y1).
template <class T>
int32_t CountPixels(const tScreenImage& Shot, int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, T Test) {
    int32_t N = 0;
    for (int32_t Y = Y0; Y < Y1; ++Y)
        for (int32_t X = X0; X < X1; ++X) {
            const uint32_t C = Shot.At(X, Y);
            N += Test(int(C >> 16), int((C >> 8) & 0xFF), int(C & 0xFF));
        }
    return N;
}

// The biplane's yellow wings around the screen centre, where the chase
// camera keeps it.
int32_t WingPixels(const tScreenImage& Shot) {
    return CountPixels(Shot, 412, 284, 612, 484, [](int R, int G, int B) { return R > 150 && G > 100 && B < 80; });
}

// The plasma gun's blue-white glare anywhere below the console's lines.
int32_t GlarePixels(const tScreenImage& Shot) {
    return CountPixels(Shot, 0, 60, Shot.Width, Shot.Height,
                       [](int R, int G, int B) { return B > 200 && B >= R && G > 150; });
}

// The round is played once; each test reads what it left behind.
class Match : public testing::Test {
protected:
    struct tRound {
        tGameResult Result;
        tScreenImage Flying, Firing, Crashed, Respawned, Railing;
    };

    static void SetUpTestSuite() {
        tGameRun Game;
        // The first aircraft starts low in the island's middle, heading north
        // into a hill; the respawn comes at the usual start point.
        Game.UseGameLevel();
        std::ifstream File(Game.WorkDir() / "Data" / tGameRun::LevelScript);
        std::string Level((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
        // The level's last line spawns the aircraft at the start point (the game
        // runs without its menu); this one spawns it here instead.
        const std::string Spawn = "EnterGame";
        Level.replace(Level.find(Spawn), Spawn.size(), "SpawnClass %PlaneChassis \"384 180 40\"");
        // The cloudy day's lens flare would pass for plasma glare: a sky without weather.
        const std::string Weather = "SpawnClass tCloudyDay 14";
        Level.erase(Level.find(Weather), Weather.size());
        // The player alone, with nothing drawn over the picture: what is seen
        // and heard is the player's own.
        Level += "\nSet BotCount 0\nSet HUD False\n";
        Game.WriteDataFile(tGameRun::LevelScript, Level);
        // Each shot is taken a moment of game time after its key, by a demo, so a
        // slow machine shows the same moment of the match.
        const auto Later = [&](const char* Name, const char* Seconds, const char* Line) {
            Game.WriteDataFile(std::string(Name) + ".dem", std::string("WAIT ") + Seconds + "\n" + Line + "\n");
            return std::string("\"PlayDemo ") + Name + ".dem\"";
        };
        Game.AppendDataFile("StdConfig/console.cfg",
                            "\nBind VK_F5 " + Later("flying", "5", "ScreenShot flying.bmp") +
                                "\nBind VK_F6 " + Later("firing", "0.3", "ScreenShot firing.bmp") +
                                "\nBind VK_F7 \"ScreenShot crashed.bmp\"\nBind VK_F8 " +
                                Later("respawned", "4", "ScreenShot respawned.bmp") +
                                "\nBind VK_F9 \"Set PrimaryWeapon tRailGun\"\nBind VK_F11 " +
                                Later("railing", "0.3", "ScreenShot railing.bmp") + "\nBind VK_F12 " +
                                Later("leaving", "0.5", "Quit") + "\n");
        // The game's sounds are at 22050 Hz: heard at that rate they keep their shape.
        Game.CaptureSound(22050);

        Game.AddDriverStep("xdotool mousemove --window $WINDOW 512 384");
        Game.WaitForLogLine("tBiplane spawned at 384.00 180.00");
        // The chase camera closes in over the first seconds.
        Game.AddDriverStep("xdotool key F5");
        Game.WaitForDataFile("ScreenShots/flying.bmp");
        Game.AddDriverStep("xdotool mousedown 1 key F6");
        Game.WaitForDataFile("ScreenShots/firing.bmp");
        Game.AddDriverStep("xdotool mouseup 1");
        Game.WaitForLogLine("tBiplane crashed at");
        Game.AddDriverStep("xdotool key F7 F9");
        Game.WaitForDataFile("ScreenShots/crashed.bmp");
        Game.WaitForLogLine("tBiplane spawned at 64.00");
        Game.AddDriverStep("xdotool key F8");
        Game.WaitForDataFile("ScreenShots/respawned.bmp");
        Game.AddDriverStep("xdotool mousedown 1 key F11");
        Game.WaitForDataFile("ScreenShots/railing.bmp");
        Game.AddDriverStep("xdotool mouseup 1 key F12");
        Round = new tRound;
        Round->Result = Game.Run(120);
        const tGameResult& R = Round->Result;
        Round->Flying = R.Screenshot("ScreenShots/flying.bmp");
        Round->Firing = R.Screenshot("ScreenShots/firing.bmp");
        Round->Crashed = R.Screenshot("ScreenShots/crashed.bmp");
        Round->Respawned = R.Screenshot("ScreenShots/respawned.bmp");
        Round->Railing = R.Screenshot("ScreenShots/railing.bmp");
    }
    static void TearDownTestSuite() {
        delete Round;
        Round = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(Result().ExitCode, 0) << Result().Stderr << Result().Stdout;
    }
    // Every shot was written, at the window's size.
    static bool ShotsTaken() {
        const tRound& R = *Round;
        for (const tScreenImage* Shot : {&R.Flying, &R.Firing, &R.Crashed, &R.Respawned, &R.Railing})
            if (Shot->Width != 1024) return false;
        return true;
    }

    static const tGameResult& Result() { return Round->Result; }
    static const std::string& Log() { return Round->Result.EngineLog; }
    static std::size_t Crash() { return Log().find("tBiplane crashed at"); }
    static std::size_t Respawn() { return Log().find("tBiplane spawned at 64.00 64.00 200.00"); }
    // Where in the sound capture a log line was written: the capture starts
    // when OpenAL opens.
    static double HeardAt(std::size_t LogPos) {
        return LogTime(Log(), LogPos) - LogTime(Log(), Log().find("OpenAL version"));
    }
    static double Spawned() { return HeardAt(Log().find("tBiplane spawned at 384.00")); }

    static tRound* Round;
};

Match::tRound* Match::Round = nullptr;

}  // namespace

TEST_F(Match, TheGameQuitsWithNothingLeftAlive) {
    EXPECT_TRUE(Contains(Result().Stdout, "Objects left: 0")) << Result().Stdout;
}

// The round in the log: the crash, the lost announcement, the countdown in
// order, and the new aircraft.
TEST_F(Match, TheLogTellsTheRoundInOrder) {
    const std::size_t Lost = Log().find("Announcer: sounds\\announcer\\lost.wav");
    const std::size_t NewRound = Log().find("Announcer: sounds\\announcer\\new round in.wav");
    const std::size_t Seven = Log().find("Announcer: sounds\\announcer\\seven.wav");
    const std::size_t One = Log().find("Announcer: sounds\\announcer\\one.wav");
    const std::size_t Play = Log().find("Announcer: sounds\\announcer\\play.wav", Respawn());
    ASSERT_NE(Crash(), std::string::npos) << Log();
    EXPECT_LT(Crash(), Lost);
    EXPECT_LT(Lost, NewRound);
    EXPECT_LT(NewRound, Seven);
    EXPECT_LT(Seven, One);
    EXPECT_LT(One, Respawn());
    EXPECT_NE(Play, std::string::npos);
}

// The engine drones through the first flight, and the plasma gun is heard
// between the spawn and the crash, far more like its sample than the calm
// flight before the button went down (the engine drones under the shots,
// and shots overlap).
TEST_F(Match, TheEngineAndThePlasmaGunAreHeardInTheFirstFlight) {
    const tCapture& Heard = Result().Sound;
    ASSERT_GT(Heard.Samples.size(), 22050u * 10);
    ASSERT_NE(Crash(), std::string::npos);
    EXPECT_GT(Heard.LoudnessBetween(Spawned() + 1, Spawned() + 4), 300);
    const tCapture PlasmaSample = ShippedSound("Weapons/plasma.wav");
    const tSoundMatch Plasma = Heard.Find(PlasmaSample, Spawned(), HeardAt(Crash()));
    const tSoundMatch CalmFlight = Heard.Find(PlasmaSample, Spawned() + 0.5, Spawned() + 3.5);
    EXPECT_GT(Plasma.Likeness, 2 * CalmFlight.Likeness);
    EXPECT_GT(Plasma.At, Spawned() + 4);
}

// The announcements, each where the log says it was made and in its order.
TEST_F(Match, TheAnnouncementsAreHeardWhenTheLogSaysInTheirOrder) {
    const tCapture& Heard = Result().Sound;
    ASSERT_NE(Crash(), std::string::npos);
    double Previous = HeardAt(Crash());
    for (const char* Word : {"lost", "new round in", "seven", "six", "five", "four", "three", "two", "one", "play"}) {
        SCOPED_TRACE(Word);
        const std::size_t Said = Log().find(std::string("Announcer: sounds\\announcer\\") + Word + ".wav", Crash());
        ASSERT_NE(Said, std::string::npos);
        const tSoundMatch Match = Heard.Find(ShippedSound(std::string("Announcer/") + Word + ".wav"),
                                             HeardAt(Said) - 1, HeardAt(Said) + 1);
        // The new aircraft's engine starts under "play".
        EXPECT_GT(Match.Likeness, 0.4);
        EXPECT_NEAR(Match.At, HeardAt(Said), 0.25);
        EXPECT_GT(Match.At, Previous);
        Previous = Match.At;
    }
}

// The rail gun of the new aircraft, after its first calm seconds.
TEST_F(Match, TheNewAircraftsRailGunIsHeard) {
    const tCapture& Heard = Result().Sound;
    ASSERT_NE(Respawn(), std::string::npos);
    const tCapture RailSample = ShippedSound("Weapons/railgun.wav");
    const double Reborn = HeardAt(Respawn());
    const tSoundMatch Rail = Heard.Find(RailSample, Reborn, double(Heard.Samples.size()) / Heard.Rate);
    EXPECT_GT(Rail.Likeness, 2 * Heard.Find(RailSample, Reborn + 1.5, Reborn + 3.5).Likeness);
    EXPECT_GT(Rail.At, Reborn + 4);
}

// No crash text while flying; the red line while crashed.
TEST_F(Match, TheCrashTextShowsOnlyWhileCrashed) {
    ASSERT_TRUE(ShotsTaken());
    EXPECT_LT(RedTextPixels(Round->Flying), 20);
    EXPECT_GT(RedTextPixels(Round->Crashed), 150);
    EXPECT_LT(RedTextPixels(Round->Respawned), 20);
}

// The aircraft in the middle of the picture, first and after the respawn,
// once the chase camera has closed in. It closes in over game time, and the
// shots wait wall-clock time: where the engine dropped seconds of simulation
// on the way, the camera may still be on its way.
TEST_F(Match, TheChaseCameraKeepsTheAircraftInTheMiddle) {
    ASSERT_TRUE(ShotsTaken());
    const auto Closed = [&](std::size_t From, const char* Shot) {
        return DroppedSimulation(Log(), From, Log().find(std::string("ScreenShot ") + Shot, From)) < 1;
    };
    if (Closed(Log().find("tBiplane spawned at 384.00"), "flying.bmp")) {
        EXPECT_GT(WingPixels(Round->Flying), 30);
    }
    if (Closed(Respawn(), "respawned.bmp")) {
        EXPECT_GT(WingPixels(Round->Respawned), 30);
    }
}

// Plasma glares ahead of the aircraft while the button is held, none before;
// then the rail gun's blue-white shaft.
TEST_F(Match, GunsGlareOnlyWhileTheButtonIsHeld) {
    ASSERT_TRUE(ShotsTaken());
    EXPECT_EQ(GlarePixels(Round->Flying), 0);
    EXPECT_GT(GlarePixels(Round->Firing), 30);
    EXPECT_EQ(GlarePixels(Round->Respawned), 0);
    EXPECT_GT(GlarePixels(Round->Railing), 1000);
}
