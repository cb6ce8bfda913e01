#include "game/flightreplay.h"

#include <algorithm>
#include <iterator>

#include "game/airplane.h"
#include "game/match.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/viewport.h"

void tFlightReplay::Begin() {
    std::fill(std::begin(Keys), std::end(Keys), false);
    PointerX = PointerY = 0;
    UnderMenu = false;
    NextKey = NextPointer = NextPause = NextLineIndex = NextPosition = NextShot = 0;
    NextRoster = NextRemoteInput = 0;
    Brought = 0;
}

void tFlightReplay::StepInputs(const tRecordedFlight& Flight, int32_t Tick, tInputDevice* Input) {
    for (; NextKey < Flight.Keys.size() && Flight.Keys[NextKey].Tick == Tick; ++NextKey)
        Keys[Flight.Keys[NextKey].Code] = Flight.Keys[NextKey].Down;
    if (Input) std::copy(std::begin(Keys), std::end(Keys), std::begin(Input->Keys));
    for (; NextPause < Flight.Pauses.size() && Flight.Pauses[NextPause].Tick == Tick; ++NextPause) {
        const uint8_t Flags = Flight.Pauses[NextPause].Flags;
        Engine->SetPauses(Flags & tRecordedFlight::EnginePaused, Flags & tRecordedFlight::MenuPaused);
        UnderMenu = Flags & tRecordedFlight::RunsUnderMenu;
    }
    for (; NextPointer < Flight.Pointer.size() && Flight.Pointer[NextPointer].Tick == Tick; ++NextPointer) {
        PointerX = Flight.Pointer[NextPointer].X;
        PointerY = Flight.Pointer[NextPointer].Y;
    }
    Engine->Viewport->ReplayPointer(PointerX, PointerY);
}

ShortString tFlightReplay::StepRemotePilots(const tRecordedFlight& Flight, int32_t Tick) {
    for (; NextRoster < Flight.Roster.size() && Flight.Roster[NextRoster].Tick == Tick; ++NextRoster) {
        const tRecordedFlight::tRosterChange& C = Flight.Roster[NextRoster];
        if (!C.Joins) {
            Match->RemovePilot(C.Pilot);
            Brought &= ~(1u << C.Pilot);
            continue;
        }
        const int32_t Pilot = Match->AddRemotePilot(ShortString(C.Name), ShortString(C.Chassis), ShortString(C.Weapon));
        if (Pilot != 0) Brought |= 1u << Pilot;
        if (Pilot != C.Pilot)
            return ShortString(C.Name) + " joins as pilot " + Int2Str(Pilot) + ", recorded as pilot " + Int2Str(C.Pilot);
    }
    for (; NextRemoteInput < Flight.RemoteInputs.size() && Flight.RemoteInputs[NextRemoteInput].Tick == Tick; ++NextRemoteInput) {
        const tRecordedFlight::tRemoteInput& In = Flight.RemoteInputs[NextRemoteInput];
        if (!Match->Valid(In.Pilot) || !Match->GetPilot(In.Pilot).Remote)
            return "pilot " + Int2Str(In.Pilot) + " steers, but has not joined";
        Match->GetPilot(In.Pilot).RemoteInput = {In.Controls, In.X, In.Y};
    }
    return {};
}

void tFlightReplay::RemoteLeave() {
    for (int32_t P = 2; P <= tRecordedFlight::MaxPilot; ++P)
        if (Brought & (1u << P)) Match->RemovePilot(P);
    Brought = 0;
}

void tFlightReplay::LinesPassed(const tRecordedFlight& Flight, int32_t Tick) {
    while (NextLineIndex < Flight.Lines.size() && Flight.Lines[NextLineIndex].Tick <= Tick) ++NextLineIndex;
}

ShortString tFlightReplay::CheckPositions(const tRecordedFlight& Flight, int32_t Tick) {
    for (; NextPosition < Flight.Positions.size() && Flight.Positions[NextPosition].Tick == Tick; ++NextPosition) {
        const tRecordedFlight::tPosition& R = Flight.Positions[NextPosition];
        const tAirplaneActor* A = Match->Valid(R.Pilot) ? Match->GetPilot(R.Pilot).Aircraft : nullptr;
        const float Off = A ? Len(A->_vecPosition - TVector3{R.X, R.Y, R.Z}) : -1.0f;
        if (A && Off <= DriftTolerance) continue;
        const ShortString Who = "pilot " + Int2Str(R.Pilot) + (Match->Valid(R.Pilot) ? " (" + Match->GetPilot(R.Pilot).Name + ")" : ShortString());
        return Who + (A ? " is " + Flt2Str(Off, 4) + " units from its recorded position" : ShortString(" has no aircraft"));
    }
    return {};
}

void tFlightReplay::AddShot(int32_t Tick, const ShortString& File) {
    const tShot Shot{Tick, File};
    Shots.insert(std::upper_bound(Shots.begin(), Shots.end(), Shot, [](const tShot& A, const tShot& B) { return A.Tick < B.Tick; }),
                 Shot);
}

void tFlightReplay::TakeShots(int32_t Tick, bool Take) {
    // The frame is captured when it has been drawn, after this update.
    for (; NextShot < Shots.size() && Shots[NextShot].Tick <= Tick; ++NextShot)
        if (Take) Console->SendCommand("ScreenShot " + Shots[NextShot].File, true);
}
