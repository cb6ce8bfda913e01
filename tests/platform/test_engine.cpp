// The engine object: construction from the start-up files, subsystem
// registration and order, fixed-step ticking, the frame-rate lines and the world.

#include <gtest/gtest.h>

#include "common/enginehost.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/null/nullworld.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/console.h"

namespace {

bool Contains(const std::string& Text, const std::string& Part) { return Text.find(Part) != std::string::npos; }

// A subsystem that counts its ticks and the steps it was given.
class tCountingSubSystem : public tSubSystem {
    Z_DECLARE_CLASS(tCountingSubSystem, tSubSystem)
public:
    explicit tCountingSubSystem(tPriorityClass Priority = PCLASS_DONTCARE) : tSubSystem(SUBSYS_DONTAUTOREGISTER) {
        PriorityClass = Priority;
    }
    void Tick(float Step) override { Steps.push_back(Step); }
    void RenderFrame() override { ++Frames; }
    std::vector<float> Steps;
    int Frames = 0;
};

}  // namespace

Z_IMPLEMENT_CLASS(tCountingSubSystem)

TEST_F(EngineHostTest, ConstructionCountsTheRunAndRunsTheEngineScript) {
    tWinGameEngine& E = StartEngine();
    EXPECT_EQ(EngineINI->GetValue("Engine", "RunsCount"), "42");
    EXPECT_EQ(EngineINI->GetValue("Engine", "FirstRun"), "0.4.58.9996");
    EXPECT_EQ(E.EngineConfig.ScreenWidth, 640);  // set by engine.cfg through the bound variable
    EXPECT_EQ(E.EngineConfig.ScreenHeight, 480);
    EXPECT_FALSE(E.EngineActive);
    ASSERT_NE(E.Timer, nullptr);
    const std::string L = Log();
    for (const char* Line : {"\"Halvardine 3D Engine\"", "\"Version: 0.4.58.9996\"",
                             "\"Compiled on: 2006/05/08 14:00:44\"", "\"Running on: Linux"})
        EXPECT_TRUE(Contains(L, Line)) << Line;

    Console->SendCommand("Set ShowFPS True; Set EnginePaused True", true);
    EXPECT_TRUE(E.EngineConfig.ShowFPS);
    EXPECT_TRUE(E.EnginePaused);
}

TEST_F(EngineHostTest, FirstRunIsWrittenOnlyOnce) {
    EngineINI->SetValue("Engine", "FirstRun", "0.4.50.1");
    StartEngine();
    EXPECT_EQ(EngineINI->GetValue("Engine", "FirstRun"), "0.4.50.1");
}

TEST_F(EngineHostTest, ARunCounterThatIsNoIntegerIsFatal) {
    for (const char* Bad : {"", "4.5", "many"}) {
        EngineINI->SetValue("Engine", "RunsCount", Bad);
        EXPECT_EXIT(StartEngine(), ::testing::ExitedWithCode(255), "Wrong value in \\[Engine\\].RunsCount key") << Bad;
    }
}

TEST_F(EngineHostTest, SubsystemsTickInPriorityOrderAndKeepRegistrationOrder) {
    tWinGameEngine& E = StartEngine();
    auto* Last = NewObject<tCountingSubSystem>(PCLASS_LAST);
    auto* A = NewObject<tCountingSubSystem>();
    auto* First = NewObject<tCountingSubSystem>(PCLASS_FIRST);
    auto* B = NewObject<tCountingSubSystem>();
    for (tSubSystem* S : {static_cast<tSubSystem*>(Last), static_cast<tSubSystem*>(A),
                          static_cast<tSubSystem*>(First), static_cast<tSubSystem*>(B)})
        E.RegisterSubsystem(S);
    ASSERT_EQ(E.ActiveSubsystems, 4);
    EXPECT_EQ(E.Subsystems[0], First);
    EXPECT_EQ(E.Subsystems[1], A);
    EXPECT_EQ(E.Subsystems[2], B);
    EXPECT_EQ(E.Subsystems[3], Last);
    EXPECT_TRUE(A->Registered);

    // Unregistering moves the last entry into the gap; order is restored by priority.
    tZObject::DisposeObject(A);
    ASSERT_EQ(E.ActiveSubsystems, 3);
    EXPECT_EQ(E.Subsystems[0], First);
    EXPECT_EQ(E.Subsystems[1], B);
    EXPECT_EQ(E.Subsystems[2], Last);

    E.EnumSubsystemsC("");
    const std::vector<std::string> M = ConsoleMessages();
    ASSERT_GE(M.size(), 4u);
    EXPECT_EQ(M[M.size() - 4], "3 subsystems active:");
    EXPECT_EQ(M.back(), "TCOUNTINGSUBSYSTEM");
}

TEST_F(EngineHostTest, RegistrationMistakesAreFatal) {
    tWinGameEngine& E = StartEngine();
    auto* S = NewObject<tCountingSubSystem>();
    E.RegisterSubsystem(S);
    EXPECT_EXIT(E.RegisterSubsystem(S), ::testing::ExitedWithCode(255),
                "Duplicate subsystem registration: TCOUNTINGSUBSYSTEM");
    auto* Stranger = NewObject<tCountingSubSystem>();
    EXPECT_EXIT(E.UnregisterSubsystem(Stranger), ::testing::ExitedWithCode(255),
                "Unable to find requested subsystem: TCOUNTINGSUBSYSTEM");
    EXPECT_EXIT(
        {
            for (int I = 0; I < tWinGameEngine::MaxSubsystems; ++I) E.RegisterSubsystem(NewObject<tCountingSubSystem>());
        },
        ::testing::ExitedWithCode(255), "Too many subsystems");
    tZObject::DisposeObject(Stranger);
}

TEST_F(EngineHostTest, TicksRunFixedStepsAndKeepTheRemainder) {
    tWinGameEngine& E = StartActiveEngine();
    auto* S = NewObject<tCountingSubSystem>();
    E.RegisterSubsystem(S);

    E.Tick(0.035f);
    EXPECT_EQ(S->Steps, std::vector<float>(3, 0.01f));
    EXPECT_NEAR(E.ExecutionTime, 0.005f, 1e-5f);
    EXPECT_EQ(S->Frames, 1);
    EXPECT_EQ(Device()->FramesEnded, 1);

    E.Tick(0.006f);
    EXPECT_EQ(S->Steps.size(), 4u);

    // Paused: the same number of steps, each of length 0; time still counts.
    S->Steps.clear();
    E.EnginePaused = true;
    E.Tick(0.05f);
    EXPECT_EQ(S->Steps, std::vector<float>(5, 0.0f));
    EXPECT_NEAR(E.GetEngineTime(), 0.091f, 1e-4f);

    // A stall of ten seconds catches up a quarter of a second, not a thousand steps.
    S->Steps.clear();
    E.EnginePaused = false;
    E.Tick(10.0f);
    EXPECT_NEAR(static_cast<double>(S->Steps.size()), 25, 1);
    EXPECT_LE(E.ExecutionTime, 0.01f);
    EXPECT_TRUE(Contains(Log(), "\"Dropped 9.7")) << Log();
}

TEST_F(EngineHostTest, AnInactiveEngineNeitherTicksNorDraws) {
    tWinGameEngine& E = StartActiveEngine();
    auto* S = NewObject<tCountingSubSystem>();
    E.RegisterSubsystem(S);
    E.EngineActive = false;
    E.Tick(1.0f);
    EXPECT_TRUE(S->Steps.empty());
    EXPECT_EQ(Device()->FramesEnded, 0);
    EXPECT_EQ(E.GetEngineTime(), 0.0f);
}

TEST_F(EngineHostTest, ShowFPSQueuesThreeLinesAtTheRightEdge) {
    tWinGameEngine& E = StartActiveEngine();
    E.CurrentTickRate = 59.6f;
    E.Tick(0.035f);
    EXPECT_TRUE(Device()->Texts.empty());

    E.EngineConfig.ShowFPS = true;
    E.Tick(0.035f);
    ASSERT_EQ(Device()->Texts.size(), 3u);
    EXPECT_EQ(Device()->Texts[0].Text, "FPS     : 60");
    EXPECT_EQ(Device()->Texts[1].Text, "Sec/Frm : 0.035");
    EXPECT_EQ(Device()->Texts[2].Text, "Upd/Frm : 3");
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(Device()->Texts[I].X, 640 - 140);
        EXPECT_EQ(Device()->Texts[I].Y, 16 * I);
    }
}

TEST_F(EngineHostTest, TheNullWorldComesOnFirstRequestAndIsReplacedByANewWorld) {
    tWinGameEngine& E = StartEngine();
    tWorld* W = E.GetWorld();
    ASSERT_NE(W, nullptr);
    EXPECT_EQ(W->ClassName(), "TNULLWORLD");
    EXPECT_EQ(E.GetWorld(), W);
    EXPECT_EQ(W->GetCamera()->ClassName(), "TNULLCAMERA");
    EXPECT_EQ(W->GetAtmosphere()->ClassName(), "TNULLATMOSPHERE");
    EXPECT_EQ(W->GetWorldTime(), 1.0f);
    const TPlane Water = W->GetWaterlinePlane();
    EXPECT_EQ(Water.Equation[2], 1.0);
    EXPECT_EQ(Water.Equation[3], -7.0);
    // The world, its camera: two subsystems.
    EXPECT_EQ(E.ActiveSubsystems, 2);

    tZObject* Second = Linker->InstantiateClassByName("tNullWorld", "");
    EXPECT_EQ(E.GetWorld(), Second);
    EXPECT_EQ(E.ActiveSubsystems, 2);  // the first world and its camera are gone
    EXPECT_TRUE(Contains(Log(), "\"Disposing world...\""));

    EXPECT_EXIT(E.SetWorld(E.GetWorld()), ::testing::ExitedWithCode(255), "Unable to add the same World");
}
