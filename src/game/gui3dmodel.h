#pragma once
// The model viewer: a window that shows the game's biplane turning slowly
// in the sunlight, drawn in perspective with its own lit shaders inside the
// window's body. Dragging or resizing the window takes the model along.

#include "libraries/gui/panel.h"

class tMeshResource;

class tGUI3DModel : public tGUIWindow {
    Z_DECLARE_CLASS(tGUI3DModel, tGUIWindow)
public:
    static constexpr const char* ModelFile = "plane3\\plane_normals.ase";
    static constexpr float ModelSize = 3.0f;  // the wingspan, as the game flies it
    static constexpr float TurnDegreesPerSecond = 40.0f;

    explicit tGUI3DModel(const ShortString& Params);
    ~tGUI3DModel() override;

    void Render() override;
    TGUIMessage GUI_Timer(float DeltaSeconds) override;

    float Heading = 0;               // degrees
    tMeshResource* Model = nullptr;  // owned replica; none where nothing is drawn
};
