#include "kernel/platform/primarytarget.h"

#include <SDL2/SDL.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tPrimaryRenderingTarget,
    .Operations = {{"DeleteContext"}, {"CreateContext"}, {"SwapBuffers"}, {"MakeCurrent"}, {"GetRenderingContext"},
                   {"ChoosePixelFormat"}, {"OverrideTargetDimensions"}, {"Restore"}, {"IsAvailable"}})

tPrimaryRenderingTarget::~tPrimaryRenderingTarget() { DeleteContext(); }

// The window's visual was chosen when the viewport created it; report it.
int32_t tPrimaryRenderingTarget::ChoosePixelFormat() {
    ProcTrace trace("tPrimaryRenderingTarget.ChoosePixelFormat()");
    Logger->Log("GL device context created sucessfully");
    Logger->Guard(Viewport && Viewport->GetWindow(), "Viewport isn't assigned");
    return static_cast<int32_t>(SDL_GetWindowPixelFormat(Viewport->GetWindow()));
}

void tPrimaryRenderingTarget::CreateContext() {
    int32_t Format = ChoosePixelFormat();
    Logger->Log("Pixel format chosen");
    if (Format == static_cast<int32_t>(SDL_PIXELFORMAT_UNKNOWN)) Logger->Fatal("Can't Set The PixelFormat.");
    Logger->Log("Pixel format set");
    // SDL shares with the context current at creation.
    const bool Sharing = ShareObjectsWith != 0 &&
        SDL_GL_MakeCurrent(Viewport->GetWindow(), reinterpret_cast<SDL_GLContext>(ShareObjectsWith)) == 0;
    if (ShareObjectsWith != 0 && !Sharing) {
        Logger->Log(ShortString("The new rendering context cannot take over the old one's objects: ") + SDL_GetError());
        ShareObjectsWith = 0;
    }
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, Sharing ? 1 : 0);
    RenderingContext = SDL_GL_CreateContext(Viewport->GetWindow());
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    if (RenderingContext && Sharing) Logger->Log("Textures, programs and buffers taken over from the previous context");
    if (!RenderingContext) {
        Logger->Log(ShortString("SDL: ") + SDL_GetError());
        Logger->Fatal("Can't Create A GL Rendering Context.");
    }
    Logger->Log("OpenGL rendering context created");
    int Depth = 0, Stencil = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &Depth);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &Stencil);
    Logger->Log("Depth bits: " + Int2Str(Depth) + ", stencil bits: " + Int2Str(Stencil));
}

void tPrimaryRenderingTarget::MakeCurrent() {
    if (!RenderingContext || SDL_GL_MakeCurrent(Viewport->GetWindow(), RenderingContext) != 0)
        Logger->Fatal("Can't Activate The GL Rendering Context.");
}

void tPrimaryRenderingTarget::SwapBuffers() { SDL_GL_SwapWindow(Viewport->GetWindow()); }

// A context is deleted after the one that replaced it became current: only
// when it is itself current does nothing stay current.
void tPrimaryRenderingTarget::DeleteContext() {
    if (!RenderingContext) return;
    SDL_GL_DeleteContext(RenderingContext);
    RenderingContext = nullptr;
}
