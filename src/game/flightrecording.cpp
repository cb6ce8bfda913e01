#include "game/flightrecording.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/airplane.h"
#include "game/match.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/viewport.h"

void tFlightRecording::Begin() {
    std::fill(std::begin(Keys), std::end(Keys), false);
    PauseFlags = 0xFF;
    PointerKnown = false;
    Remote = {};
}

void tFlightRecording::UpdateStarts(tRecordedFlight& Flight, int32_t Tick, const tInputDevice* Input, uint8_t Flags) {
    if (Input) {
        for (int K = 0; K < 256; ++K) {
            if (Input->Keys[K] == Keys[K]) continue;
            Keys[K] = Input->Keys[K];
            Flight.Keys.push_back({Tick, uint8_t(K), Keys[K]});
        }
    }
    if (Flags != PauseFlags) Flight.Pauses.push_back({Tick, PauseFlags = Flags});
}

void tFlightRecording::UpdateEnds(tRecordedFlight& Flight, int32_t Tick, const tMouseCursorInformation& M) {
    if (!PointerKnown || M.MouseX != PointerX || M.MouseY != PointerY) {
        PointerKnown = true;
        PointerX = M.MouseX;
        PointerY = M.MouseY;
        Flight.Pointer.push_back({Tick, PointerX, PointerY});
    }
    NoteRemotePilots(Flight, Tick);
    Flight.Ticks = Tick + 1;
    if ((Tick + 1) % PositionEveryTicks != 0) return;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P) {
        if (!Match->Valid(P) || !Match->GetPilot(P).Aircraft) continue;
        const TVector3& At = Match->GetPilot(P).Aircraft->_vecPosition;
        Flight.Positions.push_back({Tick, P, At.x, At.y, At.z});
    }
}

// The network's pilots are taken from the match as the update left them:
// the server takes them in and hands them their inputs before the world
// moves, so a replay gives them back before its update. Leaves come first,
// so a place left and taken in one update is taken again.
void tFlightRecording::NoteRemotePilots(tRecordedFlight& Flight, int32_t Tick) {
    const auto Flies = [](int32_t P) { return Match->Valid(P) && Match->GetPilot(P).Remote; };
    for (int32_t P = 2; P <= tRecordedFlight::MaxPilot; ++P) {
        tRemoteSeen& Seen = Remote[P];
        if (!Seen.InUse || (Flies(P) && Match->GetPilot(P).Name.view() == Seen.Name)) continue;
        Flight.Roster.push_back({Tick, P, false, {}, {}, {}});
        Seen = {};
    }
    for (int32_t P = 2; P <= tRecordedFlight::MaxPilot; ++P) {
        if (!Flies(P)) continue;
        const TPilot& Pilot = Match->GetPilot(P);
        tRemoteSeen& Seen = Remote[P];
        if (!Seen.InUse) {
            Flight.Roster.push_back({Tick, P, true, Pilot.Chassis.str(), Pilot.Weapon.str(), Pilot.Name.str()});
            Seen = {true, Pilot.Name.str()};
        }
        const tNetInput& In = Pilot.RemoteInput;
        if (In.Controls == Seen.Controls && In.PointerX == Seen.X && In.PointerY == Seen.Y) continue;
        Seen.Controls = In.Controls;
        Seen.X = In.PointerX;
        Seen.Y = In.PointerY;
        Flight.RemoteInputs.push_back({Tick, P, In.Controls, In.PointerX, In.PointerY});
    }
}

bool tFlightRecording::Save(const tRecordedFlight& Flight, const std::string& Path) {
    std::error_code Error;
    std::filesystem::create_directories(std::filesystem::path(Path).parent_path(), Error);
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    const std::string Text = WriteFlight(Flight);
    Out.write(Text.data(), std::streamsize(Text.size()));
    Out.close();
    return bool(Out);
}
