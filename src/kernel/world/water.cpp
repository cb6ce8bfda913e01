#include "kernel/world/water.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/feedbackcontext.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tWater, .Operations = {{"Render"}, {"IsVisible"}, {"GetWaterlinePlane"}},
                  .Published = {ZPublished<&tWater::BeginPlay>("BeginPlay")})

tWater::tWater() : WaterLine(0, 0, 1, -SeaLevel) {
    ProcTrace trace("tWater.Init()");
    tRenderDevice* Device = AssignedRenderDevice();
    TesselateWater();
    WaterShader = Resources->LoadShader("shaders\\water.shader");
    WaterLowDetailShader = Resources->LoadShader("shaders\\water_lowdetail.shader");
    OcclusionQuery = Device->AllocateOcclusionQueryFC();
    OccluderShader = Resources->LoadShader("shaders\\occluder.shader");
    OccluderShader->FeedbackContext = OcclusionQuery;
}

tWater::~tWater() {
    ProcTrace trace("tWater.Done()");
    if (WaterVA) DisposeObject(WaterVA);
    // The occluder shader is shared: it must not count into a query that is
    // gone. At shutdown the resources manager, and its shaders, went first.
    if (Resources && OccluderShader && OccluderShader->FeedbackContext == OcclusionQuery)
        OccluderShader->FeedbackContext = nullptr;
    if (OcclusionQuery) DisposeObject(OcclusionQuery);
}

void tWater::TesselateWater() {
    ProcTrace trace("tWater.TesselateWater()");
    Logger->Log("Allocationg region...");
    WaterVA = tVertexArrayManager::Current()->AllocateVA(StripVertices, 0, GN_FALSE, PRIM_TRIANGLE_STRIP);
    DeltaTex = WaterDeltaTex;
    Logger->Log("Tesselating...");
    TVector3* Vertex = WaterVA->GetVertices();
    // Grid coordinates as texture coordinates, for shaders without a program.
    TVector2* TexCoord = WaterVA->GetTexCoords(0);
    const auto Emit = [&](int32_t I, int32_t J) {
        *Vertex++ = {CellSize * float(I), CellSize * float(J), SeaLevel};
        *TexCoord++ = {float(I), float(J)};
    };
    const int32_t Half = GridCells / 2;
    for (int32_t J = -Half; J < Half; ++J) {
        for (int32_t I = -Half; I <= Half; ++I) {
            Emit(I, J);
            Emit(I, J + 1);
        }
        // The row's last vertex again and the next row's first: zero-area
        // triangles that join the rows into one strip.
        Emit(Half, J + 1);
        Emit(-Half, J + 1);
    }
    // The final joining pair leads nowhere.
    WaterVA->SetActiveVertexCount(StripVertices - 2);
    Logger->Log("Tesselation done.");
}

void tWater::RepositionWater() {
    Engine->Renderer->GeometryServer->Translate(WaterVA, TerrainOffset);
    WaterRepositioned = true;
}

void tWater::BeginPlay() {
    ProcTrace trace("tWater.BeginPlay()");
    if (WaterRepositioned) return;
    // Without a terrain the sea stays hidden until a later begin-play.
    tWorld* World = Engine->GetWorld();
    if (World->HasTerrain() && World->GetTerrainForPoint({0, 0, 0})) RepositionWater();
}

void tWater::Render() {
    tCamera* Camera = Engine->GetWorld()->GetCamera();
    if (!WaterRepositioned || !Camera) return;
    const float CameraHeight = Camera->GetCameraPosition().z;
    tShaderResource* Shader = CameraHeight <= LowDetailHeight ? WaterShader : WaterLowDetailShader;
    if (Shader->ShaderProgram) Shader->ShaderProgram->SetDeltaTex(DeltaTex);
    Engine->Renderer->AddBuffer(WaterVA, Shader);
}
