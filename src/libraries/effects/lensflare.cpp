#include "libraries/effects/lensflare.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/viewport.h"
#include "libraries/math/random.h"

Z_IMPLEMENT_CLASS(tLensFlare, .Operations = {{"UpdatePosition"}, {"Render"}})

namespace {

// A disc is drawn as the octagon around its texture's lit circle: three quads.
constexpr int32_t DiscCorners = 12;
constexpr int32_t WordAngleTurn = 65536;
// How far, in pixels, filtering (mip levels, bilinear taps) carries a
// texture's light past its lit circle.
constexpr float FilterReach = 4;
// Discs lie between (-80 / 150) and (270 / 150) along the line.
constexpr int32_t PosRange = 350, PosShift = 80;
constexpr float PosScale = 150, SizeScale = 6;

struct TGroupSetup {
    const char* ShaderFile;
    int32_t Min, Max, Qty;
};
constexpr TGroupSetup GroupSetup[tLensFlare::Groups] = {
    {"Shaders\\Effects\\LensFlare\\0.shader", 0, 0, 0},
    {"Shaders\\Effects\\LensFlare\\1.shader", 5, 20, 35},
    {"Shaders\\Effects\\LensFlare\\2.shader", 3, 15, 20},
    {"Shaders\\Effects\\LensFlare\\3.shader", 5, 35, 40},
    {"Shaders\\Effects\\LensFlare\\4.shader", 10, 20, 30},
};

// Writes the octagon of a disc centred on (X, Y), S pixels from its centre to
// its square's sides, whose texture is black beyond Radius of that half
// width: three quads with the square's own texture coordinates, so every
// pixel drawn looks up the same texel as before and the pixels left out
// would only have added black.
void WriteOctagon(TVector3*& Vertex, TVector2*& UV, float X, float Y, float S, float Radius) {
    const float Reach = Radius * S + FilterReach;
    const float H = std::min(S, Reach);
    // The octagon's slanted sides touch the lit circle: |x| + |y| <= Reach * sqrt 2.
    const float Inner = std::max(H - std::max(0.0f, 2 * H - Reach * std::numbers::sqrt2_v<float>), 0.0f);
    const TVector2 Corners[DiscCorners] = {
        {-H, -Inner}, {H, -Inner},  {H, Inner},  {-H, Inner},   // the band across the middle
        {-Inner, -H}, {Inner, -H},  {H, -Inner}, {-H, -Inner},  // the lower cap
        {-H, Inner},  {H, Inner},   {Inner, H},  {-Inner, H},   // the upper cap
    };
    for (const TVector2& C : Corners) {
        *Vertex++ = {X + C.x, Y + C.y, 0};
        *UV++ = {0.5f + C.x / (2 * S), 0.5f + C.y / (2 * S)};
    }
}

}  // namespace

tLensFlare::tLensFlare(const ShortString& Params)
    : tEffect(Params),
      Attached3DPoint{Str2Flt(GetToken(Params, 1)), Str2Flt(GetToken(Params, 2)), Str2Flt(GetToken(Params, 3))} {
    ProcTrace trace("tLensFlare.Init(" + Params + ")");
    AssignedRenderDevice();
    tVertexArrayManager* Arrays = tVertexArrayManager::Current();
    tRandom Random(PatternSeed);
    // The glow: one quad with its texture turning about the centre.
    Flares[0].Shader = Resources->LoadShader(GroupSetup[0].ShaderFile);
    Flares[0].VA = Arrays->AllocateVA(DiscCorners, 3, GN_FALSE, PRIM_QUADS);
    for (int32_t Group = 1; Group < Groups; ++Group) {
        TFlare& Flare = Flares[Group];
        const TGroupSetup& Setup = GroupSetup[Group];
        Flare.Min = Setup.Min;
        Flare.Max = Setup.Max;
        Flare.Qty = Setup.Qty;
        Flare.VA = Arrays->AllocateVA(Flare.Qty * DiscCorners, 0, GN_FALSE, PRIM_QUADS);
        Flare.Shader = Resources->LoadShader(Setup.ShaderFile);
        for (int32_t J = 0; J < Flare.Qty; ++J) {
            Flare.Sizes[J].Size = float(Random(Flare.Max * 10 - Flare.Min * 10) + Flare.Min * 10) / SizeScale;
            Flare.Sizes[J].Pos = float(Random(PosRange) - PosShift) / PosScale;
        }
    }
}

tLensFlare::~tLensFlare() {
    for (TFlare& Flare : Flares)
        if (Flare.VA) DisposeObject(Flare.VA);
}

TWordAngle tLensFlare::GlowAngle(float X, float Y) {
    // Wrapped before rounding: a point far off the screen projects to huge
    // coordinates.
    const double Turn = std::fmod(double(X) * GlowTurnX + double(Y) * GlowTurnY, double(WordAngleTurn));
    if (!std::isfinite(Turn)) return 0;
    return TWordAngle(int32_t(std::lround(Turn)) & (WordAngleTurn - 1));
}

void tLensFlare::LayoutDiscs(int32_t Group, float X, float Y, float Width, float Height) {
    TFlare& Flare = Flares[Group];
    const TVector2 ToCentre = {Width / 2 - X, Height / 2 - Y};
    TVector3* Vertex = Flare.VA->GetVertices();
    TVector2* UV = Flare.VA->GetTexCoords(0);
    for (int32_t J = 0; J < Flare.Qty; ++J) {
        const TVector2 C = ToCentre * Flare.Sizes[J].Pos;
        WriteOctagon(Vertex, UV, X + C.x, Y + C.y, Flare.Sizes[J].Size, LitRadius[Group]);
    }
}

void tLensFlare::DrawGlow(float X, float Y) {
    TMatrix4 Turn = IdentityMatrix4;
    MTranslateMatrixF(Turn, 0.5f, 0.5f, 0);
    MRotateMatrixZF(Turn, GlowAngle(X, Y));
    MTranslateMatrixF(Turn, -0.5f, -0.5f, 0);
    Flares[0].Shader->AttachTextureMatrix(0, Turn);
    // The turn is about the texture's centre, so its lit circle stays inside
    // the same octagon.
    TVector3* Vertex = Flares[0].VA->GetVertices();
    TVector2* UV = Flares[0].VA->GetTexCoords(0);
    WriteOctagon(Vertex, UV, X, Y, GlowHalfSize, LitRadius[0]);
    Engine->Renderer->AddBuffer(Flares[0].VA, Flares[0].Shader);
}

void tLensFlare::Render() {
    tRenderDevice* Device = Engine->Renderer;
    // Whatever was drawn last (a 2D overlay) may have left the orthographic
    // projection; the point is culled and projected in the camera's.
    Device->SetProjection(ZPR_PERSPECTIVE);
    if (Device->CullSphereAgainstFrustum({Attached3DPoint, 1.0f}) == OUTSIDE_FRUSTUM) return;
    const TVector3 P = Device->ProjectPoint(Attached3DPoint);
    const float Width = float(Engine->Viewport->GetViewportWidth());
    const float Height = float(Engine->Viewport->GetViewportHeight());
    // From here on vertices are screen pixels.
    Device->BeginTransform(ZFT_REPLACE, &IdentityMatrix4);
    DrawGlow(P.x, P.y);
    for (int32_t Group = 1; Group < Groups; ++Group) {
        LayoutDiscs(Group, P.x, P.y, Width, Height);
        Device->AddBuffer(Flares[Group].VA, Flares[Group].Shader);
    }
    Device->EndTransform(ZFT_REPLACE);
}
