#include "game/terrain/terrainheights.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/resources/heightmapresource.h"

namespace {
// Coordinates further off the map than this all read the same border sample.
constexpr float MapMargin = 16.0f;
}  // namespace

int32_t SampleIndex(float V, int32_t Size) {
    if (!std::isfinite(V)) return 0;
    return int32_t(std::lround(std::clamp(V, -MapMargin, float(Size) + MapMargin)));
}

void tCameraHeightTable::Build(tHeightMapResource& HeightMap) {
    Logger->Log("Precalculating minimal camera heights...");
    Size = HeightMap.Size;
    Heights.assign(std::size_t(Size) * std::size_t(Size), CameraFloor);
    Fill(HeightMap, {0, 0, Size - 1, Size - 1});
}

void tCameraHeightTable::Refresh(tHeightMapResource& HeightMap, const TSampleRect& Changed) {
    // An entry looks one sample around itself.
    const TSampleRect Seen = Changed.Grown(1);
    Fill(HeightMap, {std::max(Seen.X0, 0), std::max(Seen.Y0, 0), std::min(Seen.X1, Size - 1),
                     std::min(Seen.Y1, Size - 1)});
}

void tCameraHeightTable::Fill(tHeightMapResource& HeightMap, const TSampleRect& Entries) {
    for (int32_t A = Entries.X0; A <= Entries.X1; ++A)
        for (int32_t B = Entries.Y0; B <= Entries.Y1; ++B) {
            float Highest = CameraFloor;
            for (int32_t I = std::max(A - 1, 0); I <= std::min(A + 1, Size - 1); ++I)
                for (int32_t J = std::max(B - 1, 0); J <= std::min(B + 1, Size - 1); ++J)
                    Highest = std::max(Highest, HeightMap.LandscapeHeight(I, J) + CameraClearance);
            Heights[std::size_t(Size) * std::size_t(A) + std::size_t(B)] = Highest;
        }
}

float tCameraHeightTable::Lowest(int32_t X, int32_t Y) const {
    if (X < 1 || Y < 1 || X > Size || Y > Size) return MinFlightHeight;
    // Read the way the table was written (X slow); the far edge (X or Y =
    // Size) has no sample of its own and reads the last one.
    const std::size_t A = std::size_t(std::min(X, Size - 1)), B = std::size_t(std::min(Y, Size - 1));
    return std::max(MinFlightHeight, Heights[A * std::size_t(Size) + B]);
}
