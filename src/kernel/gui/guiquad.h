#pragma once
// A rectangle the GUI draws with a surface shader: one quad of the render
// device's vertex arrays, rebuilt by the geometry server when it moves. Where
// the render device draws nothing (no geometry server), quads and shaders are
// empty and drawing them does nothing.

#include "kernel/core/shortstring.h"
#include "kernel/renderer/va/vertexarray.h"
#include "libraries/math/matrix.h"

class tShaderResource;

// The shapes the GUI draws: quads (PRIM_QUADS) and bevelled rectangles
// (PRIM_POLYGON).
inline constexpr int32_t GUIQuadVertices = QuadCorners;
inline constexpr int32_t GUIBevelVertices = 12;


class tGUIQuad {
public:
    tGUIQuad();
    ~tGUIQuad();
    tGUIQuad(const tGUIQuad&) = delete;
    tGUIQuad& operator=(const tGUIQuad&) = delete;

    void SetRect(float X1, float Y1, float X2, float Y2);
    void Draw(tShaderResource* Shader);
    // Drawn moved by Transform.
    void Draw(tShaderResource* Shader, const TMatrix4& Transform);

private:
    tVertexArray* VA = nullptr;
};

// The shader from the resources manager; nullptr where nothing is drawn.
tShaderResource* LoadGUIShader(const ShortString& Name);
// Whether the render device draws: it has vertex arrays, a geometry server
// and resources to draw with.
bool GUIDeviceDraws();
