// The deathmatch without a window: the computer pilot's judgement against
// made-up ground and targets, flown through the real flight model; hits on
// aircraft, the score and the frag limit in a match of aircraft without
// meshes over flat ground.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "common/enginehost.h"
#include "common/recordingaudio.h"
#include "common/testworld.h"
#include "game/airplane.h"
#include "game/attention.h"
#include "game/botbrain.h"
#include "game/match.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/options.h"
#include "kernel/platform/wingameengine.h"
#include "libraries/math/quaternion.h"
#include "libraries/classes/console.h"
#include "libraries/classes/guimanager.h"

namespace {

constexpr float TickSeconds = 0.01f;

class TFlatGround : public TGroundProbe {
public:
    explicit TFlatGround(float H) : Height(H) {}
    float GroundHeight(float, float) const override { return Height; }
    float Height;
};

// A ridge across the path: high ground from y = 300 on.
class TRidge : public TGroundProbe {
public:
    float GroundHeight(float, float Y) const override { return Y > 300 ? 150.0f : 20.0f; }
};

// A brain flying a flight model: what it sees is taken from the model.
struct TFlyingBot {
    TFlyingBot(uint32_t Seed, float Skill, TVector3 Start) : Brain(Seed, Skill) { Plane._vecPosition = Start; }

    TBotCommand Tick(const TGroundProbe& Ground, const TBotContact* Enemies = nullptr, int32_t Count = 0) {
        TBotSituation S = SituationOf(Plane);
        S.Ground = &Ground;
        S.Enemies = Enemies;
        S.EnemyCount = Count;
        const TBotCommand C = Brain.Think(S, TickSeconds);
        Plane._ControlState = C.Controls;
        Plane.FlightStep(TickSeconds);
        return C;
    }

    TFlightModel Plane;
    TBotBrain Brain;
};

}  // namespace

TEST(BotBrain, PullsUpBeforeRisingGroundAndClearsIt) {
    TFlyingBot Bot(1, 0.5f, {512, 200, 120});
    const TRidge Ridge;
    bool PulledUp = false;
    for (int I = 0; I < 800; ++I) {
        const TBotCommand C = Bot.Tick(Ridge);
        if (Bot.Plane._vecPosition.y < 300) PulledUp |= C.Controls.iPitchAmount > 0;
        ASSERT_GT(Bot.Plane._vecPosition.z, Ridge.GroundHeight(0, Bot.Plane._vecPosition.y)) << "tick " << I;
    }
    EXPECT_TRUE(PulledUp);
    EXPECT_EQ(Bot.Brain.Mode == TBotBrain::MODE_AVOID_GROUND || Bot.Plane._vecPosition.z > 180, true);
}

TEST(BotBrain, RollsTowardATargetAndFiresOnlyWhenTheLeadIsInTheCone) {
    const TFlatGround Ground(0);
    // North-bound at 200; the target is to the left (west) and a little ahead.
    TFlyingBot Bot(2, 1.0f, {512, 400, 200});
    const TBotContact Left = {{400, 480, 200}, {0, 0, 0}, {0, 1, 0}, 2};
    const TBotCommand First = Bot.Tick(Ground, &Left, 1);
    EXPECT_LT(First.Controls.iRollAmount, 0);
    EXPECT_TRUE(First.Controls.bRollingLeft);
    EXPECT_FALSE(First.Fire);
    EXPECT_EQ(Bot.Brain.TargetPilot, 2);

    // Mirrored: to the right it rolls right.
    TFlyingBot Other(2, 1.0f, {512, 400, 200});
    const TBotContact Right = {{624, 480, 200}, {0, 0, 0}, {0, 1, 0}, 3};
    EXPECT_GT(Other.Tick(Ground, &Right, 1).Controls.iRollAmount, 0);

    // Straight ahead (the drop allowed for) and in range: it fires.
    TFlyingBot Shooter(3, 1.0f, {512, 400, 200});
    const float T = 200.0f / 400.0f;
    const TBotContact Ahead = {{512, 600, 200 - 0.5f * 9.8f * T * T}, {0, 0, 0}, {0, 1, 0}, 4};
    EXPECT_TRUE(Shooter.Tick(Ground, &Ahead, 1).Fire);
}

TEST(BotBrain, LeadPointMeetsACrossingTargetWithItsShot) {
    const TVector3 Shooter = {0, 0, 100}, Target = {0, 400, 100}, Velocity = {60, 0, 0};
    const TVector3 Aim = TBotBrain::LeadPoint(Shooter, Target, Velocity, 400, 9.8f);
    // Ahead by the flight time t, which solves |Target + V t - Shooter| = 400 t.
    const float T = Aim.x / 60;
    EXPECT_NEAR(Len(TVector3{Aim.x, Aim.y, 100} - Shooter), 400 * T, 0.01f);
    EXPECT_NEAR(Aim.y, 400, 1e-3f);
    EXPECT_NEAR(Aim.z, 100 + 0.5f * 9.8f * T * T, 0.01f);
    EXPECT_GT(T, 1.0f);

    // A shot fired at that point, falling, passes within a metre of the target.
    TVector3 P = Shooter, V = Normalize(Aim - Shooter) * 400;
    TVector3 Q = Target;
    float Closest = 1e9f;
    for (int I = 0; I < 200; ++I) {
        tParticleProjectile::BallisticStep(P, V, TickSeconds);
        Q += Velocity * TickSeconds;
        Closest = std::min(Closest, Len(P - Q));
    }
    EXPECT_LT(Closest, 1.0f);
}

TEST(BotBrain, TheStickMovesNoFasterOrFurtherThanAMouseAndTheSameSeedFliesTheSameWay) {
    const TFlatGround Ground(10);
    const TBotContact Behind = {{512, 300, 150}, {0, 40, 0}, {0, 1, 0}, 2};
    TFlyingBot A(77, 0.3f, {512, 400, 160}), B(77, 0.3f, {512, 400, 160}), C(78, 0.3f, {512, 400, 160});
    int32_t LastRoll = 0, LastPitch = 0;
    for (int I = 0; I < 1500; ++I) {
        const TBotCommand Cmd = A.Tick(Ground, &Behind, 1);
        B.Tick(Ground, &Behind, 1);
        C.Tick(Ground, &Behind, 1);
        ASSERT_LE(std::abs(Cmd.Controls.iRollAmount - LastRoll), TBotBrain::MaxStickStep);
        ASSERT_LE(std::abs(Cmd.Controls.iPitchAmount - LastPitch), TBotBrain::MaxStickStep);
        ASSERT_LE(std::abs(Cmd.Controls.iRollAmount), TBotBrain::MaxRollStick);
        ASSERT_LE(std::abs(Cmd.Controls.iPitchAmount), TBotBrain::MaxPitchStick);
        LastRoll = Cmd.Controls.iRollAmount;
        LastPitch = Cmd.Controls.iPitchAmount;
    }
    EXPECT_EQ(A.Plane._vecPosition, B.Plane._vecPosition);
    EXPECT_EQ(A.Plane._quatAttitude, B.Plane._quatAttitude);
    // An enemy on its tail: it broke away, to a side its own dice chose.
    EXPECT_NE(A.Plane._vecPosition, C.Plane._vecPosition);
}

TEST(BotBrain, BelowHardItFiresInBurstsAndLeavesAPlayerItMayNotAttackAlone) {
    const TFlatGround Ground(0);
    const float T = 200.0f / 400.0f;
    const TBotContact Ahead = {{512, 600, 200 - 0.5f * 9.8f * T * T}, {0, 0, 0}, {0, 1, 0}, 4};
    // A target held dead ahead for four seconds: the longest run of shots
    // and the longest pause, in ticks.
    struct TRuns {
        int32_t Firing = 0, Holding = 0;
    };
    auto Runs = [&](TDifficulty Level) {
        TFlyingBot Bot(3, 1.0f, {512, 400, 200});
        Bot.Brain.SetDifficulty(Level);
        TRuns Longest, Now;
        for (int I = 0; I < 400; ++I) {
            Bot.Plane._vecPosition = {512, 400, 200};
            Bot.Plane._quatAttitude = FromEuler(0, 0, 0);
            Bot.Plane.FlightStep(0);
            const bool Fire = Bot.Tick(Ground, &Ahead, 1).Fire;
            Now = Fire ? TRuns{Now.Firing + 1, 0} : TRuns{0, Now.Holding + 1};
            Longest = {std::max(Longest.Firing, Now.Firing), std::max(Longest.Holding, Now.Holding)};
        }
        return Longest;
    };
    EXPECT_EQ(Runs(DIFFICULTY_HARD).Firing, 400);
    for (const TDifficulty Level : {DIFFICULTY_EASY, DIFFICULTY_NORMAL}) {
        const TBotSettings& Set = SettingsFor(Level);
        const TRuns R = Runs(Level);
        EXPECT_NEAR(R.Firing, Set.BurstSeconds / TickSeconds, 1.5f) << DifficultyNames[Level];
        EXPECT_NEAR(R.Holding, Set.HoldSeconds / TickSeconds, 1.5f) << DifficultyNames[Level];
    }

    // The same target marked as not to be attacked: never chosen, never fired at.
    TBotContact Spared = Ahead;
    Spared.MayAttack = false;
    TFlyingBot Bot(3, 1.0f, {512, 400, 200});
    for (int I = 0; I < 100; ++I) ASSERT_FALSE(Bot.Tick(Ground, &Spared, 1).Fire);
    EXPECT_EQ(Bot.Brain.TargetPilot, 0);
}

TEST(PlayerAttention, OnePilotAtATimeUnlessProvokedAndNotTheOneThatJustScored) {
    TPlayerAttention A;
    EXPECT_TRUE(A.MayAttack(2, 0) && A.MayAttack(3, 0));
    A.Chose(2, true);
    EXPECT_EQ(A.Attacker(), 2);
    EXPECT_TRUE(A.MayAttack(2, 1));
    EXPECT_FALSE(A.MayAttack(3, 1));
    // The player hits pilot 3: it may fight back for a while.
    A.PlayerHit(3, 1);
    EXPECT_TRUE(A.MayAttack(3, 1 + TPlayerAttention::ProvokedSeconds - 0.1f));
    EXPECT_FALSE(A.MayAttack(3, 1 + TPlayerAttention::ProvokedSeconds + 0.1f));
    // Pilot 2 shoots the player down: someone else's turn, not pilot 2's.
    A.PlayerShotDownBy(2, 20);
    EXPECT_EQ(A.Attacker(), 0);
    EXPECT_FALSE(A.MayAttack(2, 20 + TPlayerAttention::RestSeconds - 0.1f));
    EXPECT_TRUE(A.MayAttack(3, 21));
    A.Chose(3, true);
    A.Left(3);
    EXPECT_EQ(A.Attacker(), 0);
}

namespace {

// An aircraft without a mesh, as the match sees it; its end is not shown.
class tTestAircraft : public tAirplaneActor {
    Z_DECLARE_CLASS(tTestAircraft, tAirplaneActor)
public:
    explicit tTestAircraft(const ShortString& Name) : tAirplaneActor(Name) { MeshSize = 3; }
    void Spawned() override {
        SetPosition(StartPosition);
        tActor::Spawned();
    }

protected:
    void ShowExplosion() override {}
    void ShowCrashSite() override {}
};

Z_IMPLEMENT_CLASS(tTestAircraft, .Operations = {{"Spawned"}, {"ShowExplosion"}, {"ShowCrashSite"}})

// A GUI that only keeps the pointer the game asks for.
class tPointerGUI : public tGUIManager {
    Z_DECLARE_CLASS(tPointerGUI, tGUIManager)
public:
    void Tick(float) override {}
    void RenderFrame() override {}
};

Z_IMPLEMENT_CLASS(tPointerGUI, .Operations = {{"Tick"}, {"RenderFrame"}})
class DeathmatchTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        RegisterTestWorldClasses();
        Linker->AddClass(tTestAircraft::StaticClass(CT_SpawnableConstructor));
        tWinGameEngine& E = StartActiveEngine();
        E.Audio = NewObject<tRecordingAudio>();
        TheMatch = NewObject<tMatch>();
        Linker->InstantiateClassByName("tTickingWorld", "");
        Linker->InstantiateClassByName("tFlatTerrain", "0");
        Linker->LoadAllPackages();
        Console->SendCommand("Set PlaneChassis tTestAircraft", true);
    }
    tAirplaneActor* Player(const char* At = "500 500 300") {
        return static_cast<tAirplaneActor*>(Linker->InstantiateClassByName("tTestAircraft", At));
    }
    void Tick(int Steps = 1) {
        for (int I = 0; I < Steps; ++I) {
            TheMatch->Tick(TickSeconds);
            Engine->World->Tick(TickSeconds);
        }
    }
    int32_t AircraftAlive() {
        int32_t N = 0;
        for (int32_t I = 1; I <= Engine->World->Actors->GetTotalItems(); ++I)
            N += Engine->World->Actors->GetActor(I)->DynamicCast(&tAirplaneActor::ClassInfo);
        return N;
    }
    tMatch* TheMatch = nullptr;
};

}  // namespace

TEST_F(DeathmatchTest, ShotsHitOtherAircraftAlongTheirPathButNeverTheirOwnOrANewcomer) {
    tAirplaneActor* Me = Player("500 500 300");
    const int32_t Bot = TheMatch->AddBot("tTestAircraft", "tWeapon");
    ASSERT_EQ(Bot, 2);
    Tick();
    tAirplaneActor* Enemy = TheMatch->GetPilot(Bot).Aircraft;
    ASSERT_NE(Enemy, nullptr);
    const TVector3 E = Enemy->_vecPosition;
    // A step of a fast shot that passes the aircraft between two ticks.
    const TVector3 From = E - TVector3{0, 3, 2}, To = E + TVector3{0, 3, -2};
    EXPECT_EQ(TheMatch->AircraftOnPath(From, To, tMatch::PlayerPilot), Enemy);
    EXPECT_EQ(TheMatch->AircraftOnPath(From, To, Bot), nullptr);
    EXPECT_EQ(TheMatch->AircraftOnPath(E + TVector3{0, 0, 3}, E + TVector3{0, 6, 3}, tMatch::PlayerPilot), nullptr);
    EXPECT_EQ(TheMatch->AircraftOnPath(Me->_vecPosition, Me->_vecPosition, 0), Me);

    // Safe for two seconds after it spawned, then it takes the gun's damage.
    Enemy->TakeHit(25, tMatch::PlayerPilot, "plasma gun");
    EXPECT_EQ(Enemy->Health, 100);
    Enemy->Age = tMatch::SpawnProtection;
    Enemy->TakeHit(25, tMatch::PlayerPilot, "plasma gun");
    EXPECT_EQ(Enemy->Health, 75);
    EXPECT_GT(Enemy->HitFlash, 0);
}

TEST_F(DeathmatchTest, AnAircraftFarPastTheEdgeOfTheMapIsTurnedBack) {
    tAirplaneActor* Me = Player("1300 500 300");
    Me->TurnTo(-3.14159265f / 2);  // east, away from the island
    Tick();
    EXPECT_LT(Me->_vecHeading.x, -0.9f);
    const float X = Me->_vecPosition.x;
    Tick(100);
    EXPECT_LT(Me->_vecPosition.x, X);
}

TEST_F(DeathmatchTest, KillsCrashesAndCreditedCrashesMakeTheScore) {
    Player();
    const int32_t Baron = TheMatch->AddBot("tTestAircraft", "tWeapon");
    const int32_t Kestrel = TheMatch->AddBot("tTestAircraft", "tWeapon");
    Tick();
    const TPilot& Me = TheMatch->GetPilot(tMatch::PlayerPilot);
    const TPilot& B = TheMatch->GetPilot(Baron);
    const TPilot& K = TheMatch->GetPilot(Kestrel);

    // Shot down to 0: the killer's kill, the victim's death, gone at once.
    tAirplaneActor* Victim = B.Aircraft;
    Victim->Age = tMatch::SpawnProtection;
    for (int I = 0; I < 4; ++I) Victim->TakeHit(25, tMatch::PlayerPilot, "plasma gun");
    Tick();
    EXPECT_EQ(Me.Kills, 1);
    EXPECT_EQ(B.Deaths, 1);
    EXPECT_EQ(B.Aircraft, nullptr);
    EXPECT_EQ(TheMatch->KillFeed(0).Text, "Player shot down Baron with plasma gun");

    // A crash of its own: a point off its score, no one's kill.
    K.Aircraft->_vecPosition.z = 2;
    Tick();
    EXPECT_EQ(K.Crashes, 1);
    EXPECT_EQ(K.Score(), -1);
    EXPECT_EQ(TheMatch->KillFeed(0).Text, "Kestrel crashed");
    // Logged once, however long the wreck lies there.
    Tick(300);
    const std::string Logged = Log();
    int32_t CrashLines = 0;
    for (std::size_t At = Logged.find("crashed at"); At != std::string::npos; At = Logged.find("crashed at", At + 1))
        ++CrashLines;
    EXPECT_EQ(CrashLines, 1);

    // Baron is back after its countdown; hit, then into the sea within 5 s:
    // the player's kill, not Baron's crash.
    Tick(int(tMatch::RespawnSeconds / TickSeconds));
    ASSERT_NE(B.Aircraft, nullptr);
    B.Aircraft->Age = tMatch::SpawnProtection;
    B.Aircraft->TakeHit(12, tMatch::PlayerPilot, "pulse gun");
    Tick(int(4.0f / TickSeconds));
    B.Aircraft->_vecPosition.z = 2;
    Tick();
    EXPECT_EQ(Me.Kills, 2);
    EXPECT_EQ(Me.Score(), 2);
    EXPECT_EQ(B.Crashes, 0);
    EXPECT_EQ(B.Deaths, 2);
    EXPECT_EQ(TheMatch->KillFeed(0).Text, "Player shot down Baron with pulse gun");
    EXPECT_EQ(TheMatch->KillFeed(1).Text, "Baron crashed");
}

TEST_F(DeathmatchTest, TheFragLimitEndsTheMatchAndEveryoneComesBackOnceAfterOneCountdown) {
    TheMatch->FragLimit = 2;
    Player();
    Console->SendCommand("AddBot tTestAircraft tWeapon", true);
    Console->SendCommand("AddBot tTestAircraft tWeapon", true);
    Tick();
    EXPECT_EQ(TheMatch->BotCount, 2);
    EXPECT_EQ(AircraftAlive(), 3);
    for (int Kill = 0; Kill < 2; ++Kill) {
        tAirplaneActor* Victim = TheMatch->GetPilot(2).Aircraft;
        ASSERT_NE(Victim, nullptr);
        Victim->Age = tMatch::SpawnProtection;
        Victim->TakeHit(100, tMatch::PlayerPilot, "rail gun");
        Tick();
        if (Kill == 0) Tick(int(tMatch::RespawnSeconds / TickSeconds) + 1);
    }
    // The winner is heard, everyone leaves and the scores start again.
    EXPECT_EQ(TheMatch->KillFeed(0).Text, "Player wins the match");
    Tick();
    EXPECT_EQ(AircraftAlive(), 0);
    EXPECT_EQ(TheMatch->GetPilot(tMatch::PlayerPilot).Kills, 0);
    EXPECT_EQ(TheMatch->GetPilot(2).Deaths, 0);
    const auto& Played = static_cast<tRecordingAudio*>(Engine->Audio)->Played;
    EXPECT_NE(std::find(Played.begin(), Played.end(), "sounds\\announcer\\win.wav"), Played.end());

    // One countdown brings all three back, one aircraft each, and no more.
    int32_t Most = 0;
    for (int I = 0; I < 1500; ++I) {
        Tick();
        Most = std::max(Most, AircraftAlive());
    }
    EXPECT_EQ(AircraftAlive(), 3);
    EXPECT_EQ(Most, 3);
    for (int32_t P = 1; P <= 3; ++P) EXPECT_NE(TheMatch->GetPilot(P).Aircraft, nullptr);

    // Fewer pilots wanted: they leave with their aircraft.
    Console->SendCommand("Set BotCount 1", true);
    Tick(2);
    EXPECT_EQ(TheMatch->BotsInMatch(), 1);
    EXPECT_EQ(AircraftAlive(), 2);
    Console->SendCommand("RemoveBots", true);
    Tick(2);
    EXPECT_EQ(TheMatch->BotsInMatch(), 0);
    EXPECT_EQ(AircraftAlive(), 1);
    Console->SendCommand("AddBot tTestAircraft tFlatTerrain", true);
    EXPECT_EQ(ConsoleMessages().back(), "AddBot: tFlatTerrain isn't a weapon class");
    EXPECT_EQ(TheMatch->BotsInMatch(), 0);
}

// The gun is the player's setting: a wrong one is shown, never the end.
TEST_F(DeathmatchTest, AnAircraftGivenNoGunClassFliesUnarmedWithAConsoleError) {
    Console->SendCommand("Set PrimaryWeapon tFlatTerrain", true);
    tAirplaneActor* Me = Player();
    EXPECT_EQ(ConsoleMessages().back(),
              "PrimaryWeapon tFlatTerrain: tFlatTerrain isn't a weapon class: the aircraft flies unarmed");
    EXPECT_EQ(Me->PrimaryWeapon, nullptr);
    Console->SendCommand("Set PrimaryWeapon tNoSuchGun", true);
    Me = Player();
    EXPECT_EQ(ConsoleMessages().back(),
              "PrimaryWeapon tNoSuchGun: " + std::string(Linker->InstantiationError("tNoSuchGun").c_str()) +
                  ": the aircraft flies unarmed");
    EXPECT_EQ(Me->PrimaryWeapon, nullptr);
    Tick();
    EXPECT_EQ(AircraftAlive(), 1);  // the second replaced the first
}

// "Play" in a match; the player's pointer: none in flight, else the arrow.
TEST_F(DeathmatchTest, PlayFliesTheGunChosenAndTheAircraftSetsThePointer) {
    Engine->GUI = NewObject<tPointerGUI>();
    const auto Gun = [&] { return ShortString(TheMatch->PlayerAircraft()->PrimaryWeapon->GetClass()->DeclaredName()); };
    Console->SendCommand("Set PrimaryWeapon tPlasmaGun", true);
    EXPECT_TRUE(TheMatch->SpawnPlayer());  // nobody flying, no countdown
    Tick();
    EXPECT_EQ(Engine->GUI->GameCursor, CFORM_NOCURSOR);
    EXPECT_FALSE(TheMatch->SpawnPlayer());  // the same choice: the same flight
    Console->SendCommand("Set PrimaryWeapon tPulseGun", true);  // another gun: another aircraft
    EXPECT_TRUE(TheMatch->SpawnPlayer());
    Tick();
    EXPECT_EQ(Gun(), "tPulseGun");
    EXPECT_EQ(AircraftAlive(), 1);
    // A choice the game cannot fly is refused and the flight goes on.
    Console->SendCommand("Set PlaneChassis tPlasmaGun", true);
    EXPECT_FALSE(TheMatch->SpawnPlayer());
    EXPECT_EQ(ConsoleMessages().back(), "SpawnPlayer: tPlasmaGun isn't an aircraft class");
    Engine->World->Tick(0);  // the game stands still
    EXPECT_EQ(Engine->GUI->GameCursor, CFORM_ARROW);
    // Coming down, and gone: "Play" waits for the countdown's next round.
    Console->SendCommand("Set PlaneChassis tTestAircraft", true);
    TheMatch->PlayerAircraft()->SetPosition({500, 500, 1});
    Tick();
    EXPECT_FALSE(TheMatch->SpawnPlayer());
    Tick(200);
    EXPECT_EQ(TheMatch->PlayerAircraft(), nullptr);
    EXPECT_EQ(Engine->GUI->GameCursor, CFORM_ARROW);
    EXPECT_FALSE(TheMatch->SpawnPlayer());
}

// Everything that binds console variables may go before the variables
// manager: the player's aircraft, the match, the engine with its viewport.
// The lines typed afterwards reach the values they left behind, never freed
// memory (the sanitizer build checks).
TEST_F(DeathmatchTest, VariablesOutliveTheAircraftTheMatchAndTheEngine) {
    Player();
    auto Type = [](const char* Line) { Console->SendCommand(Line, true); };
    Type("Set CameraType Tracked; Set PlayerName Ace");
    Linker->InstantiateClassByName("tTickingWorld", "");  // the aircraft goes with the old world
    Type("Set CameraType Chase; Set Copy %CameraType; VarList Copy");
    tZObject::DisposeObject(TheMatch);
    tZObject::DisposeObject(Engine);  // the viewport and the world go with it
    Type("Set ShowFPS True; Add ScreenWidth 16; +EnginePaused; Toggle InvertMouse; Add BotSkill 0.25");
    Type("Add MouseSensitivity 0.5; Set Copy %PlayerName; VarList Copy; VarList ScreenWidth");
    Type("VarList EnginePaused; VarList InvertMouse; VarList BotSkill; VarList ShowFPS");
    const std::vector<std::string> Messages = ConsoleMessages();
    ASSERT_GE(Messages.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(Messages.end() - 7, Messages.end()),
              (std::vector<std::string>{"COPY=\"Chase\"", "COPY=\"Ace\"", "SCREENWIDTH=656", "ENGINEPAUSED=True",
                                        "INVERTMOUSE=False", "BOTSKILL=0.750", "SHOWFPS=True"}));
}

TEST_F(DeathmatchTest, TheDifficultyReachesEveryComputerPilotsBrainAtOnce) {
    const int32_t Bot = TheMatch->AddBot("tTestAircraft", "tWeapon");
    const TBotBrain& Brain = TheMatch->GetPilot(Bot).Brain;
    EXPECT_EQ(Brain.Difficulty(), DIFFICULTY_NORMAL);
    for (const TDifficulty Level : {DIFFICULTY_EASY, DIFFICULTY_HARD, DIFFICULTY_NORMAL}) {
        Console->SendCommand("Set Difficulty " + ShortString(DifficultyNames[Level]), true);
        Tick();
        EXPECT_EQ(&Brain.Settings(), &SettingsFor(Level)) << DifficultyNames[Level];
    }
    // A level's name in any case; a name that is none flies Normal and is
    // refused as a saved option.
    Console->SendCommand("Set Difficulty hard", true);
    Tick();
    EXPECT_EQ(Brain.Difficulty(), DIFFICULTY_HARD);
    Console->SendCommand("Set Difficulty Insane", true);
    Tick();
    EXPECT_EQ(Brain.Difficulty(), DIFFICULTY_NORMAL);
    EXPECT_TRUE(IsValidOptionValue("Difficulty", "easy"));
    EXPECT_FALSE(IsValidOptionValue("Difficulty", "Insane"));
}

// Three computer pilots around a player who flies straight and never fires.
TEST_F(DeathmatchTest, AtNormalTwoPilotsNeverGoAfterThePlayerTogether) {
    auto MostAtOnce = [&](const char* Level) {
        Console->SendCommand("Set Difficulty " + ShortString(Level), true);
        Linker->InstantiateClassByName("tTickingWorld", "");
        Linker->InstantiateClassByName("tFlatTerrain", "0");
        TheMatch->Restart();
        Player("512 200 250");
        for (int I = 0; I < 3; ++I) TheMatch->AddBot("tTestAircraft", "tWeapon");
        int32_t Most = 0;
        for (int T = 0; T < 3000; ++T) {
            Tick();
            int32_t Attacking = 0;
            for (int32_t P = 2; P <= 4; ++P) Attacking += TheMatch->GetPilot(P).Brain.TargetPilot == tMatch::PlayerPilot;
            Most = std::max(Most, Attacking);
        }
        return Most;
    };
    EXPECT_EQ(MostAtOnce("Normal"), 1);
    EXPECT_GE(MostAtOnce("Hard"), 2);  // the rule is what keeps them apart
}

TEST_F(DeathmatchTest, AnEnemyOnTheTailIsWarnedWithAToneAndAHitShowsItsSide) {
    tAirplaneActor* Me = Player("500 500 300");
    const int32_t Bot = TheMatch->AddBot("tTestAircraft", "tWeapon");
    Tick();
    tAirplaneActor* Enemy = TheMatch->GetPilot(Bot).Aircraft;
    ASSERT_NE(Enemy, nullptr);
    auto* Audio = static_cast<tRecordingAudio*>(Engine->Audio);
    const auto Tones = [&] { return std::count(Audio->Played.begin(), Audio->Played.end(), tDangerWatch::ToneFile); };
    // Behind the player, nose on it, within gun range: warned once, with one tone.
    Me->TurnTo(0);
    Enemy->SetPosition(Me->_vecPosition - Me->_vecHeading * 200);
    Enemy->TurnTo(0);
    Tick();
    EXPECT_EQ(TheMatch->Danger().Tailer, Bot);
    Tick(10);
    EXPECT_EQ(Tones(), 1);
    // Ahead of the player instead: no warning.
    Enemy->SetPosition(Me->_vecPosition + Me->_vecHeading * 200);
    Tick();
    EXPECT_EQ(TheMatch->Danger().Tailer, 0);

    // A hit marks where it came from for a moment.
    Me->Age = tMatch::SpawnProtection;
    Me->TakeHit(10, Bot, "pulse gun");
    EXPECT_EQ(TheMatch->Danger().HitFrom, Enemy->_vecPosition);
    EXPECT_GT(TheMatch->Danger().HitMarkLeft, 0);
    Tick(int(tDangerWatch::HitMarkSeconds / TickSeconds) + 1);
    EXPECT_EQ(TheMatch->Danger().HitMarkLeft, 0);
}
