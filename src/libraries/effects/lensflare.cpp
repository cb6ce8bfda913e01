#include "libraries/effects/lensflare.h"

#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/resources/resourcekinds.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/viewport.h"
#include "libraries/math/random.h"

Z_IMPLEMENT_CLASS(tLensFlare, .Operations = {{"UpdatePosition"}, {"Render"}})

namespace {

constexpr uint32_t Quads = 7;
constexpr int32_t DiscCorners = 4;
constexpr int32_t WordAngleTurn = 65536;
constexpr TVector2 DiscCornerUV[DiscCorners] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
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
    Flares[0].VA = Arrays->AllocateVA(DiscCorners, 3, GN_FALSE, Quads);
    for (int32_t Group = 1; Group < Groups; ++Group) {
        TFlare& Flare = Flares[Group];
        const TGroupSetup& Setup = GroupSetup[Group];
        Flare.Min = Setup.Min;
        Flare.Max = Setup.Max;
        Flare.Qty = Setup.Qty;
        Flare.VA = Arrays->AllocateVA(Flare.Qty * DiscCorners, 0, GN_FALSE, Quads);
        Flare.Shader = Resources->LoadShader(Setup.ShaderFile);
        TVector2* UV = Flare.VA->GetTexCoords(0);
        for (int32_t J = 0; J < Flare.Qty; ++J) {
            Flare.Sizes[J].Size = float(Random(Flare.Max * 10 - Flare.Min * 10) + Flare.Min * 10) / SizeScale;
            Flare.Sizes[J].Pos = float(Random(PosRange) - PosShift) / PosScale;
            for (int32_t K = 0; K < DiscCorners; ++K) UV[J * DiscCorners + K] = DiscCornerUV[K];
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
    for (int32_t J = 0; J < Flare.Qty; ++J) {
        const TVector2 C = ToCentre * Flare.Sizes[J].Pos;
        const float S = Flare.Sizes[J].Size;
        *Vertex++ = {X + C.x - S, Y + C.y - S, 0};
        *Vertex++ = {X + C.x + S, Y + C.y - S, 0};
        *Vertex++ = {X + C.x + S, Y + C.y + S, 0};
        *Vertex++ = {X + C.x - S, Y + C.y + S, 0};
    }
}

void tLensFlare::DrawGlow(float X, float Y) {
    TMatrix4 Turn = IdentityMatrix4;
    MTranslateMatrixF(Turn, 0.5f, 0.5f, 0);
    MRotateMatrixZF(Turn, GlowAngle(X, Y));
    MTranslateMatrixF(Turn, -0.5f, -0.5f, 0);
    Flares[0].Shader->AttachTextureMatrix(0, Turn);
    Engine->Renderer->GeometryServer->CreateRect(Flares[0].VA, X - GlowHalfSize, Y - GlowHalfSize, X + GlowHalfSize,
                                                 Y + GlowHalfSize, 0);
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
