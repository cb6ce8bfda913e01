#include "game/gui3dmodel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/gui/screen.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/math/angles.h"

Z_IMPLEMENT_CLASS(tGUI3DModel, .Operations = {{"Render"}, {"GUI_Timer"}})

namespace {

constexpr int32_t StageInset = 4;  // between the window's edges and the model's stage
constexpr float FOVDegrees = 30.0f;
// The camera looks down on the model from the sun's side, so what it sees is lit.
constexpr float ElevationDegrees = 20.0f;
constexpr float AzimuthDegrees = -40.0f;
// A sphere round the model's origin (the fuselage) that holds the whole
// biplane; the camera backs off until it fits the stage's smaller side.
constexpr float ModelRadius = 1.55f;

TWordAngle WordAngleOf(float Degrees) {
    return static_cast<TWordAngle>(static_cast<int32_t>(std::lround(Degrees / 360.0f * 65536.0f)) & 0xFFFF);
}

// Looking at the origin, z up, from far enough that the model fills a stage
// of the aspect Width / Height.
TMatrix4 StageCamera(float Aspect) {
    const float HalfVertical = FOVDegrees * 0.5f * std::numbers::pi_v<float> / 180.0f;
    const float HalfHorizontal = std::atan(Aspect * std::tan(HalfVertical));
    const float Distance = ModelRadius / std::sin(std::min(HalfVertical, HalfHorizontal));
    TMatrix4 View = IdentityMatrix4;
    MTranslateMatrixF(View, 0, 0, -Distance);
    // From looking down the z axis to looking along y, tilted down.
    MRotateMatrixXF(View, WordAngleOf(ElevationDegrees - 90.0f));
    MRotateMatrixZF(View, WordAngleOf(AzimuthDegrees));
    return View;
}

}  // namespace

tGUI3DModel::tGUI3DModel(const ShortString& Params) : tGUIWindow(Params) {
    ProcTrace trace("tGUI3DModel.Init(" + Params + ")");
    if (GUIDeviceDraws()) Model = Resources->LoadMesh(ModelFile, ModelSize);
}

tGUI3DModel::~tGUI3DModel() {
    if (Model) DisposeObject(Model);
}

TGUIMessage tGUI3DModel::GUI_Timer(float DeltaSeconds) {
    Heading = std::fmod(Heading + TurnDegreesPerSecond * DeltaSeconds, 360.0f);
    return tGUIWindow::GUI_Timer(DeltaSeconds);
}

void tGUI3DModel::Render() {
    if (!DrawWindow() || !Model) return;
    const int32_t Left = X + StageInset, Top = Y + CaptionHeight() + StageInset;
    const int32_t Width = X1 - StageInset - Left, Height = Y1 - GripSize - StageInset - Top;
    if (Width <= 0 || Height <= 0) return;
    tRenderDevice* R = GUIRenderer();
    R->BeginSubView(Left, Top, Width, Height, FOVDegrees,
                    StageCamera(static_cast<float>(Width) / static_cast<float>(Height)));
    TMatrix4 Turn = IdentityMatrix4;
    MRotateMatrixZF(Turn, WordAngleOf(Heading));
    R->BeginTransform(ZFT_MULT, &Turn);
    Model->RenderSubMeshes();
    R->EndTransform(ZFT_MULT);
    R->EndSubView();
}
