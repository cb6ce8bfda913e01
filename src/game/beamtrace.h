#pragma once
// What an instant beam (the rail gun's) meets first along its path: the
// ground or the sea. Every kind of target is tested here, once, so the
// nearest contact wins whatever was hit.

#include "libraries/math/vector.h"

class tActor;
class tTerrain;
class tWorld;

struct TBeamHit {
    enum TKind { Nothing, Ground, Sea };
    TKind Kind = Nothing;
    float Along = 1;   // 0 at the start of the beam, 1 at its end
    TVector3 Point;    // where it meets the target
    tActor* Actor = nullptr;  // the actor struck, when it is one
};

// The first contact of the segment From..To in World.
TBeamHit TraceBeam(tWorld& World, const TVector3& From, const TVector3& To);

// Where the segment first passes under the terrain's surface, as a fraction
// of its length, or a negative value when it never does. The segment is
// marched in steps no longer than MarchStep and the crossing then narrowed
// down by halving.
float SegmentMeetsTerrain(tTerrain& Terrain, const TVector3& From, const TVector3& To);
