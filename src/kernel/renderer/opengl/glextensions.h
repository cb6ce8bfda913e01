#pragma once
// The OpenGL capability probe: logs the driver's strings, finds the extensions
// the renderer depends on (a missing critical one ends the program), checks
// the version and the texture units, and loads the extension entry points.

#include <cstdint>
#include <string>

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

struct SDL_Window;

enum TOptionality : int32_t { CRITICAL = 0, OPTIONAL = 1 };

class tOpenGLExtensions : public tZObject {
    Z_DECLARE_CLASS(tOpenGLExtensions, tZObject)
public:
    static constexpr int32_t MinTextureUnits = 4;

    // Window is the viewport's window, whose window system is probed as well.
    explicit tOpenGLExtensions(SDL_Window* Window);

    // Substring search in the GL extensions, then in the window system's.
    bool IsExtensionPresent(const ShortString& Name, TOptionality Optionality);
    bool VBOSupported() const { return ARBVertexBufferObject; }
    ShortString GetGLVersion() const;
    ShortString GetGLVendor() const;
    ShortString GetGLRenderer() const;
    const char* GetGLExtensions() const { return GLExtensions.c_str(); }
    const char* GetWGLExtensions() const { return WGLExtensions.c_str(); }

    bool ARBMultiTexture = false;
    bool EXTTexture3D = false;
    bool ARBOcclusionQuery = false;
    bool MultiDrawArrays = false;
    bool EXTSecondaryColor = false;
    bool PBuffers = false;
    bool PixelFormat = false;
    bool RenderTexture = false;
    bool ARBVertexProgram = false;
    bool ARBFragmentProgram = false;
    bool ARBPointSprite = false;
    bool ARBPointParameters = false;
    bool ARBShaderObjects = false;
    bool ARBShadingLanguage = false;
    bool ARBTextureCompression = false;
    bool ARBVertexBufferObject = false;
    int32_t MaxTextureUnits = 0;

private:
    void LogCapabilities();
    void FindExtensions();
    void CheckVersion();
    void CheckTextureUnits();
    void ConfigurePointSprites();

    SDL_Window* Window;
    std::string GLExtensions;
    std::string WGLExtensions;
};

// True when an OpenGL version string names 1.4 or later.
bool IsSupportedGLVersion(const ShortString& Version);
