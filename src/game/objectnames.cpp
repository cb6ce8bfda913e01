#include "game/objectnames.h"

#include "kernel/core/strutils.h"

namespace {
constexpr int Decimals = 2;
}

ShortString PositionText(const TVector3& V) {
    return Flt2Str(V.x, Decimals) + " " + Flt2Str(V.y, Decimals) + " " + Flt2Str(V.z, Decimals);
}

ShortString PositionText(const TVector3& Position, const TVector3& Velocity) {
    return PositionText(Position) + " " + PositionText(Velocity);
}

TVector3 VectorFromName(const ShortString& Name, int First) {
    return {Str2Flt(GetToken(Name, First)), Str2Flt(GetToken(Name, First + 1)), Str2Flt(GetToken(Name, First + 2))};
}
