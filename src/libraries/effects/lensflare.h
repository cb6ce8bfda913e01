#pragma once
// A lens flare for a point in the world (normally the sun): a large glow
// turning as the point crosses the screen, and four groups of discs strung
// along the line from the point through the screen centre. It is skipped
// while the point is off screen; geometry in front of it does not hide it.
// Each disc is drawn only over the part of its square that its texture lights.

#include <cstdint>

#include "kernel/world/spawnable.h"
#include "libraries/math/angles.h"

class tShaderResource;
class tVertexArray;

struct TFlareSize {
    float Size = 0;  // half the disc's width in pixels
    float Pos = 0;   // 0 at the point, 1 at the screen centre, 2 at its mirror image
};

struct TFlare {
    static constexpr int32_t MaxDiscs = 51;
    tShaderResource* Shader = nullptr;
    tVertexArray* VA = nullptr;  // owned by the flare
    int32_t Min = 0, Max = 0, Qty = 0;
    TFlareSize Sizes[MaxDiscs];
};

class tLensFlare : public tEffect {
    Z_DECLARE_CLASS(tLensFlare, tEffect)
public:
    static constexpr int32_t Groups = 5;
    static constexpr float GlowHalfSize = 200;
    // The glow turns by these word-angle units per pixel the point moves.
    static constexpr float GlowTurnX = 30, GlowTurnY = -50;
    static constexpr uint32_t PatternSeed = 1986;
    // How far from its centre each group's texture (made by tools/makesky)
    // has light, as a part of its half width: the glow's, then the discs'.
    static constexpr float LitRadius[Groups] = {0.96f, 0.91f, 0.9f, 0.95f, 0.94f};

    // Params: the point's X, Y and Z.
    explicit tLensFlare(const ShortString& Params);
    ~tLensFlare() override;

    void UpdatePosition(const TVector3& Position) override { Attached3DPoint = Position; }
    void Render() override;

    // The glow's turn for the point's screen position, wrapped to a word angle.
    static TWordAngle GlowAngle(float X, float Y);
    // Lays out group Group's discs for a point at screen position (X, Y) on a
    // Width x Height screen.
    void LayoutDiscs(int32_t Group, float X, float Y, float Width, float Height);

    TFlare Flares[Groups];
    TVector3 Attached3DPoint;

private:
    void DrawGlow(float X, float Y);
};
