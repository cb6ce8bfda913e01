#include "kernel/renderer/opengl/glextensions.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL_video.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/opengl/glwindowsystem.h"

Z_IMPLEMENT_CLASS(tOpenGLExtensions)

namespace {

struct tExtensionEntry {
    const char* Name;
    bool tOpenGLExtensions::*Flag;
    TOptionality Optionality;
};

constexpr tExtensionEntry ExtensionTable[] = {
    {"GL_ARB_multitexture", &tOpenGLExtensions::ARBMultiTexture, CRITICAL},
    {"GL_EXT_texture3D", &tOpenGLExtensions::EXTTexture3D, CRITICAL},
    {"GL_ARB_point_sprite", &tOpenGLExtensions::ARBPointSprite, CRITICAL},
    {"GL_ARB_point_parameters", &tOpenGLExtensions::ARBPointParameters, CRITICAL},
    {"GL_ARB_vertex_program", &tOpenGLExtensions::ARBVertexProgram, CRITICAL},
    {"GL_ARB_fragment_program", &tOpenGLExtensions::ARBFragmentProgram, CRITICAL},
    {"GL_ARB_occlusion_query", &tOpenGLExtensions::ARBOcclusionQuery, CRITICAL},
    {"GL_ARB_shader_objects", &tOpenGLExtensions::ARBShaderObjects, CRITICAL},
    {"GL_ARB_shading_language_100", &tOpenGLExtensions::ARBShadingLanguage, CRITICAL},
    {"GL_ARB_texture_compression", &tOpenGLExtensions::ARBTextureCompression, CRITICAL},
    {"GL_EXT_multi_draw_arrays", &tOpenGLExtensions::MultiDrawArrays, CRITICAL},
    {"GL_EXT_secondary_color", &tOpenGLExtensions::EXTSecondaryColor, CRITICAL},
    {"WGL_ARB_pbuffer", &tOpenGLExtensions::PBuffers, CRITICAL},
    {"WGL_ARB_pixel_format", &tOpenGLExtensions::PixelFormat, CRITICAL},
    {"WGL_ARB_render_texture", &tOpenGLExtensions::RenderTexture, CRITICAL},
    {"GL_ARB_vertex_buffer_object", &tOpenGLExtensions::ARBVertexBufferObject, OPTIONAL},
};

constexpr float PointSizeMin = 5.0f;
constexpr float PointSizeMax = 1000.0f;

ShortString GLString(GLenum Name) {
    const GLubyte* Text = glGetString(Name);
    return Text ? ShortString(reinterpret_cast<const char*>(Text)) : ShortString();
}

}  // namespace

bool IsSupportedGLVersion(const ShortString& Version) { return Version[0] >= '2' || Version[2] >= '4'; }

tOpenGLExtensions::tOpenGLExtensions(SDL_Window* Window) : Window(Window) {
    ProcTrace trace("tOpenGLExtensions.Init()");
    const GLubyte* Extensions = glGetString(GL_EXTENSIONS);
    GLExtensions = Extensions ? reinterpret_cast<const char*>(Extensions) : "";
    WGLExtensions = WindowSystemExtensions(Window);
    LogCapabilities();
    FindExtensions();
    CheckVersion();
    CheckTextureUnits();
    ConfigurePointSprites();
}

ShortString tOpenGLExtensions::GetGLVersion() const { return GLString(GL_VERSION); }
ShortString tOpenGLExtensions::GetGLVendor() const { return GLString(GL_VENDOR); }
ShortString tOpenGLExtensions::GetGLRenderer() const { return GLString(GL_RENDERER); }

void tOpenGLExtensions::LogCapabilities() {
    Logger->Log("OpenGL version   : " + GetGLVersion());
    Logger->Log("OpenGL vendor    : " + GetGLVendor());
    Logger->Log("OpenGL renderer  : " + GetGLRenderer());
    Logger->Log("OpenGL extensions: ");
    Logger->LogP(GLExtensions.c_str());
    Logger->Log("WGL extensions   : ");
    Logger->LogP(WGLExtensions.c_str());
}

bool tOpenGLExtensions::IsExtensionPresent(const ShortString& Name, TOptionality Optionality) {
    bool Found = GLExtensions.find(Name.view()) != std::string::npos ||
                 WGLExtensions.find(Name.view()) != std::string::npos ||
                 (Name.view().starts_with("WGL_") && WindowSystemSupports(Window, Name.view(), GLExtensions));
    Logger->Log((Found ? "Found: " : "Not found: ") + Name);
    if (!Found && Optionality == CRITICAL) Logger->Fatal(Name + " extension needed");
    return Found;
}

void tOpenGLExtensions::FindExtensions() {
    for (const tExtensionEntry& E : ExtensionTable) this->*E.Flag = IsExtensionPresent(E.Name, E.Optionality);
}

void tOpenGLExtensions::CheckVersion() {
    Logger->Guard(IsSupportedGLVersion(GetGLVersion()), "At least OpenGL 1.4.0 needed");
}

void tOpenGLExtensions::CheckTextureUnits() {
    GLint Units = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS_ARB, &Units);
    MaxTextureUnits = Units;
    Logger->Log("GL_MAX_TEXTURE_UNITS_ARB = " + Int2Str(MaxTextureUnits));
    Logger->Guard(MaxTextureUnits >= MinTextureUnits, "At least " + Int2Str(MinTextureUnits) + " texture units needed");
}

void tOpenGLExtensions::ConfigurePointSprites() {
    if (!ARBPointSprite) return;
    auto PointParameterf = reinterpret_cast<PFNGLPOINTPARAMETERFARBPROC>(SDL_GL_GetProcAddress("glPointParameterfARB"));
    if (!PointParameterf) return;
    PointParameterf(GL_POINT_SIZE_MIN_ARB, PointSizeMin);
    PointParameterf(GL_POINT_SIZE_MAX_ARB, PointSizeMax);
}
