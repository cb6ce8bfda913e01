// A package for the mesh tests: the subsystem tMeshTestScene, spawned by a
// console script, draws the game's four meshes through the resources manager
// (replicas resized to the game's sizes) in a fixed arrangement:
//   the biplane at the origin, nose along +Y
//   the pursuit plane at (6, 5, 0)
//   the boulder at (-6, 5, -1)
//   the credits coin at (0, 7, 1.5), facing the -Y side
// seen from the view numbered by the console variable "MeshSceneView":
//   1  (the default) from behind and above the biplane, as the chase camera
//   2  from the front right, above
//   3  the biplane close up from the front left
//   4  the pursuit plane close up from the left, above
// The meshes' screen positions go to the log once per view.
//
// tMeshExhibit is a mesh actor placed by its name, "x y z size file", and drawn
// at (x, y, z). tActorsTestView draws the world's actors in the view of the
// world's camera, as a level does.

#include "game/meshactor.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/world/camera.h"
#include "kernel/world/world.h"
#include "kernel/objects/pluginapi.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/subsystem.h"
#include "libraries/classes/varsmanager.h"

namespace {

constexpr const char* PackageDate = "2024/03/01 12:00:00";

struct TPlacedMesh {
    const char* File;
    float Size;
    TVector3 Place;
};
constexpr int MeshCount = 4;
constexpr TPlacedMesh Placed[MeshCount] = {{"plane3\\plane_normals.ase", 3, {0, 0, 0}},
                                           {"plane4\\craft.ase", 3, {6, 5, 0}},
                                           {"box\\boulder_normals.ase", 5, {-6, 5, -1}},
                                           {"Pickups\\Credits_Pickup.ase", 3, {0, 7, 1.5f}}};

struct TView {
    TVector3 Eye, Target;
};
constexpr int ViewCount = 4;
constexpr TView Views[ViewCount] = {
    {{0, -9, 3.5f}, {0, 3, 0.5f}}, {{11, -4, 6}, {0, 3, 0}}, {{-2.5f, 3, 1}, {0, 0, 0}}, {{2.5f, 3, 2}, {6, 5, 0}}};

// The view matrix of an eye looking at a target, z up (as gluLookAt).
TMatrix4 LookAt(const TView& View) {
    const TVector3 F = Normalize(View.Target - View.Eye);
    const TVector3 S = Normalize(Cross(F, {0, 0, 1}));
    const TVector3 U = Cross(S, F);
    TMatrix4 M = IdentityMatrix4;
    const TVector3 Rows[3] = {S, U, -F};
    for (int R = 0; R < 3; ++R) {
        M[R] = Rows[R].x;
        M[4 + R] = Rows[R].y;
        M[8 + R] = Rows[R].z;
        M[12 + R] = -Dot(Rows[R], View.Eye);
    }
    return M;
}

}  // namespace

class tMeshTestScene : public tSubSystem {
    Z_DECLARE_CLASS(tMeshTestScene, tSubSystem)
public:
    tMeshTestScene() {
        EngineVars->SetVar("MeshSceneView", int32_t(1));
        for (int I = 0; I < MeshCount; ++I) Meshes[I] = Resources->LoadMesh(Placed[I].File, Placed[I].Size);
    }
    ~tMeshTestScene() override {
        for (tMeshResource*& Mesh : Meshes)
            if (Mesh) DisposeObject(Mesh);
    }

    void Tick(float) override {}

    void RenderFrame() override {
        int32_t View = 1;
        EngineVars->GetVar("MeshSceneView", View);
        View = View >= 1 && View <= ViewCount ? View : 1;
        tRenderDevice* Device = Engine->Renderer;
        const TMatrix4 Camera = LookAt(Views[View - 1]);
        Device->BeginTransform(ZFT_REPLACE, &Camera);
        for (int I = 0; I < MeshCount; ++I) {
            TMatrix4 Placement = IdentityMatrix4;
            MTranslateMatrixF(Placement, Placed[I].Place);
            Device->BeginTransform(ZFT_MULT, &Placement);
            Meshes[I]->RenderSubMeshes();
            if (Reported != View) ReportPosition(I);
            Device->EndTransform(ZFT_MULT);
        }
        Reported = View;
        Device->EndTransform(ZFT_REPLACE);
    }

private:
    void ReportPosition(int I) {
        const TVector3 P = Engine->Renderer->ProjectPoint({0, 0, 0});
        Logger->Log(ShortString("Mesh ") + Placed[I].File + " at " + Int2Str(static_cast<int32_t>(P.x)) + " " +
                    Int2Str(static_cast<int32_t>(P.y)));
    }

    tMeshResource* Meshes[MeshCount] = {};
    int32_t Reported = 0;
};
Z_IMPLEMENT_CLASS(tMeshTestScene, .Operations = {{"Tick"}, {"RenderFrame"}})

class tMeshExhibit : public tMeshActor {
    Z_DECLARE_CLASS(tMeshExhibit, tMeshActor)
public:
    explicit tMeshExhibit(const ShortString& Name) : tMeshActor(Name) {
        MeshSize = Str2Int(GetToken(Name, 4));
        MeshFileName = GetToken(Name, 5);
    }
    void SetPosition(const TVector3& V) override {
        Placement = IdentityMatrix4;
        MTranslateMatrixF(Placement, V);
    }
    void Render() override {
        Engine->Renderer->BeginTransform(ZFT_MULT, &Placement);
        tMeshActor::Render();
        Engine->Renderer->EndTransform(ZFT_MULT);
    }

private:
    TMatrix4 Placement = IdentityMatrix4;
};
Z_IMPLEMENT_CLASS(tMeshExhibit, .Operations = {{"SetPosition"}, {"Render"}})

class tActorsTestView : public tSubSystem {
    Z_DECLARE_CLASS(tActorsTestView, tSubSystem)
public:
    void Tick(float) override {}
    void RenderFrame() override {
        tWorld* World = Engine->GetWorld();
        const TMatrix4 View = World->HandSceneViewToRenderer();
        Engine->Renderer->BeginTransform(ZFT_REPLACE, &View);
        tActorsList* Actors = World->GetActorsList();
        for (int32_t I = 1; I <= Actors->GetTotalItems(); ++I) Actors->GetActor(I)->Render();
        Engine->Renderer->EndTransform(ZFT_REPLACE);
    }
};
Z_IMPLEMENT_CLASS(tActorsTestView, .Operations = {{"Tick"}, {"RenderFrame"}})

extern "C" {

bool InitPackage(tPluginAPIStruct* API) { return API->_SIZE == sizeof(tPluginAPIStruct); }

int32_t GetPackageContent() { return 3; }

void GetPackage(uint8_t* Record, int32_t Index) {
    tZClass C = Index == 1   ? tMeshTestScene::StaticClass()
                : Index == 2 ? tMeshExhibit::StaticClass(CT_SpawnableConstructor)
                             : tActorsTestView::StaticClass();
    C.CompilationDate = PackageDate;
    WritePackageRecord(Record, C);
}

}  // extern "C"
