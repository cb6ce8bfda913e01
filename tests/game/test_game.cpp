// The game's rules without a window: the flight model's numbers, shots under
// gravity, a gun's recharge and the names of its shots, and the
// countdown after a lost aircraft with its voices and its single respawn.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/enginehost.h"
#include "common/recordingaudio.h"
#include "common/testworld.h"
#include "game/announcers.h"
#include "game/flightmodel.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/renderer/shadersetup/oglshader.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcesmanager.h"
#include "libraries/effects/aftermath.h"
#include "libraries/effects/explosion.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"

namespace {

constexpr float Step = 0.01f;  // the engine's fixed update step

void Fly(TFlightModel& Plane, int Steps, float DeltaSeconds = Step) {
    for (int I = 0; I < Steps; ++I) Plane.FlightStep(DeltaSeconds);
}

}  // namespace

TEST(FlightModel, ThrottleReachesTopSpeedInFourSecondsAndHoldsItWithoutDrag) {
    TFlightModel Plane;
    EXPECT_FLOAT_EQ(Plane._rSpeed, 20.0f);
    Plane._ControlState.bThrottlingUp = true;
    Fly(Plane, 200);
    EXPECT_NEAR(Plane._rSpeed, 40.0f, 0.01f);
    Fly(Plane, 200);
    EXPECT_NEAR(Plane._rSpeed, 60.0f, 0.01f);
    Fly(Plane, 100);
    EXPECT_FLOAT_EQ(Plane._rSpeed, 60.0f);
    Plane._ControlState.bThrottlingUp = false;
    Fly(Plane, 300);
    EXPECT_FLOAT_EQ(Plane._rSpeed, 60.0f);
    Plane._ControlState.bThrottlingDown = true;
    Fly(Plane, 1000);
    EXPECT_FLOAT_EQ(Plane._rSpeed, 0.0f);
}

TEST(FlightModel, LevelFlightGoesStraightAlongTheNose) {
    TFlightModel Plane;
    Plane._vecPosition = {64, 64, 200};
    Fly(Plane, 100);
    EXPECT_NEAR(Plane._vecPosition.x, 64.0f, 1e-3f);
    EXPECT_NEAR(Plane._vecPosition.y, 84.0f, 1e-2f);
    EXPECT_NEAR(Plane._vecPosition.z, 200.0f, 1e-3f);
}

TEST(FlightModel, MouseAmountsSetTheRatesAndFlagsAloneKeepThem) {
    TFlightModel Plane;
    TAirplaneControlState& C = Plane._ControlState;
    C.bRollingLeft = true;
    C.iRollAmount = -8;
    C.bPitchingUp = true;
    C.iPitchAmount = 4;
    Plane.FlightStep(Step);
    EXPECT_FLOAT_EQ(Plane._rRollRate, -2.0f);
    EXPECT_FLOAT_EQ(Plane._rPitchRate, -1.0f);

    // A key held with the mouse centred keeps turning at the last rate.
    C.iRollAmount = 0;
    C.iPitchAmount = 0;
    Plane.FlightStep(Step);
    EXPECT_FLOAT_EQ(Plane._rRollRate, -2.0f);
    EXPECT_FLOAT_EQ(Plane._rPitchRate, -1.0f);

    C = {};
    C.bYawingRight = true;
    Plane.FlightStep(Step);
    EXPECT_FLOAT_EQ(Plane._rRollRate, 0.0f);
    EXPECT_FLOAT_EQ(Plane._rPitchRate, 0.0f);
    EXPECT_FLOAT_EQ(Plane._rYawRate, -1.0f);
}

TEST(FlightModel, PullingUpClimbsAndAPausedStepChangesNothing) {
    TFlightModel Plane;
    Plane._ControlState.bPitchingUp = true;
    Plane._ControlState.iPitchAmount = 4;
    Fly(Plane, 50);
    EXPECT_GT(Plane._vecHeading.z, 0.3f);
    const TVector3 Climbing = Plane._vecPosition;
    EXPECT_GT(Climbing.z, 0.5f);

    const TVector4 Attitude = Plane._quatAttitude;
    Fly(Plane, 10, 0.0f);
    EXPECT_EQ(Plane._quatAttitude, Attitude);
    EXPECT_EQ(Plane._vecPosition, Climbing);
}

TEST(Projectiles, AShellFiredLevelFallsUnderGravity) {
    TVector3 Position = {0, 0, 100}, Velocity = {0, 400, 0};
    for (int I = 0; I < 300; ++I) tParticleProjectile::BallisticStep(Position, Velocity, Step);
    // Three seconds: 0.5 x 9.8 x 9 down, 1200 along.
    EXPECT_NEAR(Position.z, 100 - 44.1f, 0.01f);
    EXPECT_NEAR(Position.y, 1200.0f, 0.01f);
    EXPECT_NEAR(Velocity.z, -29.4f, 0.01f);
}

namespace {

// A shot that only keeps the object names it was made with.
class tRecordedShot : public tEffect {
    Z_DECLARE_CLASS(tRecordedShot, tEffect)
public:
    explicit tRecordedShot(const ShortString& Name) : tEffect(Name) { Names.push_back(Name.str()); }
    void Render() override {}
    static inline std::vector<std::string> Names;
};

// A gun of the table's kind that fires recorded shots.
class tTestGun : public tWeapon {
    Z_DECLARE_CLASS(tTestGun, tWeapon)
public:
    static constexpr TGunSpec Spec = {"sounds\\weapons\\test.wav", 0.2f, "tRecordedShot"};
    explicit tTestGun(const ShortString& Name) : tWeapon(Name) { LoadGun(Spec); }
};

Z_IMPLEMENT_CLASS(tRecordedShot, .Operations = {{"Render"}})
Z_IMPLEMENT_CLASS(tTestGun)

class MatchWorldTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        RegisterTestWorldClasses();
        tWinGameEngine& E = StartActiveEngine();
        Audio = NewObject<tRecordingAudio>();
        E.Audio = Audio;
        Linker->InstantiateClassByName("tTickingWorld", "");
        // Registers "SpawnClass", which the respawn runs.
        Linker->LoadAllPackages();
    }
    // The respawned "aircraft": a flat terrain is a cheap actor to count.
    void SetChassis() { Console->SendCommand("Set PlaneChassis tFlatTerrain", true); }
    void Tick(float DeltaSeconds = Step) { Engine->World->Tick(DeltaSeconds); }
    int32_t Count(const char* ClassName) {
        int32_t N = 0;
        for (int32_t I = 1; I <= Engine->World->Actors->GetTotalItems(); ++I)
            N += Engine->World->Actors->GetActor(I)->DynamicCast(ClassName);
        for (int32_t I = 1; I <= Engine->World->Effects->GetTotalItems(); ++I)
            N += Engine->World->Effects->GetEffect(I)->DynamicCast(ClassName);
        return N;
    }

    tRecordingAudio* Audio = nullptr;
};

std::string Voice(const char* Sample) { return std::string("sounds\\announcer\\") + Sample; }

}  // namespace

TEST_F(MatchWorldTest, CountsDownFromNewRoundInToOneThenRespawnsOnce) {
    SetChassis();
    Linker->InstantiateClassByName("tLostTheMatchAnnouncer", "");
    std::vector<int> AnnouncedAtTick;
    int Ticks = 0;
    while (Count("tLostTheMatchAnnouncer") > 0 && Ticks < 2000) {
        const std::size_t Before = Audio->Played.size();
        Tick();
        ++Ticks;
        if (Audio->Played.size() > Before) AnnouncedAtTick.push_back(Ticks);
    }
    EXPECT_EQ(Audio->Played, (std::vector<std::string>{Voice("new round in.wav"), Voice("seven.wav"),
                                                       Voice("six.wav"), Voice("five.wav"), Voice("four.wav"),
                                                       Voice("three.wav"), Voice("two.wav"), Voice("one.wav")}));
    // A number a second from 9.5 seconds left, the new round at 2 seconds left.
    ASSERT_EQ(AnnouncedAtTick.size(), 8u);
    EXPECT_NEAR(AnnouncedAtTick.front(), 251, 1);
    EXPECT_NEAR(AnnouncedAtTick.back(), 951, 1);
    EXPECT_NEAR(Ticks, 1001, 1);
    EXPECT_EQ(Count("tFlatTerrain"), 1) << ConsoleMessages().back();
    for (int I = 0; I < 300; ++I) Tick();
    EXPECT_EQ(Count("tFlatTerrain"), 1);
}

TEST_F(MatchWorldTest, ALongStepAnnouncesOnlyTheNumberReached) {
    auto* Countdown =
        static_cast<tLostTheMatchAnnouncer*>(Linker->InstantiateClassByName("tLostTheMatchAnnouncer", ""));
    Countdown->Update(7.8f);
    EXPECT_EQ(Countdown->Countdown, 4);
    EXPECT_EQ(Audio->Played, std::vector<std::string>{Voice("three.wav")});
}

TEST_F(MatchWorldTest, AnUnsetChassisIsReportedAndTheCountdownEnds) {
    Linker->InstantiateClassByName("tLostTheMatchAnnouncer", "");
    for (int I = 0; I < 1100; ++I) Tick();
    EXPECT_EQ(Count("tLostTheMatchAnnouncer"), 0);
    EXPECT_EQ(Count("tFlatTerrain"), 0);
    EXPECT_EQ(ConsoleMessages().back(), "PlaneChassis is not set: no aircraft for the next round");
}

TEST_F(MatchWorldTest, AnAnnouncerLeavesInTheTickItsSampleEnds) {
    auto* Voice = static_cast<tAnnouncer*>(Linker->InstantiateClassByName("tAnnouncer", tAnnouncer::LostSample));
    Tick();
    EXPECT_EQ(Count("tAnnouncer"), 1);
    EXPECT_FALSE(static_cast<tRecordingSource*>(Voice->AnnounceSound)->Placed) << "a voice speaks at the listener";
    Voice->AnnounceSound->Stop();
    Tick();
    EXPECT_EQ(Count("tAnnouncer"), 0);
}

TEST_F(MatchWorldTest, AGunFiresOncePerRechargeWithTheShotInTheObjectName) {
    Linker->AddClass(tRecordedShot::StaticClass(CT_SpawnableConstructor));
    Linker->AddClass(tTestGun::StaticClass(CT_SpawnableConstructor));
    tRecordedShot::Names.clear();
    auto* Gun = static_cast<tWeapon*>(Linker->InstantiateClassByName("tTestGun", ""));
    const TVector3 Position = {1, 2.5f, 3}, North = {0, 1, 0};
    Gun->Update(0.25f);
    Gun->Fire(nullptr, Position, North);
    Gun->Fire(nullptr, Position, North);  // still recharging: nothing
    EXPECT_EQ(tRecordedShot::Names, std::vector<std::string>{"1.00 2.50 2.90 0.00 400.00 0.00"});
    Gun->Update(0.1f);
    Gun->Fire(nullptr, Position, North);
    EXPECT_EQ(tRecordedShot::Names.size(), 1u);
    Gun->Update(0.15f);
    Gun->Fire(nullptr, Position, North);
    EXPECT_EQ(tRecordedShot::Names.size(), 2u);
    EXPECT_EQ(Audio->Played, std::vector<std::string>{"sounds\\weapons\\test.wav"});
    tZObject::DisposeObject(Gun);
}

namespace {

// The match's world with vertex arrays in memory and the effects' shader.
class EffectsWorldTest : public MatchWorldTest {
protected:
    void SetUp() override {
        MatchWorldTest::SetUp();
        Manager = NewObject<tStdVertexArrayManager>();
        auto* Loaded = NewObject<tZResourcesManager>();
        Resources = Loaded;
        tShaderResource* Shader = NewObject<tOGLShaderResource>();
        Shader->SetBindedFileName("SHADERS\\EFFECTS\\BURST.SHADER");
        Loaded->Resources.AddItem(Shader->AllocateListItem());
    }
    void TearDown() override {
        Engine->GetWorld()->ResetWorld();
        tZObject::DisposeObject(Resources);
        tZObject::DisposeObject(Manager);
        MatchWorldTest::TearDown();
    }
    template <class T>
    std::vector<T*> All() {
        std::vector<T*> Found;
        for (int32_t I = 1; I <= Engine->World->Effects->GetTotalItems(); ++I)
            if (auto* E = dynamic_cast<T*>(Engine->World->Effects->GetEffect(I))) Found.push_back(E);
        return Found;
    }
    int Played(const std::string& File) { return int(std::count(Audio->Played.begin(), Audio->Played.end(), File)); }
    // Ends every recorded sound, as if it had played out.
    void Silence() {
        for (tParticleBurst* Burst : All<tParticleBurst>())
            if (Burst->Sound) Burst->Sound->Stop();
    }
    void Run(float Seconds) {
        for (float T = 0; T < Seconds; T += Step) Tick();
    }

    tStdVertexArrayManager* Manager = nullptr;
};

}  // namespace

TEST_F(EffectsWorldTest, ExplosionsArePooledBoomBySizeAndLeaveWhenSpent) {
    for (int I = 0; I <= tExplosion::MaxLive; ++I)
        Linker->InstantiateClassByName("tExplosion", (std::to_string(I) + " 0 10 5").c_str());
    Tick();
    // The first one made gave way to the last.
    ASSERT_EQ(Count("tExplosion"), tExplosion::MaxLive);
    EXPECT_EQ(tExplosion::LiveCount(), tExplosion::MaxLive);
    EXPECT_FLOAT_EQ(All<tExplosion>().front()->Origin.x, 1.0f);
    // With the pool full a shot's explosion starts the oldest over.
    tExplosion::Detonate({500, 0, 10}, 1);
    EXPECT_EQ(Count("tExplosion"), tExplosion::MaxLive);
    EXPECT_FLOAT_EQ(All<tExplosion>().front()->Origin.x, 500.0f);
    // The boom is heard where the explosion is, also when restarted.
    auto* Boom = static_cast<tRecordingSource*>(All<tExplosion>().front()->Sound);
    EXPECT_TRUE(Boom->Placed && Boom->Where.x == 500.0f && Boom->Where.z == 10.0f);
    EXPECT_EQ(Played("sounds\\explosions\\boom_large.wav"), tExplosion::MaxLive + 1);
    EXPECT_EQ(Played("sounds\\explosions\\boom_small.wav"), 1);
    // A size that is no number is a shot's.
    Linker->InstantiateClassByName("tExplosion", "1 2 3 lots");
    EXPECT_FLOAT_EQ(All<tExplosion>().back()->Size, 1.0f);

    // Spent puffs go first (a large explosion's smoke within 6.3 s); the
    // explosion waits for its boom.
    Run(6.5f);
    EXPECT_EQ(Count("tExplosion"), tExplosion::MaxLive);
    for (tExplosion* E : All<tExplosion>()) EXPECT_EQ(E->LiveParticles(), 0);
    Silence();
    Tick();
    EXPECT_EQ(Count("tExplosion"), 0);
    EXPECT_EQ(tExplosion::LiveCount(), 0);
}

TEST_F(EffectsWorldTest, AWreckBurnsItsTimeAndASplashSoundsOnlyWhenLarge) {
    Linker->InstantiateClassByName("tBurningWreck", "10 10 20 2");
    Linker->InstantiateClassByName("tSplash", "30 30 7 1");
    Linker->InstantiateClassByName("tSplash", "30 30 7 4");
    EXPECT_EQ(Played("sounds\\splash_sml.wav"), 1);
    Run(1.9f);
    auto* Wreck = All<tBurningWreck>().front();
    EXPECT_GT(Wreck->LiveParticles(), tBurningWreck::Flames);
    Silence();
    Run(0.2f);
    EXPECT_EQ(Count("tBurningWreck"), 1);  // the last smoke still rises
    // Its first puffs start up to one life (4 s at most) late.
    Run(6.5f);
    EXPECT_EQ(Count("tBurningWreck"), 0);
    EXPECT_EQ(Count("tSplash"), 0);
}
