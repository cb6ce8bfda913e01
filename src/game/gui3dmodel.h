#pragma once
// The model viewer: a view that shows an aircraft turning slowly, lit from
// above, inside its region. Until the game's meshes are loaded here it is a
// model built from the geometry server's boxes: fuselage, wings, tailplane
// and fin.

#include "kernel/gui/view.h"

class tShaderResource;
class tVertexArray;

class tGUI3DModel : public tGUIView {
    Z_DECLARE_CLASS(tGUI3DModel, tGUIView)
public:
    static constexpr int32_t Parts = 4;
    static constexpr float TurnDegreesPerSecond = 40.0f;

    explicit tGUI3DModel(const ShortString& Params);
    ~tGUI3DModel() override;

    void Render() override;
    TGUIMessage GUI_Timer(float DeltaSeconds) override;

    float Heading = 0;  // degrees
    tShaderResource* ModelShader = nullptr;
    tVertexArray* Geometry[Parts] = {};  // owned
};
