#include "kernel/renderer/opengl/glwindowsystem.h"

#include <GL/glx.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

namespace {

Display* X11DisplayOf(SDL_Window* Window) {
    if (!Window) return nullptr;
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!SDL_GetWindowWMInfo(Window, &Info) || Info.subsystem != SDL_SYSWM_X11) return nullptr;
    return Info.info.x11.display;
}

bool HasGLX13(Display* X) {
    int Major = 0, Minor = 0;
    return glXQueryVersion(X, &Major, &Minor) && (Major > 1 || (Major == 1 && Minor >= 3));
}

}  // namespace

std::string WindowSystemExtensions(SDL_Window* Window) {
    Display* X = X11DisplayOf(Window);
    if (!X) return {};
    const char* Extensions = glXQueryExtensionsString(X, DefaultScreen(X));
    return Extensions ? Extensions : "";
}

bool WindowSystemSupports(SDL_Window* Window, std::string_view WGLName, std::string_view GLExtensions) {
    if (WGLName == "WGL_ARB_render_texture")
        return GLExtensions.find("GL_ARB_framebuffer_object") != std::string_view::npos ||
               GLExtensions.find("GL_EXT_framebuffer_object") != std::string_view::npos;
    Display* X = X11DisplayOf(Window);
    const bool Pbuffer = WGLName == "WGL_ARB_pbuffer", PixelFormat = WGLName == "WGL_ARB_pixel_format";
    if (!Pbuffer && !PixelFormat) return false;
    if (!X) return true;  // EGL: configs and pbuffers are part of the core
    std::string GLX = WindowSystemExtensions(Window);
    return HasGLX13(X) || GLX.find(Pbuffer ? "GLX_SGIX_pbuffer" : "GLX_SGIX_fbconfig") != std::string::npos;
}
