#pragma once
// GLSL programs on the ARB shader-object interface. The engine feeds every
// program the uniforms it declares among:
//   float WorldTime        the world's time
//   vec4  CameraPos        the camera's position, w = 1: the world camera's
//                          (both as the world handed them to the render
//                          device), or the device's sub-view camera's
//   vec4  DeltaTex         SetDeltaTex's value
//   vec4  SceneFogColor    the render device's fog colour, w = 1
//   mat4  InvModelView     the model transform of what is drawn, inverted:
//                          from the object's space back through the camera
//   vec4  local0..local3   SetLocalParam's values
//   samplers Texture0..Texture3 on texture units 0..3
// "Binormals" and "Tangents" are located as vertex attributes only.

#include <cstdint>

#include "libraries/classes/shaderprogram.h"
#include "libraries/math/matrix.h"

// What the engine shows the programs this frame.
struct TProgramEnvironment {
    float WorldTime = 0;
    TVector3 CameraPos;
    TMatrix4 CameraView = IdentityMatrix4;  // that camera's viewing transformation
    TVector4 FogColor;
};
// From the engine's render device: the scene view the world handed it (or a
// sub-view's camera) and its fog colour; the defaults without a device.
TProgramEnvironment CurrentProgramEnvironment();

class tHLSLProgram : public tShaderProgram {
public:
    static constexpr int32_t LocalParams = 4;
    static constexpr int32_t Samplers = 4;

    ~tHLSLProgram() override;

    void LoadVertexShaderFromFile(const ShortString& FileName) override;
    void LoadFragmentShaderFromFile(const ShortString& FileName) override;
    void Compile() override;
    void UseProgram() override;
    void SetupProgramsParams() override;
    void SetDeltaTex(const TVector4& V) override { DeltaTexCache = V; }
    void SetLocalParam(int32_t Index, const TVector4& V) override;
    void SetBinormals(const void* P) override { BinormalsPtr = P; }
    void SetTangents(const void* P) override { TangentsPtr = P; }

    // Compiles the file's source as a shader of Kind (GL_VERTEX_SHADER_ARB or
    // GL_FRAGMENT_SHADER_ARB), writing the compiler's log to the engine log.
    uint32_t LoadShader(uint32_t Kind, const ShortString& FileName);

    uint32_t VertexShader = 0, FragmentShader = 0, ProgramID = 0;
    TVector4 DeltaTexCache;
    TVector4 LocalsCache[LocalParams];
    const void* BinormalsPtr = nullptr;
    const void* TangentsPtr = nullptr;
    // Locations, -1 where the program has no such name.
    int32_t uWorldTime = -1, uCameraPos = -1, uDeltaTex = -1, uSceneFogColor = -1, uInvModelView = -1;
    int32_t uBinormals = -1, uTangents = -1;
    int32_t uLocals[LocalParams] = {-1, -1, -1, -1};
    int32_t Texture0 = -1, Texture1 = -1, Texture2 = -1, Texture3 = -1;
};
