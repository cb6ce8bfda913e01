#pragma once
// What the OpenGL device resets every frame: the render state last applied,
// the occlusion tests, the queue of text strings drawn over the finished
// frame and the fog colour the frame clears to.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"
#include "libraries/math/vector.h"

class tQueryFeedbackContext;
class tShaderResource;

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
    static constexpr int32_t MaxOcclusionTests = 100;
    static constexpr TVector4 InitialFogColor = {0.6f, 0.6f, 0.9f, 1.0f};

    // Adopts the pending fog colour and clears the window to it.
    void BeginFrame(bool WireFrame);
    void EndFrame() {}
    // Applies Shader's whole state; it becomes the current one.
    void SetState(tShaderResource* Shader);
    // Changes the state from the current shader's to Shader's.
    void UpdateState(tShaderResource* Shader);
    // For code that changed the shaders' OpenGL state directly: the next
    // shader applies its whole state.
    void ForgetState() { State_CurrentShader = nullptr; }

    tShaderResource* State_CurrentShader = nullptr;
    tQueryFeedbackContext* OcclusionTests[MaxOcclusionTests] = {};
    int32_t TotalOcclusionTests = 0;

    TTextString TextStrings[MaxTextStrings];  // 0-based here, in order of addition
    int32_t TotalTextStrings = 0;
    TVector4 FogColor = InitialFogColor;
    TVector4 PendingFogColor = InitialFogColor;
};
