#include "game/gui3dmodel.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/gui/guiquad.h"
#include "kernel/gui/screen.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/math/angles.h"

Z_IMPLEMENT_CLASS(tGUI3DModel, .Operations = {{"Render"}, {"GUI_Timer"}})

namespace {

constexpr int32_t BoxVertices = 24;
// The GUI's projection keeps depths between -1 and 1: the model is flattened
// towards the screen by this much (its shader undoes it for the normals).
constexpr float DepthFlattening = 0.001f;
constexpr float TiltDegrees = -65.0f;   // looking down on the aircraft from ahead and above
constexpr float ModelExtent = 2.4f;     // the model's span, which the region's smaller side holds

// An aircraft along x, wings along y, z up, about 2.4 units long and wide:
// each part's lowest and highest corner.
struct tPart {
    TVector3 Min, Max;
};
constexpr tPart AircraftParts[tGUI3DModel::Parts] = {
    {.Min = {-1.1f, -0.14f, -0.14f}, .Max = {1.1f, 0.14f, 0.14f}},    // fuselage
    {.Min = {-0.13f, -1.15f, -0.03f}, .Max = {0.43f, 1.15f, 0.03f}},  // wings
    {.Min = {-1.09f, -0.42f, 0.03f}, .Max = {-0.81f, 0.42f, 0.07f}},  // tailplane
    {.Min = {-1.09f, -0.02f, 0.05f}, .Max = {-0.81f, 0.02f, 0.49f}},  // fin
};

TWordAngle WordAngleOf(float Degrees) {
    return static_cast<TWordAngle>(static_cast<int32_t>(std::lround(Degrees / 360.0f * 65536.0f)) & 0xFFFF);
}

}  // namespace

tGUI3DModel::tGUI3DModel(const ShortString& Params) : tGUIView(Params) {
    tRenderDevice* R = GUIRenderer();
    ModelShader = LoadGUIShader("interface\\shaders\\model.shader");
    if (!ModelShader) return;  // nothing is drawn on this device
    for (int32_t I = 0; I < Parts; ++I) {
        Geometry[I] = R->VertexArrayManager->AllocateVA(BoxVertices, 1, GN_TRUE, GUIQuadsPrimitive);
        TBoundingBox Box;
        Box.Min = AircraftParts[I].Min;
        Box.Max = AircraftParts[I].Max;
        R->GeometryServer->CreateBBox_Geometry(Geometry[I], Box);
    }
}

tGUI3DModel::~tGUI3DModel() {
    for (tVertexArray*& VA : Geometry)
        if (VA) DisposeObject(VA);
}

TGUIMessage tGUI3DModel::GUI_Timer(float DeltaSeconds) {
    Heading = std::fmod(Heading + TurnDegreesPerSecond * DeltaSeconds, 360.0f);
    return tGUIView::GUI_Timer(DeltaSeconds);
}

void tGUI3DModel::Render() {
    if (!ModelShader) return;
    tRenderDevice* R = GUIRenderer();
    const float Scale = static_cast<float>(std::min(W, H)) / ModelExtent;
    // Screen y grows downwards: the model's y is mirrored so it keeps its handedness on screen.
    TMatrix4 M = IdentityMatrix4;
    MTranslateMatrixF(M, static_cast<float>(X) + W / 2.0f, static_cast<float>(Y) + H / 2.0f, 0);
    MScaleMatrixF(M, Scale, -Scale, Scale * DepthFlattening);
    MRotateMatrixXF(M, WordAngleOf(TiltDegrees));
    MRotateMatrixZF(M, WordAngleOf(Heading));
    R->BeginTransform(ZFT_MULT, &M);
    for (tVertexArray* VA : Geometry) R->AddBuffer(VA, ModelShader);
    R->EndTransform(ZFT_MULT);
}
