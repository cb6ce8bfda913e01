#include "kernel/renderer/opengl/frame.h"

#include <GL/gl.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/resources/resourcekinds.h"

Z_IMPLEMENT_CLASS(tFrame)

void tFrame::BeginFrame(bool WireFrame) {
    TotalTextStrings = 0;
    TotalOcclusionTests = 0;
    FogColor = PendingFogColor;
    glClearColor(FogColor.x, FogColor.y, FogColor.z, FogColor.w);
    // The clear obeys the write masks, which the last shader of the previous
    // frame may have left off.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(~0u);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glLineWidth(1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, WireFrame ? GL_LINE : GL_FILL);
}

void tFrame::SetState(tShaderResource* Shader) {
    Logger->Guard(Shader, "No shader to draw with");
    Shader->SetState();
    State_CurrentShader = Shader;
}

void tFrame::UpdateState(tShaderResource* Shader) {
    Logger->Guard(Shader, "No shader to draw with");
    Shader->UpdateState(State_CurrentShader);
    State_CurrentShader = Shader;
}
