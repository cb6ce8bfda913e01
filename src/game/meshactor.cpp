#include "game/meshactor.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tMeshActor, .Operations = {{"Render"}, {"Spawned"}})
Z_IMPLEMENT_CLASS(tBoxActor, .Operations = {{"SetPosition"}})

tMeshActor::tMeshActor(const ShortString& Name) : tActor(Name) {
    ProcTrace trace("tMeshActor.Init()");
    StartPosition = {Str2Flt(GetToken(Name, 1)), Str2Flt(GetToken(Name, 2)), Str2Flt(GetToken(Name, 3))};
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
