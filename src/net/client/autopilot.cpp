#include "net/client/autopilot.h"

#include <cmath>

#include "game/airplane.h"
#include "game/match.h"
#include "game/weapons.h"
#include "game/worldground.h"
#include "net/client/netpuppet.h"

namespace {
// A middling computer pilot: flies well, does not shoot everyone down.
constexpr float AutopilotSkill = 0.5f;
}  // namespace

tNetAutopilot::tNetAutopilot(uint32_t Seed) : Brain(Seed, AutopilotSkill, DIFFICULTY_HARD) {}

tNetInput tNetAutopilot::Fly(const std::array<tNetPuppet*, MaxNetPilots + 1>& Puppets, int32_t OwnPilot,
                             float DeltaSeconds) {
    const tNetPuppet* Own = OwnPilot > 0 && OwnPilot <= MaxNetPilots ? Puppets[OwnPilot] : nullptr;
    // Waiting for the (next) aircraft: the throttle open, as the brain would.
    if (!Own) return InputOf(TBotCommand{.Controls = {.bThrottlingUp = true}});
    static const TWorldGround Ground;
    TBotSituation S = SituationOf(Own->Flight());
    int32_t Count = 0;
    for (int32_t Pilot = 1; Pilot <= MaxNetPilots; ++Pilot) {
        const tNetPuppet* P = Puppets[Pilot];
        if (!P || Pilot == OwnPilot) continue;
        TBotContact& C = Enemies[Count++];
        C.Position = P->Position();
        C.Heading = P->Heading();
        C.Velocity = P->Heading() * P->Flight()._rSpeed;
        C.Pilot = Pilot;
    }
    S.Enemies = Enemies.data();
    S.EnemyCount = Count;
    S.Ground = &Ground;
    S.MapSize = tMatch::MapSize;
    S.MuzzleSpeed = tWeapon::MuzzleSpeed;
    return InputOf(Brain.Think(S, DeltaSeconds));
}

tNetInput tNetAutopilot::InputOf(const TBotCommand& Command) {
    const TAirplaneControlState& C = Command.Controls;
    tNetInput In;
    const auto Hold = [&In](bool Down, tNetControl Control) {
        if (Down) In.Controls |= Control;
    };
    Hold(Command.Fire, ControlFire);
    Hold(C.bThrottlingUp, ControlThrottleUp);
    Hold(C.bThrottlingDown, ControlThrottleDown);
    Hold(C.bYawingLeft, ControlYawLeft);
    Hold(C.bYawingRight, ControlYawRight);
    // The stick's amounts are the pointer's offset times the steering; the
    // keys only matter where the pointer is centred.
    const auto Pixels = [](int32_t Amount) {
        return static_cast<int16_t>(std::lround(float(Amount) / tAirplaneActor::MouseSteering));
    };
    In.PointerX = Pixels(C.iRollAmount);
    In.PointerY = Pixels(C.iPitchAmount);
    if (C.iRollAmount == 0) {
        Hold(C.bRollingLeft, ControlRollLeft);
        Hold(C.bRollingRight, ControlRollRight);
    }
    if (C.iPitchAmount == 0) {
        Hold(C.bPitchingUp, ControlPitchUp);
        Hold(C.bPitchingDown, ControlPitchDown);
    }
    return In;
}
