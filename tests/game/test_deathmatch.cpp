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
#include "game/botbrain.h"
#include "game/match.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "libraries/classes/console.h"
#include "libraries/classes/guimanager.h"

namespace {

constexpr float Step = 0.01f;

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
        const TBotCommand C = Brain.Think(S, Step);
        Plane._ControlState = C.Controls;
        Plane.FlightStep(Step);
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
        tParticleProjectile::BallisticStep(P, V, Step);
        Q += Velocity * Step;
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
            TheMatch->Tick(Step);
            Engine->World->Tick(Step);
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
    Tick(int(tMatch::RespawnSeconds / Step));
    ASSERT_NE(B.Aircraft, nullptr);
    B.Aircraft->Age = tMatch::SpawnProtection;
    B.Aircraft->TakeHit(12, tMatch::PlayerPilot, "pulse gun");
    Tick(int(4.0f / Step));
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
        if (Kill == 0) Tick(int(tMatch::RespawnSeconds / Step) + 1);
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
