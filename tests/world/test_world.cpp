// The world's contract: spawnables enter it by themselves, actors and effects
// keep their order, camera and atmosphere are replaced and disposed.

#include <gtest/gtest.h>

#include "common/enginehost.h"
#include "kernel/core/globals.h"
#include "kernel/null/nullworld.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"

namespace {

class tTestActor : public tActor {
    Z_DECLARE_CLASS(tTestActor, tActor)
public:
    using tActor::tActor;
    void Render() override {}
    void SetPosition(const TVector3&) override {}
};

class tTestEffect : public tEffect {
    Z_DECLARE_CLASS(tTestEffect, tEffect)
public:
    using tEffect::tEffect;
    void Render() override {}
};

class WorldTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        Linker->AddClass(tTestActor::StaticClass(CT_SpawnableConstructor));
        Linker->AddClass(tTestEffect::StaticClass(CT_SpawnableConstructor));
        World = StartEngine().GetWorld();
    }
    tZObject* Spawn(const char* ClassName, const char* Name) { return Linker->InstantiateClassByName(ClassName, Name); }
    tWorld* World = nullptr;
};

}  // namespace

Z_IMPLEMENT_CLASS(tTestActor, .Operations = {{"Render"}, {"SetPosition"}})
Z_IMPLEMENT_CLASS(tTestEffect, .Operations = {{"Render"}})

TEST_F(WorldTest, SpawnablesEnterTheWorldInOrderAndResetDisposesThem) {
    tZObject* A = Spawn("tTestActor", "first");
    tZObject* E = Spawn("tTestEffect", "");
    tZObject* B = Spawn("tTestActor", "second");
    ASSERT_EQ(World->Actors->GetTotalItems(), 2);
    EXPECT_EQ(World->Actors->GetActor(1), A);
    EXPECT_EQ(World->Actors->GetActor(2), B);
    ASSERT_EQ(World->Effects->GetTotalItems(), 1);
    EXPECT_EQ(World->Effects->GetEffect(1), E);

    auto* Actor = static_cast<tActor*>(A);
    EXPECT_EQ(Actor->FeedbackSignal(), FEEDBACK_NONE);
    Actor->Kill();  // only answers differently; the world removes it in its tick
    EXPECT_EQ(Actor->FeedbackSignal(), FEEDBACK_KILL);
    EXPECT_EQ(World->Actors->GetTotalItems(), 2);

    World->ResetWorld();
    EXPECT_EQ(World->Actors->GetTotalItems(), 0);
    EXPECT_EQ(World->Effects->GetTotalItems(), 0);
    World->ResetWorld();  // an empty world stays empty
}

TEST_F(WorldTest, ANewCameraOrAtmosphereReplacesAndDisposesTheOldOne) {
    tCamera* First = World->GetCamera();
    const int64_t FirstID = First->FGUID;
    World->SetCamera(First);  // the same camera stays alive
    EXPECT_EQ(World->GetCamera(), First);
    EXPECT_TRUE(First->Registered);

    tZObject* Second = Spawn("tNullCamera", "");
    EXPECT_EQ(World->GetCamera(), Second);
    EXPECT_EQ(Linker->FindObject(FirstID), nullptr);

    tAtmosphere* Sky = World->GetAtmosphere();
    const int64_t SkyID = Sky->FGUID;
    tZObject* NewSky = Spawn("tNullAtmosphere", "");
    EXPECT_EQ(World->GetAtmosphere(), NewSky);
    EXPECT_EQ(Linker->FindObject(SkyID), nullptr);
    EXPECT_TRUE(World->GetAtmosphere()->GetSunPosition() == TVector3{});
}

TEST_F(WorldTest, ASpawnableBuiltOutsideTheRegistryIsRefusedAtDestruction) {
    EXPECT_EXIT(
        {
            tZObject* Direct = NewObject<tTestActor>();
            tZObject::DisposeObject(Direct);
        },
        ::testing::ExitedWithCode(255), "TTESTACTOR: Use Instantiate\\(\\) instead of direct class instanciation");
}
