#include "game/terrain/groundcolors.h"

#include <algorithm>
#include <cmath>

#include "kernel/resources/heightmapresource.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/math/vector.h"

namespace {
constexpr float Burnt[3] = {34, 28, 22};
}  // namespace

void tGroundColors::Attach(tTextureResource* NewColorMap, int32_t NewMapSize, int32_t LargestRect) {
    ColorMap = NewColorMap;
    Copy = ColorMap ? ColorMap->KeepTexelCopy() : nullptr;
    MapSize = NewMapSize;
    // Texels and samples are nearly one to one; a texel more on each side.
    const std::size_t Side = std::size_t(LargestRect) + 4;
    OldLight.assign(Side * Side, 1.0f);
}

float tGroundColors::WorldX(int32_t Column) const { return (float(Column) + 0.5f) * float(MapSize) / float(Copy->Width); }
float tGroundColors::WorldY(int32_t Row) const { return (float(Row) + 0.5f) * float(MapSize) / float(Copy->Height); }

TSampleRect tGroundColors::TexelsOver(const TSampleRect& Rect) const {
    const float ToColumn = float(Copy->Width) / float(MapSize), ToRow = float(Copy->Height) / float(MapSize);
    TSampleRect T = {int32_t(std::floor(float(Rect.X0) * ToColumn - 0.5f)),
                     int32_t(std::floor(float(Rect.Y0) * ToRow - 0.5f)),
                     int32_t(std::ceil(float(Rect.X1) * ToColumn - 0.5f)),
                     int32_t(std::ceil(float(Rect.Y1) * ToRow - 0.5f))};
    T = {std::max(T.X0, 0), std::max(T.Y0, 0), std::min(T.X1, Copy->Width - 1), std::min(T.Y1, Copy->Height - 1)};
    // Never more than the buffer noted for the largest crater.
    const int32_t Side = int32_t(std::sqrt(double(OldLight.size())));
    T.X1 = std::min(T.X1, T.X0 + Side - 1);
    T.Y1 = std::min(T.Y1, T.Y0 + Side - 1);
    return T;
}

float tGroundColors::LightAt(tHeightMapResource& Map, int32_t Column, int32_t Row) const {
    const int32_t X = int32_t(std::lround(WorldX(Column))), Y = int32_t(std::lround(WorldY(Row)));
    const TVector3 Normal = Normalize({(Map.LandscapeHeight(X - 1, Y) - Map.LandscapeHeight(X + 1, Y)) / 2,
                                       (Map.LandscapeHeight(X, Y - 1) - Map.LandscapeHeight(X, Y + 1)) / 2, 1});
    const TVector3 Sun = Normalize({SunX, SunY, SunZ});
    return SkyLight * (0.5f + 0.5f * Normal.z) + SunLight * std::max(0.0f, Dot(Normal, Sun));
}

void tGroundColors::NoteLight(tHeightMapResource& Map, const TSampleRect& Rect) {
    if (!Copy) return;
    Noted = TexelsOver(Rect);
    const int32_t W = Noted.X1 - Noted.X0 + 1;
    for (int32_t Row = Noted.Y0; Row <= Noted.Y1; ++Row)
        for (int32_t Column = Noted.X0; Column <= Noted.X1; ++Column)
            OldLight[std::size_t((Row - Noted.Y0) * W + (Column - Noted.X0))] = LightAt(Map, Column, Row);
}

void tGroundColors::Repaint(tHeightMapResource& Map, float X, float Y, float Radius) {
    if (!Copy || Noted.Empty()) return;
    const int32_t W = Noted.X1 - Noted.X0 + 1;
    for (int32_t Row = Noted.Y0; Row <= Noted.Y1; ++Row)
        for (int32_t Column = Noted.X0; Column <= Noted.X1; ++Column) {
            const float Old = OldLight[std::size_t((Row - Noted.Y0) * W + (Column - Noted.X0))];
            const float Relight =
                std::clamp(LightAt(Map, Column, Row) / std::max(Old, 0.05f), MinRelight, MaxRelight);
            const float D = std::hypot(WorldX(Column) - X, WorldY(Row) - Y) / Radius;
            const float T = std::clamp((ScorchReach - D) / (ScorchReach - ScorchFull), 0.0f, 1.0f);
            const float Scorch = ScorchDepth * T * T * (3 - 2 * T);
            uint8_t* Texel = Copy->Texel(0, Column, Row);
            for (int32_t C = 0; C < 3; ++C) {
                const float Lit = float(Texel[C]) * Relight;
                Texel[C] = uint8_t(std::clamp(std::lround(Lit + (Burnt[C] - Lit) * Scorch), 0L, 255L));
            }
        }
    ColorMap->TexelsChanged(Noted.X0, Noted.Y0, Noted.X1, Noted.Y1);
    Noted = {};
}
