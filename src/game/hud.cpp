#include "game/hud.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/airplane.h"
#include "game/match.h"
#include "game/projectiles.h"
#include "game/weapons.h"
#include "kernel/core/globals.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/renderer/va/vertexarray.h"
#include "kernel/world/camera.h"
#include "kernel/world/sealevel.h"
#include "kernel/world/world.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/uiscale.h"
#include "libraries/classes/viewport.h"

namespace {
constexpr const char* BatchShaders[tHUD::HUD_COLOURS] = {
    "interface\\shaders\\hud_back.shader", "interface\\shaders\\hud_white.shader",
    "interface\\shaders\\hud_green.shader", "interface\\shaders\\hud_amber.shader",
    "interface\\shaders\\hud_red.shader", "interface\\shaders\\hud_flash.shader"};
constexpr TVector4 TextColours[tHUD::HUD_COLOURS] = {
    {0, 0, 0, 1}, {1, 1, 1, 1}, {0.45f, 1, 0.45f, 1}, {1, 0.8f, 0.25f, 1}, {1, 0.35f, 0.3f, 1}, {1, 0.2f, 0.1f, 1}};
constexpr float Margin = 12, Row = 18, BarWidth = 150, BarHeight = 10, LabelWidth = 64;
constexpr float AimDistance = 250;   // the crosshair sits where the gun's line is this far out
constexpr float CrossArm = 9, CrossGap = 4, Thin = 2;
constexpr float ArrowSize = 18, ArrowInset = 28;
constexpr float ScoreColumn = 90;
constexpr int32_t LowHealth = 30;
constexpr float NearPlane = 1, FarPlane = 10000;
// The render device writes text with its baseline this far below the point
// it is given; the HUD places text by its baseline.
constexpr float TextBaselineDrop = 40;
constexpr float FeedWidth = 330;
constexpr float HitMarkLength = 120, HitMarkThickness = 8, HitMarkInset = 6;
constexpr float TailTextY = 170;
constexpr float LeadRing = 7;
constexpr float CharWidth = 8;  // the default font's cell, as laid out
}  // namespace

TScreenPoint ProjectToScreen(const TMatrix4& View, float FOVDegrees, float Width, float Height,
                             const TVector3& Point) {
    const TMatrix4 Projection = PerspectiveMatrix(FOVDegrees, Width / Height, NearPlane, FarPlane);
    const TVector4 Clip = Projection * (View * TVector4{Point.x, Point.y, Point.z, 1});
    TScreenPoint S;
    S.InFront = Clip.w > 0;
    // Behind the camera the direction still counts (for the edge arrow):
    // divide by the distance's size, not its sign.
    const float W = std::max(std::fabs(Clip.w), 1e-4f);
    S.X = (Clip.x / W + 1) * Width / 2;
    S.Y = (1 - Clip.y / W) * Height / 2;
    if (!S.InFront) {
        S.X = Width - S.X;
        S.Y = Height - S.Y;
    }
    return S;
}

tHUD::tHUD() {
    for (int32_t C = 0; C < HUD_COLOURS; ++C) {
        Batches[C].VA = tVertexArrayManager::Current()->AllocateVA(QuadCorners * MaxQuads, 1, GN_FALSE, PRIM_QUADS);
        Batches[C].Shader = Resources->LoadShader(BatchShaders[C]);
        TVector2* UV = Batches[C].VA->GetTexCoords(0);
        for (int32_t I = 0; UV && I < QuadCorners * MaxQuads; ++I) UV[I] = {0.5f, 0.5f};
    }
}

tHUD::~tHUD() {
    for (TBatch& B : Batches)
        if (B.VA) tZObject::DisposeObject(B.VA);
}

// ---- Shapes and text -------------------------------------------------------------

void tHUD::Quad(TColour Colour, const TVector3 (&Corners)[4]) {
    TBatch& B = Batches[Colour];
    if (B.Count >= MaxQuads) return;
    TVector3* V = B.VA->GetVertices() + QuadCorners * B.Count;
    for (int32_t I = 0; I < QuadCorners; ++I) V[I] = Corners[I];
    ++B.Count;
}

void tHUD::Rect(TColour Colour, float X1, float Y1, float X2, float Y2) {
    Quad(Colour, {{X1, Y1, 0}, {X2, Y1, 0}, {X2, Y2, 0}, {X1, Y2, 0}});
}

void tHUD::Text(float X, float Baseline, const ShortString& Line, TColour Colour) {
    Engine->Renderer->AddTextString(X * Scale, Baseline * Scale - TextBaselineDrop, Line, &TextColours[Colour]);
}

void tHUD::Bar(TColour Colour, float X, float Y, float Fill, const ShortString& Label) {
    Text(X, Y + BarHeight, Label, HUD_WHITE);
    const float Left = X + LabelWidth;
    Rect(HUD_BACK, Left - 1, Y - 1, Left + BarWidth + 1, Y + BarHeight + 1);
    Rect(Colour, Left, Y, Left + BarWidth * std::clamp(Fill, 0.0f, 1.0f), Y + BarHeight);
}

void tHUD::DrawBatches() {
    tRenderDevice* Device = Engine->Renderer;
    TMatrix4 Grown = IdentityMatrix4;
    Grown[0] = Grown[5] = Scale;
    Device->BeginTransform(ZFT_REPLACE, &Grown);
    for (TBatch& B : Batches) {
        if (B.Count == 0) continue;
        B.VA->SetActiveVertexCount(QuadCorners * B.Count);
        Device->AddBuffer(B.VA, B.Shader);
        B.Count = 0;
    }
    Device->EndTransform(ZFT_REPLACE);
}

// ---- The pieces ---------------------------------------------------------------------

void tHUD::Instruments(tMatch& Match, tAirplaneActor& A) {
    const float X = Margin, Bottom = Height - Margin;
    Rect(HUD_BACK, X - 6, Bottom - 4 * Row - 8, X + LabelWidth + BarWidth + 8, Bottom + 4);
    const float Ground = GroundUnder(A._vecPosition.x, A._vecPosition.y);
    const float Altitude = std::max(0.0f, A._vecPosition.z - std::max(Ground, SeaLevel));
    Bar(HUD_WHITE, X, Bottom - 4 * Row, A._rSpeed / A._rMaxSpeed, "SPEED");
    Bar(A.Health > LowHealth ? HUD_GREEN : HUD_RED, X, Bottom - 3 * Row, float(A.Health) / tAirplaneActor::FullHealth,
        "HEALTH");
    Bar(HUD_AMBER, X, Bottom - 2 * Row, A.PrimaryWeapon ? A.PrimaryWeapon->Readiness() : 0.0f, "GUN");
    Text(X, Bottom - Row + BarHeight, "ALT " + Int2Str(int32_t(std::lround(Altitude))), HUD_WHITE);
    const TPilot& Me = Match.GetPilot(A.Pilot ? A.Pilot : tMatch::PlayerPilot);
    Text(X + LabelWidth + 30, Bottom - Row + BarHeight, "CREDITS " + Int2Str(Me.Credits), HUD_AMBER);
}

void tHUD::Crosshair(tAirplaneActor& A) {
    const TScreenPoint S = ProjectToScreen(View, FOV, Width, Height, A._vecPosition + A._vecHeading * AimDistance);
    if (!S.InFront) return;
    Rect(HUD_WHITE, S.X - CrossGap - CrossArm, S.Y - Thin / 2, S.X - CrossGap, S.Y + Thin / 2);
    Rect(HUD_WHITE, S.X + CrossGap, S.Y - Thin / 2, S.X + CrossGap + CrossArm, S.Y + Thin / 2);
    Rect(HUD_WHITE, S.X - Thin / 2, S.Y - CrossGap - CrossArm, S.X + Thin / 2, S.Y - CrossGap);
    Rect(HUD_WHITE, S.X - Thin / 2, S.Y + CrossGap, S.X + Thin / 2, S.Y + CrossGap + CrossArm);
}

void tHUD::EnemyMarkers(tMatch& Match, const tAirplaneActor* Own) {
    const TVector3 Eye = Engine->World->GetCamera()->GetCameraPosition();
    float NearestOff = 1e9f;
    TScreenPoint Arrow;
    for (int32_t I = 1; I <= tMatch::MaxPilots; ++I) {
        if (!Match.Valid(I)) continue;
        const tAirplaneActor* A = Match.GetPilot(I).Aircraft;
        if (!A || A == Own || !A->Alive()) continue;
        const TScreenPoint S = ProjectToScreen(View, FOV, Width, Height, A->_vecPosition);
        const float Distance = Len(A->_vecPosition - Eye);
        const bool OnScreen = S.InFront && S.X >= 0 && S.Y >= 0 && S.X <= Width && S.Y <= Height;
        if (!OnScreen) {
            if (Distance < NearestOff) {
                NearestOff = Distance;
                Arrow = S;
            }
            continue;
        }
        // Four corners of a bracket around the aircraft.
        const float M = MarkerSize, L = MarkerSize / 2;
        for (const float SX : {-1.0f, 1.0f})
            for (const float SY : {-1.0f, 1.0f}) {
                const float CX = S.X + SX * M, CY = S.Y + SY * M;
                Rect(HUD_RED, std::min(CX, CX - SX * L), CY - Thin / 2, std::max(CX, CX - SX * L), CY + Thin / 2);
                Rect(HUD_RED, CX - Thin / 2, std::min(CY, CY - SY * L), CX + Thin / 2, std::max(CY, CY - SY * L));
            }
        if (Distance < CloseDistance)
            Text(S.X - M, S.Y + M + Row, Match.GetPilot(I).Name + " " + Int2Str(int32_t(Distance)), HUD_RED);
    }
    if (NearestOff < 1e9f) EdgeArrow(Arrow.X, Arrow.Y);
}

TVector3 tHUD::EdgePoint(float X, float Y, float Inset, TVector3& Direction) const {
    const float CX = Width / 2, CY = Height / 2;
    TVector3 D = {X - CX, Y - CY, 0};
    if (Len(D) < 1) D = {0, -1, 0};
    D = Normalize(D);
    const float Reach = std::min(std::fabs(D.x) > 1e-4f ? (CX - Inset) / std::fabs(D.x) : 1e9f,
                                 std::fabs(D.y) > 1e-4f ? (CY - Inset) / std::fabs(D.y) : 1e9f);
    Direction = D;
    return TVector3{CX, CY, 0} + D * Reach;
}

// A triangle at the window's edge, pointing from the centre toward (X, Y).
void tHUD::EdgeArrow(float X, float Y) {
    TVector3 D;
    const TVector3 Tip = EdgePoint(X, Y, ArrowInset, D);
    const TVector3 Side = {-D.y, D.x, 0};
    const TVector3 Back = Tip - D * ArrowSize;
    Quad(HUD_RED, {Tip, Back + Side * (ArrowSize / 2), Back, Back - Side * (ArrowSize / 2)});
}

// The side a hit came from: a thick red bar along the window's edge there;
// an enemy on the tail: the warning under the crosshair.
void tHUD::DangerMarks(tMatch& Match, tAirplaneActor& Own) {
    const tDangerWatch& Danger = Match.Danger();
    if (Danger.HitMarkLeft > 0) {
        const TScreenPoint S = ProjectToScreen(View, FOV, Width, Height, Danger.HitFrom);
        TVector3 D;
        const TVector3 Mid = EdgePoint(S.X, S.Y, HitMarkInset, D);
        const float Half = HitMarkLength / 2, T = HitMarkThickness;
        if (std::fabs(D.x) * Height > std::fabs(D.y) * Width) {  // the left or the right edge
            const float Inner = D.x > 0 ? Mid.x - T : Mid.x;
            Rect(HUD_RED, Inner, std::max(0.0f, Mid.y - Half), Inner + T, std::min(Height, Mid.y + Half));
        } else {
            const float Inner = D.y > 0 ? Mid.y - T : Mid.y;
            Rect(HUD_RED, std::max(0.0f, Mid.x - Half), Inner, std::min(Width, Mid.x + Half), Inner + T);
        }
    }
    if (Danger.Tailer != 0 && Own.Alive()) {
        const float TextWidth = CharWidth * float(std::strlen(tDangerWatch::TailText));
        Rect(HUD_BACK, (Width - TextWidth) / 2 - 8, TailTextY - Row, (Width + TextWidth) / 2 + 8, TailTextY + 6);
        Text((Width - TextWidth) / 2, TailTextY, tDangerWatch::TailText, HUD_RED);
    }
}

// Where to aim at the nearest enemy within gun range: a small ring at the
// point its shot would meet it, the drop allowed for.
void tHUD::LeadMark(tMatch& Match, tAirplaneActor& Own) {
    const tAirplaneActor* Nearest = nullptr;
    float NearestDistance = TBotBrain::FireRange;
    for (int32_t I = 1; I <= tMatch::MaxPilots; ++I) {
        if (!Match.Valid(I)) continue;
        const tAirplaneActor* A = Match.GetPilot(I).Aircraft;
        if (!A || A == &Own || !A->Alive()) continue;
        const float D = Len(A->_vecPosition - Own._vecPosition);
        if (D < NearestDistance) {
            NearestDistance = D;
            Nearest = A;
        }
    }
    if (!Nearest) return;
    const TVector3 Aim = TBotBrain::LeadPoint(Own._vecPosition, Nearest->_vecPosition,
                                              Nearest->_vecHeading * Nearest->_rSpeed, tWeapon::MuzzleSpeed,
                                              tParticleProjectile::Gravity);
    const TScreenPoint S = ProjectToScreen(View, FOV, Width, Height, Aim);
    if (!S.InFront) return;
    const float R = LeadRing;
    Rect(HUD_AMBER, S.X - R, S.Y - R, S.X + R, S.Y - R + Thin);
    Rect(HUD_AMBER, S.X - R, S.Y + R - Thin, S.X + R, S.Y + R);
    Rect(HUD_AMBER, S.X - R, S.Y - R, S.X - R + Thin, S.Y + R);
    Rect(HUD_AMBER, S.X + R - Thin, S.Y - R, S.X + R, S.Y + R);
}

void tHUD::KillFeed(tMatch& Match) {
    int32_t Lines = 0;
    while (Lines < tMatch::KillFeedLines) {
        const TKillFeedLine& L = Match.KillFeed(Lines);
        if (L.Text.empty() || Match.Now() - L.At > tMatch::KillFeedSeconds) break;
        ++Lines;
    }
    if (Lines == 0) return;
    // Under the score, clear of the console's message line at the top left.
    const float X = Width - FeedWidth - Margin, Y = Margin + Row + 12;
    Rect(HUD_BACK, X - 6, Y - 4, Width - Margin, Y + float(Lines) * Row + 6);
    for (int32_t I = 0; I < Lines; ++I) Text(X, Y + float(I + 1) * Row, Match.KillFeed(I).Text, HUD_WHITE);
}

void tHUD::Scoreboard(tMatch& Match) {
    int32_t Rows = 0;
    for (int32_t I = 1; I <= tMatch::MaxPilots; ++I) Rows += Match.Valid(I);
    // A networked match shows each pilot's ping too.
    bool Pings = false;
    for (int32_t I = 1; I <= tMatch::MaxPilots; ++I) Pings |= Match.Valid(I) && Match.GetPilot(I).PingMilliseconds >= 0;
    const int32_t Columns = Pings ? 6 : 5;
    const float W = float(Columns) * ScoreColumn + 2 * Margin, H = float(Rows + 1) * Row + 2 * Margin;
    const float X = (Width - W) / 2, Y = (Height - H) / 2;
    Rect(HUD_BACK, X, Y, X + W, Y + H);
    const char* Titles[] = {"PILOT", "KILLS", "DEATHS", "SCORE", "CREDITS", "PING"};
    for (int32_t C = 0; C < Columns; ++C) Text(X + Margin + float(C) * ScoreColumn, Y + Margin + Row, Titles[C], HUD_AMBER);
    float RowY = Y + Margin + 2 * Row;
    for (int32_t I = 1; I <= tMatch::MaxPilots; ++I) {
        if (!Match.Valid(I)) continue;
        const TPilot& P = Match.GetPilot(I);
        const int32_t Values[] = {P.Kills, P.Deaths, P.Score(), P.Credits};
        const TColour Colour = I == Match.OwnPilot() ? HUD_GREEN : HUD_WHITE;
        Text(X + Margin, RowY, P.Name, Colour);
        for (int32_t C = 0; C < 4; ++C)
            Text(X + Margin + float(C + 1) * ScoreColumn, RowY, Int2Str(Values[C]), Colour);
        if (Pings && P.PingMilliseconds >= 0) Text(X + Margin + 5 * ScoreColumn, RowY, Int2Str(P.PingMilliseconds), Colour);
        RowY += Row;
    }
}

void tHUD::Render(tMatch& Match) {
    tViewport* Viewport = Engine->Viewport;
    tCamera* Camera = Engine->World ? Engine->World->GetCamera() : nullptr;
    if (!Viewport || !Camera) return;
    // Laid out as in a 1024 x 768 window, then grown to the window's size.
    Scale = CurrentUIScale();
    Width = float(Viewport->GetViewportWidth()) / Scale;
    Height = float(Viewport->GetViewportHeight()) / Scale;
    View = Camera->GetViewingTransformation();
    FOV = Engine->Renderer->GetFOV();

    tAirplaneActor* Own = Match.PlayerAircraft();
    if (Own && Own->HitFlash > 0) Rect(HUD_FLASH, 0, 0, Width, Height);
    if (Own && Own->Alive()) {
        Instruments(Match, *Own);
        Crosshair(*Own);
        LeadMark(Match, *Own);
    }
    if (Own) DangerMarks(Match, *Own);
    EnemyMarkers(Match, Own);
    const int32_t Score = Match.Valid(Match.OwnPilot()) ? Match.GetPilot(Match.OwnPilot()).Score() : 0;
    Rect(HUD_BACK, Width - 2 * ScoreColumn - 6, Margin - 4, Width - Margin, Margin + Row + 6);
    Text(Width - 2 * ScoreColumn, Margin + Row, "SCORE " + Int2Str(Score), HUD_WHITE);
    KillFeed(Match);
    const tInputDevice* Input = Viewport->GetInputDevice();
    if (Input && Input->Keys[ScoreboardKey] && !Console->LocalHUDVisible) Scoreboard(Match);
    DrawBatches();
}
