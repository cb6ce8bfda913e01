// The autopilot's command as a client's input: what the server makes of the
// keys and the pointer is the stick the computer pilot asked for.

#include <gtest/gtest.h>

#include <cmath>

#include "game/airplane.h"
#include "net/client/autopilot.h"

TEST(Autopilot, InputGivesTheServerTheBrainsStick) {
    for (const auto& [Roll, Pitch] : {std::pair{TBotBrain::MaxRollStick, -TBotBrain::MaxPitchStick},
                                     std::pair{-3, 1}, std::pair{0, 0}}) {
        TBotCommand C;
        C.Controls.iRollAmount = Roll;
        C.Controls.bRollingLeft = Roll < 0;
        C.Controls.bRollingRight = Roll > 0;
        C.Controls.iPitchAmount = Pitch;
        C.Controls.bPitchingUp = Pitch > 0;
        C.Controls.bPitchingDown = Pitch < 0;
        C.Controls.bThrottlingUp = true;
        C.Fire = Roll != 0;
        const tNetInput In = tNetAutopilot::InputOf(C);
        // As tAirplaneActor::FlyFrom reads the pointer.
        EXPECT_EQ(std::lround(float(In.PointerX) * tAirplaneActor::MouseSteering), Roll);
        EXPECT_EQ(std::lround(float(In.PointerY) * tAirplaneActor::MouseSteering), Pitch);
        EXPECT_EQ((In.Controls & ControlFire) != 0, C.Fire);
        EXPECT_NE(In.Controls & ControlThrottleUp, 0);
        EXPECT_EQ(In.Controls & (ControlRollLeft | ControlRollRight | ControlPitchUp | ControlPitchDown), 0);
    }
}
