#pragma once
// What the OpenGL device resets every frame: the queue of text strings drawn
// over the finished frame and the fog colour the frame clears to.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/resources/zobject.h"
#include "libraries/math/vector.h"

struct TTextString {
    float X = 0, Y = 0, Z = 0;
    TVector4 TextColor;
    ShortString TextString;
    uint32_t FontID = 0;  // the first display list of the font's glyphs
};

class tFrame : public tZObject {
    Z_DECLARE_CLASS(tFrame, tZObject)
public:
    static constexpr int32_t MaxTextStrings = 1000;
    static constexpr TVector4 InitialFogColor = {0.6f, 0.6f, 0.9f, 1.0f};

    // Adopts the pending fog colour and clears the window to it.
    void BeginFrame(bool WireFrame);
    void EndFrame() {}

    TTextString TextStrings[MaxTextStrings];  // 0-based here, in order of addition
    int32_t TotalTextStrings = 0;
    TVector4 FogColor = InitialFogColor;
    TVector4 PendingFogColor = InitialFogColor;
};
