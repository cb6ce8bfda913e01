#pragma once
// The window-system side of the OpenGL capability probe. The capability table
// names the Windows (WGL) extensions; here they are answered by what the
// window system in use offers: GLX 1.3 FBConfigs and pbuffers on X11, core
// configs and pbuffers under EGL, and render-to-texture wherever framebuffer
// objects exist.

#include <string>
#include <string_view>

struct SDL_Window;

// The window system's extension string (GLX's on X11), empty when there is none.
std::string WindowSystemExtensions(SDL_Window* Window);

// Whether the window system provides what the WGL extension WGLName stands
// for; GLExtensions is the GL extension string.
bool WindowSystemSupports(SDL_Window* Window, std::string_view WGLName, std::string_view GLExtensions);
