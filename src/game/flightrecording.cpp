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
}

void tFlightRecording::UpdateStarts(tRecordedFlight& Flight, int32_t Tick, const tInputDevice* Input, bool EnginePaused,
                                    bool MenuPaused) {
    if (Input) {
        for (int K = 0; K < 256; ++K) {
            if (Input->Keys[K] == Keys[K]) continue;
            Keys[K] = Input->Keys[K];
            Flight.Keys.push_back({Tick, uint8_t(K), Keys[K]});
        }
    }
    const uint8_t Flags = (EnginePaused ? tRecordedFlight::EnginePaused : 0) | (MenuPaused ? tRecordedFlight::MenuPaused : 0);
    if (Flags != PauseFlags) Flight.Pauses.push_back({Tick, PauseFlags = Flags});
}

void tFlightRecording::UpdateEnds(tRecordedFlight& Flight, int32_t Tick, const tMouseCursorInformation& M) {
    if (!PointerKnown || M.MouseX != PointerX || M.MouseY != PointerY) {
        PointerKnown = true;
        PointerX = M.MouseX;
        PointerY = M.MouseY;
        Flight.Pointer.push_back({Tick, PointerX, PointerY});
    }
    Flight.Ticks = Tick + 1;
    if ((Tick + 1) % PositionEveryTicks != 0) return;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P) {
        if (!Match->Valid(P) || !Match->GetPilot(P).Aircraft) continue;
        const TVector3& At = Match->GetPilot(P).Aircraft->_vecPosition;
        Flight.Positions.push_back({Tick, P, At.x, At.y, At.z});
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
