#include "kernel/gui/guiquad.h"

#include "kernel/core/globals.h"
#include "kernel/gui/screen.h"
#include "kernel/objects/zobject.h"
#include "kernel/renderer/geometry/geometryserver.h"
#include "kernel/renderer/va/vamanager.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"

tGUIQuad::tGUIQuad() {
    if (GUIDeviceDraws()) VA = GUIRenderer()->VertexArrayManager->AllocateVA(GUIQuadVertices, 1, GN_FALSE, PRIM_QUADS);
}

tGUIQuad::~tGUIQuad() {
    if (VA) tZObject::DisposeObject(VA);
}

void tGUIQuad::SetRect(float X1, float Y1, float X2, float Y2) {
    if (VA) GUIRenderer()->GeometryServer->CreateRect(VA, X1, Y1, X2, Y2, 0);
}

void tGUIQuad::Draw(tShaderResource* Shader) {
    if (VA && Shader) GUIRenderer()->AddBuffer(VA, Shader);
}

void tGUIQuad::Draw(tShaderResource* Shader, const TMatrix4& Transform) {
    if (!VA || !Shader) return;
    tRenderDevice* R = GUIRenderer();
    R->BeginTransform(ZFT_MULT, &Transform);
    R->AddBuffer(VA, Shader);
    R->EndTransform(ZFT_MULT);
}

tShaderResource* LoadGUIShader(const ShortString& Name) { return GUIDeviceDraws() ? Resources->LoadShader(Name) : nullptr; }

bool GUIDeviceDraws() {
    tRenderDevice* R = GUIRenderer();
    return R && R->GeometryServer && R->VertexArrayManager && Resources;
}
