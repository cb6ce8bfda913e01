#include "game/terrain/crater.h"

#include <algorithm>
#include <cmath>

float CraterProfile(float Distance, float Radius) {
    const float D = Distance / Radius;
    if (D < 1) return Radius * (CraterRim - (CraterDepth + CraterRim) * (1 - D * D));
    if (D >= CraterReach) return 0;
    const float Fall = 1 - (D - 1) / (CraterReach - 1);
    return Radius * CraterRim * Fall * Fall;
}

float CraterRadiusFor(float Requested) {
    if (!std::isfinite(Requested)) return MinCraterRadius;
    return std::clamp(Requested, MinCraterRadius, MaxCraterRadius);
}

TSampleRect CraterRect(float X, float Y, float Radius, int32_t Size) {
    if (!std::isfinite(X) || !std::isfinite(Y)) return {};
    const float Reach = Radius * CraterReach;
    const float Low = 2, High = float(Size - 1);
    const float X0 = std::max(std::ceil(X - Reach), Low), X1 = std::min(std::floor(X + Reach), High);
    const float Y0 = std::max(std::ceil(Y - Reach), Low), Y1 = std::min(std::floor(Y + Reach), High);
    if (X1 < X0 || Y1 < Y0) return {};
    return {int32_t(X0), int32_t(Y0), int32_t(X1), int32_t(Y1)};
}

THeightRange DigCrater(std::vector<float>& Heights, int32_t Size, float X, float Y, float Radius,
                       const TSampleRect& Rect) {
    THeightRange Range = {INFINITY, -INFINITY};
    for (int32_t PX = Rect.X0; PX <= Rect.X1; ++PX)
        for (int32_t PY = Rect.Y0; PY <= Rect.Y1; ++PY) {
            float& H = Heights[std::size_t(PX) * std::size_t(Size) + std::size_t(PY)];
            H = std::max(0.0f, H + CraterProfile(std::hypot(float(PX) - X, float(PY) - Y), Radius));
            Range.Low = std::min(Range.Low, H);
            Range.High = std::max(Range.High, H);
        }
    return Range;
}
