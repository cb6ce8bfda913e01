#pragma once
// The island's light is baked into its colour map, so a crater would keep the
// shading of the slope it replaced. The ground colours re-light the texels
// over a crater (the new sunlight over the old, with the island generator's
// sun) and scorch them towards the centre, in every mip level of the touched
// rectangle; the texture keeps the changed texels in memory as well.

#include <cstdint>
#include <vector>

#include "game/terrain/terrainheights.h"

class tHeightMapResource;
class tTextureResource;
struct TTexelCopy;

class tGroundColors {
public:
    // The sun the colour map was lit with, from the north-west, high up.
    static constexpr float SunX = -0.55f, SunY = 0.45f, SunZ = 0.7f;
    static constexpr float SkyLight = 0.38f, SunLight = 0.85f;
    // A texel is never made brighter or darker than this by re-lighting.
    static constexpr float MinRelight = 0.25f, MaxRelight = 3.0f;
    // Within this many radii of the centre the ground is burnt, fully at
    // ScorchFull radii and in, by ScorchDepth at most.
    static constexpr float ScorchReach = 1.15f, ScorchFull = 0.35f, ScorchDepth = 0.75f;

    // Takes the colour map (the near terrain shader's first texture); a map
    // without a copy in memory is left as it is. Rect is the largest set of
    // samples one crater changes.
    void Attach(tTextureResource* ColorMap, int32_t MapSize, int32_t LargestRect);
    // Before the heights of Rect change: the light each texel over it had.
    void NoteLight(tHeightMapResource& Map, const TSampleRect& Rect);
    // After: re-lit and scorched around (X, Y) for a crater of Radius.
    void Repaint(tHeightMapResource& Map, float X, float Y, float Radius);

    bool Attached() const { return Copy != nullptr; }

private:
    // The texels over the samples of Rect (inclusive).
    TSampleRect TexelsOver(const TSampleRect& Rect) const;
    // The baked light of a texel, from the heights around it.
    float LightAt(tHeightMapResource& Map, int32_t Column, int32_t Row) const;
    float WorldX(int32_t Column) const;
    float WorldY(int32_t Row) const;

    tTextureResource* ColorMap = nullptr;  // the resources manager's
    TTexelCopy* Copy = nullptr;            // the texture's
    int32_t MapSize = 0;
    std::vector<float> OldLight;  // per texel of the last noted rectangle, sized once
    TSampleRect Noted;
};
