// A package for the free camera's tests: the subsystem tCameraTestScene,
// spawned by a console script, draws three boxes of 10 units in the view of
// the world's camera, so a screenshot shows where the camera stands and looks:
//   red    centred at (100, 300, 50)
//   green  centred at (140, 300, 50), east of the red one
//   white  centred at (100, 300, 90), above the red one
// with the shaders of Data\Shaders\CameraTest (written by the test).

#include "kernel/core/globals.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vagl.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/subsystem.h"

namespace {

constexpr const char* PackageDate = "2024/03/01 12:00:00";
constexpr float HalfSize = 5;

struct tSceneBox {
    TVector3 Centre;
    const char* Shader;
};

constexpr tSceneBox SceneBoxes[] = {{{100, 300, 50}, "Shaders\\CameraTest\\red.shader"},
                                    {{140, 300, 50}, "Shaders\\CameraTest\\green.shader"},
                                    {{100, 300, 90}, "Shaders\\CameraTest\\white.shader"}};
constexpr int BoxCount = sizeof(SceneBoxes) / sizeof(SceneBoxes[0]);

}  // namespace

class tCameraTestScene : public tSubSystem {
    Z_DECLARE_CLASS(tCameraTestScene, tSubSystem)
public:
    tCameraTestScene() {
        tRenderDevice* Device = Engine->Renderer;
        for (int I = 0; I < BoxCount; ++I) {
            TBoundingBox Bounds;
            Bounds.Min = SceneBoxes[I].Centre - TVector3{HalfSize, HalfSize, HalfSize};
            Bounds.Max = SceneBoxes[I].Centre + TVector3{HalfSize, HalfSize, HalfSize};
            Boxes[I] = Device->VertexArrayManager->AllocateVA(24, 0, GN_TRUE, PRIM_QUADS);
            Device->GeometryServer->CreateBBox_Geometry(Boxes[I], Bounds);
            Shaders[I] = Resources->LoadShader(SceneBoxes[I].Shader);
        }
    }
    ~tCameraTestScene() override {
        for (tVertexArray*& VA : Boxes) DisposeObject(VA);
    }

    void Tick(float) override {}

    void RenderFrame() override {
        tRenderDevice* Device = Engine->Renderer;
        const TMatrix4 View = Engine->GetWorld()->HandSceneViewToRenderer();
        Device->BeginTransform(ZFT_REPLACE, &View);
        for (int I = 0; I < BoxCount; ++I) Device->AddBuffer(Boxes[I], Shaders[I]);
        Device->EndTransform(ZFT_REPLACE);
    }

private:
    tVertexArray* Boxes[BoxCount] = {};
    tShaderResource* Shaders[BoxCount] = {};
};
Z_IMPLEMENT_CLASS(tCameraTestScene, .Operations = {{"Tick"}, {"RenderFrame"}})

extern "C" {

bool InitPackage(tPluginAPIStruct* API) { return API->_SIZE == sizeof(tPluginAPIStruct); }

int32_t GetPackageContent() { return 1; }

void GetPackage(uint8_t* Record, int32_t) {
    tZClass C = tCameraTestScene::StaticClass();
    C.CompilationDate = PackageDate;
    WritePackageRecord(Record, C);
}

}  // extern "C"
