// The free camera as scripts and key bindings drive it: its variables and
// commands, what one tick does with each motion flag, banking and clamps,
// the terrain below it, its view, and variables that outlive the camera.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/enginehost.h"
#include "common/recordingaudio.h"
#include "common/testworld.h"
#include "kernel/core/globals.h"
#include "kernel/objects/registry.h"
#include "kernel/platform/wingameengine.h"
#include "kernel/world/freecamera.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/varsmanager.h"

namespace {

constexpr float Step = 0.01f;  // the engine's fixed update step
constexpr int32_t StepAngle = 655;  // one turn per second, for one step

class FreeCameraTest : public EngineHostTest {
protected:
    void SetUp() override {
        EngineHostTest::SetUp();
        RegisterTestWorldClasses();
        StartActiveEngine();
        Camera = Spawn();
    }
    tFreeCamera* Spawn() { return static_cast<tFreeCamera*>(Linker->InstantiateClassByName("tFreeCamera", "")); }
    void Type(const std::string& Line) { Console->SendCommand(ShortString(Line), true); }
    void Release(const std::string& Binding) { Console->SendCommand(ShortString(Binding), false); }
    void Ticks(int N, float DeltaSeconds = Step) {
        for (int I = 0; I < N; ++I) Camera->Tick(DeltaSeconds);
    }
    // The camera pointing along +y, level, at a known place and speed.
    void Level() {
        Type("Set CameraX 0.0; Set CameraY 0.0; Set CameraZ 100.0; Set HorizAngle 0; Set VertAngle 16384");
        Type("Set CameraSpeed 100.0");
    }
    std::string Last() { return ConsoleMessages().back(); }

    tFreeCamera* Camera = nullptr;
};

void ExpectNear(const TVector3& Got, const TVector3& Want, float Tolerance = 1e-3f) {
    EXPECT_NEAR(Got.x, Want.x, Tolerance);
    EXPECT_NEAR(Got.y, Want.y, Tolerance);
    EXPECT_NEAR(Got.z, Want.z, Tolerance);
}

}  // namespace

TEST_F(FreeCameraTest, RegistersItsVariablesInOrderWithTheDefaults) {
    const std::vector<std::string> Names = {
        "CAMERAX",   "CAMERAY",   "CAMERAZ",  "TARGETX",   "TARGETY",      "TARGETZ",     "VERTANGLE",   "HORIZANGLE",
        "ROTATION",  "LOOKUP",    "LOOKDOWN", "LOOKLEFT",  "LOOKRIGHT",    "MOVEUP",      "MOVEDOWN",    "MOVELEFT",
        "MOVERIGHT", "ROTATECAMERA", "RAISECAMERA", "LEAVECAMERA", "CAMERADELTAANGLE", "CAMERASPEED", "FLIGHTMODE",
        "MOUSELOOK"};
    std::vector<std::string> Registered;
    for (int32_t I = 1; I <= EngineVars->GetTotalVars(); ++I) Registered.push_back(EngineVars->GetVarName(I).str());
    const auto First = std::find(Registered.begin(), Registered.end(), "CAMERAX");
    ASSERT_GE(Registered.end() - First, static_cast<std::ptrdiff_t>(Names.size()));
    EXPECT_EQ(std::vector<std::string>(First, First + Names.size()), Names);

    Type("VarList CameraX; VarList CameraZ; VarList TargetY; VarList VertAngle; VarList HorizAngle");
    Type("VarList CameraDeltaAngle; VarList CameraSpeed; VarList FlightMode; VarList MouseLook");
    EXPECT_EQ(ConsoleMessages(), (std::vector<std::string>{"CAMERAX=64.000", "CAMERAZ=32.000", "TARGETY=128.000",
                                                           "VERTANGLE=22016", "HORIZANGLE=7168",
                                                           "CAMERADELTAANGLE=65536", "CAMERASPEED=50.000",
                                                           "FLIGHTMODE=True", "MOUSELOOK=False"}));
    EXPECT_EQ(Engine->World->GetCamera(), Camera);
    EXPECT_TRUE(Camera->Registered);
    EXPECT_EQ(Camera->FOV, 70);
}

TEST_F(FreeCameraTest, FieldOfViewCommandsClampAndShowTheirUsage) {
    Type("FOV 200");
    EXPECT_EQ(Camera->FOV, 160);
    Type("FOV 0");
    EXPECT_EQ(Camera->FOV, 1);
    Type("FOV 90; ZoomIn 10");
    EXPECT_EQ(Camera->FOV, 80);
    EXPECT_EQ(Last(), "FOV=80");
    Type("ZoomOut 2147483647");
    EXPECT_EQ(Last(), "FOV=160");
    Type("ZoomIn 1000");
    EXPECT_EQ(Last(), "FOV=1");

    Type("FOV abc");
    EXPECT_EQ(Last(), "Usage: FOV <angle>");
    Type("ZoomIn 1.5");
    EXPECT_EQ(Last(), "Usage: ZoomIn <delta angle>");
    Type("ZoomOut");
    EXPECT_EQ(Last(), "Usage: ZoomOut <delta angle>");
    EXPECT_EQ(Camera->FOV, 1);
}

// One step at speed 100 moves one unit: forward along the heading, sideways
// at right angles to it, up and down along z.
TEST_F(FreeCameraTest, EachMotionFlagMovesOrTurnsPerTick) {
    Level();
    Type("+MoveUp");
    Ticks(1);
    ExpectNear(Camera->CameraPosition, {0, 1, 100});
    Release("+MoveUp");
    Type("+MoveRight");
    Ticks(1);
    ExpectNear(Camera->CameraPosition, {1, 1, 100});
    Release("+MoveRight");
    Type("+RaiseCamera");
    Ticks(2);
    Release("+RaiseCamera");
    Type("+LeaveCamera; +MoveLeft; +MoveDown");
    Ticks(1);
    ExpectNear(Camera->CameraPosition, {0, 0, 101});
    Type("StopCamera");

    Type("Set HorizAngle 16384; +MoveUp");  // heading +x
    Ticks(1);
    ExpectNear(Camera->CameraPosition, {1, 0, 101});
    Type("StopCamera; +RotateCamera; +MoveRight");  // with RotateCamera the move keys turn
    Ticks(1);
    EXPECT_EQ(Camera->HorizAngle, 16384 + StepAngle);
    ExpectNear(Camera->CameraPosition, {1, 0, 101});
    Type("StopCamera");

    // A paused engine ticks with 0; the camera moves a frame's worth per tick.
    Engine->CurrentTickRate = 50;
    Type("Set HorizAngle 0; +MoveUp");
    Ticks(1, 0);
    ExpectNear(Camera->CameraPosition, {1, 2, 101});
}

TEST_F(FreeCameraTest, TurningBanksUpToItsLimitAndTheAnglesStayInRange) {
    Level();
    Type("+LookLeft");
    Ticks(1);
    EXPECT_EQ(Camera->Rotation, 512);
    EXPECT_EQ(Camera->HorizAngle, 65536 - StepAngle);  // wrapped into 16 bits
    Ticks(14);
    EXPECT_EQ(Camera->Rotation, 7680);
    Ticks(5);
    EXPECT_EQ(Camera->Rotation, 7680);
    Release("+LookLeft");
    Ticks(1);
    EXPECT_EQ(Camera->Rotation, 7680 - 256);
    Ticks(29);
    EXPECT_EQ(Camera->Rotation, 0);

    Type("+LookRight");
    Ticks(40);
    EXPECT_EQ(Camera->Rotation, -7680);
    Type("StopCamera; Set Rotation 0; Set FlightMode False; +LookRight");
    Ticks(3);
    EXPECT_EQ(Camera->Rotation, 0);

    Type("StopCamera; +LookUp");
    Ticks(100);
    EXPECT_EQ(Camera->VertAngle, 34560);
    Type("StopCamera; +LookDown");
    Ticks(100);
    EXPECT_EQ(Camera->VertAngle, 0);

    // Whatever a script sets, the angles wrap instead of overflowing.
    Type("Set VertAngle -2147483648; Set HorizAngle 2147483647; +LookRight");
    Camera->GetViewingTransformation();
    Ticks(1);
    EXPECT_GE(Camera->VertAngle, 0);
    EXPECT_LE(Camera->VertAngle, 34560);
    EXPECT_EQ(Camera->HorizAngle, (2147483647LL + StepAngle) & 0xFFFF);
}

// Without terrain the camera goes anywhere (and nothing is fatal); with one it
// is lifted to the terrain's lowest camera height at its next movement.
TEST_F(FreeCameraTest, TheTerrainKeepsTheCameraAbove) {
    Level();
    Type("Set CameraZ -50.0");
    Ticks(2);
    EXPECT_FLOAT_EQ(Camera->CameraPosition.z, -50);

    Linker->InstantiateClassByName("tFlatTerrain", "40");
    Ticks(1);
    EXPECT_FLOAT_EQ(Camera->CameraPosition.z, -50);  // it has not moved since
    Type("+MoveUp");
    Ticks(1);
    EXPECT_FLOAT_EQ(Camera->CameraPosition.z, 40);
    Type("StopCamera; Set CameraZ 60.0");
    Ticks(1);
    EXPECT_FLOAT_EQ(Camera->CameraPosition.z, 60);
}

// The view matrix moves the camera to the origin and looks along -z; the
// viewing direction is the one it really looks along, and setting a direction
// gives it back, whatever the bank.
TEST_F(FreeCameraTest, TheViewLooksAlongTheViewingDirection) {
    Type("Set CameraX 10.0; Set CameraY 20.0; Set CameraZ 30.0; Set VertAngle 0; Set HorizAngle 0");
    ExpectNear(Camera->GetViewingDirection(), {0, 0, -1});  // straight down
    Type("Set VertAngle 16384");
    ExpectNear(Camera->GetViewingDirection(), {0, 1, 0});
    Type("Set HorizAngle 16384");
    ExpectNear(Camera->GetViewingDirection(), {1, 0, 0});

    Type("Set VertAngle 22016; Set HorizAngle 7168; Set Rotation 3000");
    const TVector3 Eye = Camera->CameraPosition;
    const TVector3 Ahead = Eye + Camera->GetViewingDirection() * 10;
    const TMatrix4 View = Camera->GetViewingTransformation();
    ExpectNear(Vector3(View * Vector4(Eye.x, Eye.y, Eye.z, 1)), {0, 0, 0});
    ExpectNear(Vector3(View * Vector4(Ahead.x, Ahead.y, Ahead.z, 1)), {0, 0, -10});

    const TVector3 Directions[] = {{0, 1, 0}, {3, -4, 1}, {-1, -1, -5}, {0.2f, 0, 8}, {-7, 2, 0}, {1, 1, -0.3f}};
    for (int32_t Bank : {0, 5000, -7680}) {
        Camera->Rotation = Bank;
        for (const TVector3& D : Directions) {
            Camera->SetViewingDirection(D * 3);
            ExpectNear(Camera->GetViewingDirection(), Normalize(D), 2e-3f);
        }
    }
}

TEST_F(FreeCameraTest, TheAudioListenerTakesTheCamerasPlaceAndHeading) {
    auto* Audio = NewObject<tRecordingAudio>();
    tAudioSubSystem* Before = std::exchange(Engine->Audio, Audio);
    // Heading east and looking a little down: the ears stay level.
    Type("Set CameraX 10.0; Set CameraY 20.0; Set CameraZ 30.0; Set VertAngle 8192; Set HorizAngle 16384");
    Camera->HandPoseToListener();
    ExpectNear(Audio->Listener[0], {10, 20, 30});
    ExpectNear(Audio->Listener[1], {0.7071f, 0, -0.7071f});
    ExpectNear(Audio->Listener[2], {0.7071f, 0, 0.7071f});
    Engine->Audio = Before;
    tZObject::DisposeObject(Audio);
}

TEST_F(FreeCameraTest, TrackingTurnsTowardsTheTargetAndSaysSo) {
    Type("Set CameraX 0.0; Set CameraY 0.0; Set CameraZ 10.0");
    for (const TVector3 Target : {TVector3{30, 40, 30}, TVector3{-20, -50, 0}, TVector3{50, -5, 40}}) {
        Camera->SetCameraTarget(Target);
        Camera->TrackTarget = true;
        Ticks(1);
        ExpectNear(Camera->GetViewingDirection(), Normalize(Target - Camera->CameraPosition), 2e-3f);
    }
    Camera->RenderFrame();
    ASSERT_EQ(Device()->Texts.size(), 1u);
    EXPECT_EQ(Device()->Texts[0].Text, "Tracking target...");
    EXPECT_EQ(Device()->Texts[0].X, 16);
    EXPECT_EQ(Device()->Texts[0].Y, 16);
}

// When the camera goes (another camera, another world) its variables keep
// their last values and stay usable; its commands go with it.
TEST_F(FreeCameraTest, VariablesOutliveTheCameraThatRegisteredThem) {
    Type("Set CameraX 5.5; Set HorizAngle 100");
    Linker->InstantiateClassByName("tNullCamera", "");
    Type("Add HorizAngle 10; +MoveUp; Toggle MouseLook; Set Copy %CameraX; VarList Copy");
    Type("VarList HorizAngle; VarList MouseLook");
    Type("FOV 90");
    const std::vector<std::string> Messages = ConsoleMessages();
    EXPECT_EQ(std::vector<std::string>(Messages.end() - 4, Messages.end()),
              (std::vector<std::string>{"COPY=5.500", "HORIZANGLE=110", "MOUSELOOK=True", "Unknown command FOV"}));

    Camera = Spawn();  // a new camera takes the variables over with its own values
    Type("Set CameraX 1.0");
    EXPECT_FLOAT_EQ(Camera->CameraPosition.x, 1);
    EXPECT_FALSE(Camera->MoveUp);

    Linker->InstantiateClassByName("tNullWorld", "");  // the world goes, its camera with it
    Type("Set CameraY 2.0; Add VertAngle 5; Set Copy %CameraY; VarList Copy");
    EXPECT_EQ(Last(), "COPY=2.000");
}
