// The world's contract: spawnables enter it by themselves, actors and effects
// keep their order, each tick updates and asks every object in turn and then
// removes the killed ones, camera and atmosphere are replaced and disposed,
// and the terrain reference never outlives the terrain.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/enginehost.h"
#include "common/testworld.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/null/nullworld.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"

namespace {

// What the scripted objects did, in order: "a.Update", "a.Feedback", "a.Done".
std::vector<std::string> Events;

// The object name is "<name> [<action>]"; the action runs in Update:
// "kill" asks for removal, "spawn" creates the actor "child", "reset" empties
// the world.
struct tScript {
    explicit tScript(const ShortString& Params) : Name(GetToken(Params, 1)), Action(GetToken(Params, 2)) {}
    void Update(tSpawnable* Self) {
        Events.push_back(Name.str() + ".Update");
        if (Action == "kill") Self->Kill();
        if (Action == "spawn") Linker->InstantiateClassByName("tScriptedActor", "child");
        if (Action == "reset") Engine->World->ResetWorld();
    }
    TFeedbackSignal Feedback(TFeedbackSignal Answer) {
        Events.push_back(Name.str() + ".Feedback");
        return Answer;
    }
    ShortString Name, Action;
};

class tScriptedActor : public tActor {
    Z_DECLARE_CLASS(tScriptedActor, tActor)
public:
    explicit tScriptedActor(const ShortString& Params) : tActor(Params), Script(Params) {}
    ~tScriptedActor() override { Events.push_back(Script.Name.str() + ".Done"); }
    void Render() override {}
    void SetPosition(const TVector3&) override {}
    void Update(float) override { Script.Update(this); }
    TFeedbackSignal FeedbackSignal() override { return Script.Feedback(tActor::FeedbackSignal()); }
    tScript Script;
};

class tScriptedEffect : public tEffect {
    Z_DECLARE_CLASS(tScriptedEffect, tEffect)
public:
    explicit tScriptedEffect(const ShortString& Params) : tEffect(Params), Script(Params) {}
    ~tScriptedEffect() override { Events.push_back(Script.Name.str() + ".Done"); }
    void Render() override {}
    void Update(float) override { Script.Update(this); }
    TFeedbackSignal FeedbackSignal() override { return Script.Feedback(tEffect::FeedbackSignal()); }
    tScript Script;
};

class WorldTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        Events.clear();
        Linker->AddClass(tScriptedActor::StaticClass(CT_SpawnableConstructor));
        Linker->AddClass(tScriptedEffect::StaticClass(CT_SpawnableConstructor));
        RegisterTestWorldClasses();
        StartEngine();
    }
    tZObject* Spawn(const char* ClassName, const char* Name) { return Linker->InstantiateClassByName(ClassName, Name); }
    tWorld* TickingWorld() { return static_cast<tWorld*>(Spawn("tTickingWorld", "")); }
    tWorld* World() { return Engine->GetWorld(); }
    bool Alive(int64_t ID) { return Linker->FindObject(ID) != nullptr; }
};

using WorldDeathTest = WorldTest;

}  // namespace

Z_IMPLEMENT_CLASS(tScriptedActor, .Operations = {{"Render"}, {"SetPosition"}})
Z_IMPLEMENT_CLASS(tScriptedEffect, .Operations = {{"Render"}})

TEST_F(WorldTest, SpawnablesEnterTheWorldInOrderAndResetDisposesThem) {
    tZObject* A = Spawn("tScriptedActor", "first");
    tZObject* E = Spawn("tScriptedEffect", "effect");
    tZObject* B = Spawn("tScriptedActor", "second");
    ASSERT_EQ(World()->Actors->GetTotalItems(), 2);
    EXPECT_EQ(World()->Actors->GetActor(1), A);
    EXPECT_EQ(World()->Actors->GetActor(2), B);
    ASSERT_EQ(World()->Effects->GetTotalItems(), 1);
    EXPECT_EQ(World()->Effects->GetEffect(1), E);

    auto* Actor = static_cast<tActor*>(A);
    EXPECT_EQ(Actor->FeedbackSignal(), FEEDBACK_NONE);
    Actor->Kill();  // only answers differently; the world removes it in its tick
    EXPECT_EQ(Actor->FeedbackSignal(), FEEDBACK_KILL);
    EXPECT_EQ(World()->Actors->GetTotalItems(), 2);

    Events.clear();
    World()->ResetWorld();
    EXPECT_EQ(Events, (std::vector<std::string>{"first.Done", "second.Done", "effect.Done"}));
    EXPECT_EQ(World()->Actors->GetTotalItems(), 0);
    EXPECT_EQ(World()->Effects->GetTotalItems(), 0);
    World()->ResetWorld();  // an empty world stays empty
}

// Every object is updated and then asked, actors before effects; the killed
// ones go after both passes, in the same tick.
TEST_F(WorldTest, ATickUpdatesAndAsksEachObjectThenRemovesTheKilled) {
    tWorld* W = TickingWorld();
    Spawn("tScriptedEffect", "fx kill");
    Spawn("tScriptedActor", "a");
    const int64_t Doomed = Spawn("tScriptedActor", "b kill")->FGUID;
    Spawn("tScriptedActor", "c");

    W->Tick(0.01f);
    EXPECT_EQ(Events, (std::vector<std::string>{"a.Update", "a.Feedback", "b.Update", "b.Feedback", "c.Update",
                                                "c.Feedback", "fx.Update", "fx.Feedback", "b.Done", "fx.Done"}));
    EXPECT_FALSE(Alive(Doomed));
    ASSERT_EQ(W->Actors->GetTotalItems(), 2);
    EXPECT_EQ(static_cast<tScriptedActor*>(W->Actors->GetActor(2))->Script.Name, "c");
    EXPECT_TRUE(W->Effects->IsEmpty());
}

TEST_F(WorldTest, ObjectsSpawnedDuringATickWaitForTheNext) {
    tWorld* W = TickingWorld();
    Spawn("tScriptedActor", "parent spawn");
    W->Tick(0.01f);
    EXPECT_EQ(Events, (std::vector<std::string>{"parent.Update", "parent.Feedback"}));
    EXPECT_EQ(W->Actors->GetTotalItems(), 2);

    Events.clear();
    W->Tick(0.01f);
    EXPECT_EQ(Events[2], "child.Update");
}

// An update that empties the world ends the pass: nothing later in it, and no
// object it disposed, is touched.
TEST_F(WorldTest, AnUpdateThatResetsTheWorldEndsThePass) {
    tWorld* W = TickingWorld();
    Spawn("tScriptedActor", "a kill");
    Spawn("tScriptedActor", "b reset");
    Spawn("tScriptedActor", "c");
    Spawn("tScriptedEffect", "fx");
    W->Tick(0.01f);
    EXPECT_EQ(Events, (std::vector<std::string>{"a.Update", "a.Feedback", "b.Update", "a.Done", "b.Done", "c.Done",
                                                "fx.Done"}));
    EXPECT_TRUE(W->Actors->IsEmpty());
    Spawn("tScriptedActor", "d");
    W->Tick(0.01f);
    EXPECT_EQ(Events.back(), "d.Feedback");
}

// The last terrain spawned answers; when it leaves the world the one before
// takes over, and after a reset there is none.
TEST_F(WorldTest, TheTerrainReferenceFollowsTheTerrainsInTheWorld) {
    tWorld* W = TickingWorld();
    EXPECT_FALSE(W->HasTerrain());
    tZObject* First = Spawn("tFlatTerrain", "10");
    auto* Second = static_cast<tFlatTerrain*>(Spawn("tFlatTerrain", "20"));
    EXPECT_EQ(W->GetTerrainForPoint({}), Second);
    EXPECT_EQ(W->Actors->GetTotalItems(), 2);

    Second->Kill();
    W->Tick(0.01f);
    EXPECT_EQ(W->GetTerrainForPoint({}), First);

    W->ResetWorld();
    EXPECT_FALSE(W->HasTerrain());
}

TEST_F(WorldDeathTest, AskingForTheTerrainOfAWorldWithoutOneIsFatal) {
    EXPECT_EXIT(World()->GetTerrainForPoint({1, 2, 3}), ::testing::ExitedWithCode(255),
                "GetTerrainForPoint\\(\\): Level doesn't contain any Terrain objects");
}

TEST_F(WorldTest, ANewCameraOrAtmosphereReplacesAndDisposesTheOldOne) {
    tCamera* First = World()->GetCamera();
    const int64_t FirstID = First->FGUID;
    World()->SetCamera(First);  // the same camera stays alive
    EXPECT_EQ(World()->GetCamera(), First);
    EXPECT_TRUE(First->Registered);

    tZObject* Second = Spawn("tNullCamera", "");
    EXPECT_EQ(World()->GetCamera(), Second);
    EXPECT_FALSE(Alive(FirstID));

    tAtmosphere* Sky = World()->GetAtmosphere();
    const int64_t SkyID = Sky->FGUID;
    tZObject* NewSky = Spawn("tNullAtmosphere", "");
    EXPECT_EQ(World()->GetAtmosphere(), NewSky);
    EXPECT_FALSE(Alive(SkyID));
    EXPECT_TRUE(World()->GetAtmosphere()->GetSunPosition() == TVector3{});
}

TEST_F(WorldDeathTest, ASpawnableBuiltOutsideTheRegistryIsRefusedAtDestruction) {
    EXPECT_EXIT(
        {
            tZObject* Direct = NewObject<tScriptedActor>(ShortString("direct"));
            tZObject::DisposeObject(Direct);
        },
        ::testing::ExitedWithCode(255), "TSCRIPTEDACTOR: Use Instantiate\\(\\) instead of direct class instanciation");
}
