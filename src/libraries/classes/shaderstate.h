#pragma once
// The render state a surface shader describes: up to four texture units with
// their textures (or animated sequences of them), combine modes and texture
// coordinate animation; blending; depth, colour and occlusion switches; point
// sprites; a vertex rotation; the projection.

#include <cstdint>

#include "libraries/math/matrix.h"

class tTextureResource;

enum TProjection : int32_t { ZPR_ORTHOGRAPHIC = 0, ZPR_PERSPECTIVE = 1 };

enum TTextureAnimation : int32_t { TA_NONE = 0, TA_DISPLACEUV = 1, TA_ROTATEUV = 2, TA_ITERATETEXTURES = 3 };

// The parameters of the unit's TTextureAnimation; only those of its kind are used.
struct TTextureAnimationParams {
    float DeltaU = 0, DeltaV = 0;  // TA_DISPLACEUV: texture units per second
    float Angle = 0;               // TA_ROTATEUV: degrees per second
    int32_t Iterations = 0;        // TA_ITERATETEXTURES: frames of the sequence
    float FPS = 0;                 //   frames per second
    float LastTimeStamp = 0;       //   engine time of the last frame change
};

inline constexpr int32_t MaxShaderTextureUnits = 4;
inline constexpr int32_t MaxTextureFrames = 32;

struct TShaderTextureRec {
    // Slots 1..32 of the texture (or of an animated sequence's frames) are
    // TextureID[0..31]; empty slots are nullptr. The textures are shared
    // resources, not owned.
    tTextureResource* TextureID[MaxTextureFrames] = {};
    int32_t CurrentIDIndex = 1;  // the slot drawn, 1..32
    uint32_t TexCombine = 0;     // RGB combine function; 0 replaces with the texture
    // A caller's matrix that replaces the unit's animation while attached.
    bool TextureMatrixAttached = false;
    TMatrix4 TextureMatrix = IdentityMatrix4;
    TTextureAnimation Animation = TA_NONE;
    TTextureAnimationParams AnimationParams;

    tTextureResource* CurrentTexture() const { return TextureID[CurrentIDIndex - 1]; }
};

struct TBlending {
    bool Blended = false;
    uint32_t BlendSrc = 0, BlendDst = 0;  // OpenGL blend factors
};

enum TVertexAnimation : int32_t { VA_NONE = 0, VA_ROTATE = 1 };

struct TVertexAnimationParams {
    int32_t DeltaA = 0;  // word angle per second (65536 a turn)
    float XAxis = 0, YAxis = 0, ZAxis = 0;
};

struct TPointSprite {
    bool Enabled = false;
    int32_t PointSize = 0;
};
