#include "game/beamtrace.h"

#include <algorithm>
#include <cmath>

#include "kernel/world/sealevel.h"
#include "kernel/world/terrain.h"
#include "kernel/world/world.h"

namespace {
// One sample per unit of the height map: half of that misses no ridge.
constexpr float MarchStep = 0.5f;
constexpr int32_t MaxMarchSteps = 100000;
constexpr int32_t Halvings = 12;

bool BelowGround(tTerrain& Terrain, const TVector3& P) { return Terrain.EstimateSphereCollision(P, 0); }
}  // namespace

float SegmentMeetsTerrain(tTerrain& Terrain, const TVector3& From, const TVector3& To) {
    const float Length = Len(To - From);
    if (!std::isfinite(Length)) return -1;
    if (BelowGround(Terrain, From)) return 0;
    const int32_t Steps = std::clamp(int32_t(std::ceil(Length / MarchStep)), 1, MaxMarchSteps);
    float Above = 0;
    for (int32_t I = 1; I <= Steps; ++I) {
        const float T = float(I) / float(Steps);
        if (!BelowGround(Terrain, From + (To - From) * T)) {
            Above = T;
            continue;
        }
        float Below = T;
        for (int32_t K = 0; K < Halvings; ++K) {
            const float Mid = (Above + Below) / 2;
            (BelowGround(Terrain, From + (To - From) * Mid) ? Below : Above) = Mid;
        }
        return Below;
    }
    return -1;
}

TBeamHit TraceBeam(tWorld& World, const TVector3& From, const TVector3& To) {
    TBeamHit Hit;
    const auto Closer = [&](TBeamHit::TKind Kind, float Along) {
        if (Along < 0 || Along >= Hit.Along) return;
        Hit.Kind = Kind;
        Hit.Along = Along;
        Hit.Point = From + (To - From) * Along;
    };
    if (World.HasTerrain()) {
        Closer(TBeamHit::Ground, SegmentMeetsTerrain(*World.GetTerrainForPoint(From), From, To));
        // The sea lies over the whole map at the water line.
        const float Level = SeaLevel;
        if (From.z >= Level && To.z < Level) Closer(TBeamHit::Sea, (From.z - Level) / (From.z - To.z));
    }
    // Aircraft join here: test each against the segment and keep the closer.
    return Hit;
}
