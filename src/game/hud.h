#pragma once
// The head-up display over the 3D frame: the player's instruments (speed as
// a share of the top speed, height over the ground, health, the gun's
// recharge), credits and score, a crosshair where the gun points, a marker
// on every enemy in view (name and distance when close) and an arrow at the
// screen's edge toward the nearest one out of view, the kill feed, a red
// flash when hit, and the scoreboard while Tab is held. Dangers: a mark at
// the screen's edge on the side a hit came from, "on your tail" while an
// enemy sits behind within gun range, and a lead mark where to aim at the
// nearest enemy in range.
//
// Shapes are quads in window pixels, batched by colour into vertex arrays
// made once; text goes through the render device's text queue. Everything
// is laid out for 1024 x 768 and grows with the interface scale.

#include <array>
#include <cstdint>

#include "kernel/core/shortstring.h"
#include "libraries/math/matrix.h"
#include "libraries/math/vector.h"

class tMatch;
class tShaderResource;
class tVertexArray;
class tAirplaneActor;

// Where a point of the world lands in the window (pixels, top-left origin),
// through a camera's view and a vertical field of view; InFront is false for
// a point behind the camera.
struct TScreenPoint {
    float X = 0, Y = 0;
    bool InFront = false;
};
TScreenPoint ProjectToScreen(const TMatrix4& View, float FOVDegrees, float Width, float Height,
                             const TVector3& Point);

class tHUD {
public:
    static constexpr int32_t MaxQuads = 48;      // a batch: one colour
    static constexpr float MarkerSize = 14;
    static constexpr float CloseDistance = 400;  // markers name the enemy nearer than this
    static constexpr uint8_t ScoreboardKey = 9;  // Tab

    enum TColour : int32_t { HUD_BACK, HUD_WHITE, HUD_GREEN, HUD_AMBER, HUD_RED, HUD_FLASH, HUD_COLOURS };

    tHUD();
    ~tHUD();
    tHUD(const tHUD&) = delete;
    tHUD& operator=(const tHUD&) = delete;

    void Render(tMatch& Match);

private:
    struct TBatch {
        tVertexArray* VA = nullptr;  // owned
        tShaderResource* Shader = nullptr;
        int32_t Count = 0;
    };

    void Quad(TColour Colour, const TVector3 (&Corners)[4]);
    void Rect(TColour Colour, float X1, float Y1, float X2, float Y2);
    void Bar(TColour Colour, float X, float Y, float Fill, const ShortString& Label);
    void Text(float X, float Y, const ShortString& Line, TColour Colour);
    void Instruments(tMatch& Match, tAirplaneActor& Aircraft);
    void Crosshair(tAirplaneActor& Aircraft);
    void EnemyMarkers(tMatch& Match, const tAirplaneActor* Own);
    void EdgeArrow(float X, float Y);
    // Where the line from the window's centre toward (X, Y) meets a border
    // Inset pixels inside the window's edge; Direction is that line's.
    TVector3 EdgePoint(float X, float Y, float Inset, TVector3& Direction) const;
    void DangerMarks(tMatch& Match, tAirplaneActor& Own);
    void LeadMark(tMatch& Match, tAirplaneActor& Own);
    void KillFeed(tMatch& Match);
    void Scoreboard(tMatch& Match);
    void DrawBatches();

    std::array<TBatch, HUD_COLOURS> Batches{};
    float Width = 0, Height = 0;  // the window's, shrunk by Scale
    float Scale = 1;              // the interface's growth over 1024 x 768
    TMatrix4 View = IdentityMatrix4;
    float FOV = 90;
};
