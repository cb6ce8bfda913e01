#include "game/meshactor.h"

#include "game/objectnames.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tMeshActor, .Operations = {{"Render"}, {"Spawned"}})
Z_IMPLEMENT_CLASS(tBoxActor, .Operations = {{"SetPosition"}})

tMeshActor::tMeshActor(const ShortString& Name) : tActor(Name) {
    ProcTrace trace("tMeshActor.Init()");
    StartPosition = VectorFromName(Name, 1);
}

tMeshActor::~tMeshActor() {
    if (SceneNode) DisposeObject(SceneNode);
}

void tMeshActor::Spawned() {
    SetPosition(StartPosition);
    SceneNode = Resources->LoadMesh(MeshFileName, static_cast<float>(MeshSize));
    Logger->Guard(SceneNode != nullptr, "SceneNode=Nil");
    tActor::Spawned();
}

void tMeshActor::Render() {
    ProcTrace trace("tMeshActor.Render()");
    if (SceneNode) SceneNode->RenderSubMeshes();
}

tBoxActor::tBoxActor(const ShortString& Name) : tMeshActor(Name) {
    ProcTrace trace("tBoxActor.Init(" + Name + ")");
    MeshFileName = BoulderMesh;
    MeshSize = BoulderSize;
}

void tMeshActor::RenderPosed(const TVector3& Position, const TMatrix4& Rotation) {
    tRenderDevice* Device = Engine->Renderer;
    TMatrix4 Translation = IdentityMatrix4;
    MTranslateMatrixF(Translation, Position);
    Device->BeginTransform(ZFT_MULT, &Translation);
    Device->BeginTransform(ZFT_MULT, &Rotation);
    tMeshActor::Render();
    Device->EndTransform(ZFT_MULT);
    Device->EndTransform(ZFT_MULT);
}
