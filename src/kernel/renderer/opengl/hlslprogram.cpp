#include "kernel/renderer/opengl/hlslprogram.h"

#include <memory>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/globjects.h"
#include "kernel/renderer/opengl/glerror.h"
#include "kernel/renderer/va/vagl.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"

namespace {

// The object's info log (compiler or linker messages) into the engine log.
void LogInfoLog(GLhandleARB Object) {
    GLint Length = 0;
    glGetObjectParameterivARB(Object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &Length);
    if (Length <= 1) return;
    auto Text = std::make_unique<GLcharARB[]>(static_cast<std::size_t>(Length));
    glGetInfoLogARB(Object, Length, nullptr, Text.get());
    Logger->LogP(Text.get());
}

// Deletes the object, if any, and forgets its handle.
void DeleteObject(uint32_t& Object) {
    if (Object == 0) return;
    glDeleteObjectARB(Object);
    tGLObjects::Deleted();
    Object = 0;
}

GLint ObjectParameter(GLhandleARB Object, GLenum Name) {
    GLint Value = 0;
    glGetObjectParameterivARB(Object, Name, &Value);
    return Value;
}

void SetVector(GLint Location, const TVector4& V) {
    if (Location >= 0) glUniform4fARB(Location, V.x, V.y, V.z, V.w);
}

}  // namespace

tHLSLProgram::~tHLSLProgram() {
    for (uint32_t* Object : {&VertexShader, &FragmentShader, &ProgramID}) DeleteObject(*Object);
}

uint32_t tHLSLProgram::LoadShader(uint32_t Kind, const ShortString& FileName) {
    ProcTrace trace("tHLSLProgram.LoadShader(" + FileName + ")");
    std::unique_ptr<char[]> Source = FileSystem->LoadTextFile(FileName);
    CheckGLError();
    uint32_t Shader = glCreateShaderObjectARB(Kind);
    tGLObjects::Made();
    const GLcharARB* Text = Source.get();
    glShaderSourceARB(Shader, 1, &Text, nullptr);
    glCompileShaderARB(Shader);
    const GLint Compiled = ObjectParameter(Shader, GL_OBJECT_COMPILE_STATUS_ARB);
    LogInfoLog(Shader);
    if (!Compiled) DeleteObject(Shader);
    Logger->Guard(Compiled != 0, "Shader wasn't compiled");
    Logger->Log("Checking GL state");
    CheckGLError();
    return Shader;
}

void tHLSLProgram::LoadVertexShaderFromFile(const ShortString& FileName) {
    DeleteObject(VertexShader);
    VertexShader = LoadShader(GL_VERTEX_SHADER_ARB, FileName);
}

void tHLSLProgram::LoadFragmentShaderFromFile(const ShortString& FileName) {
    DeleteObject(FragmentShader);
    FragmentShader = LoadShader(GL_FRAGMENT_SHADER_ARB, FileName);
}

void tHLSLProgram::Compile() {
    ProcTrace trace("tHLSLProgram.Compile()");
    DeleteObject(ProgramID);
    ProgramID = glCreateProgramObjectARB();
    tGLObjects::Made();
    if (VertexShader != 0) glAttachObjectARB(ProgramID, VertexShader);
    if (FragmentShader != 0) glAttachObjectARB(ProgramID, FragmentShader);
    Logger->Log("Linking program...");
    glLinkProgramARB(ProgramID);
    const GLint Linked = ObjectParameter(ProgramID, GL_OBJECT_LINK_STATUS_ARB);
    LogInfoLog(ProgramID);
    Logger->Guard(Linked != 0, "Shader wasn't linked");
    Logger->Log("Checking GL state");
    CheckGLError();

    Logger->Log("Retriving uniforms locations...");
    glUseProgramObjectARB(ProgramID);
    uWorldTime = glGetUniformLocationARB(ProgramID, "WorldTime");
    uCameraPos = glGetUniformLocationARB(ProgramID, "CameraPos");
    uDeltaTex = glGetUniformLocationARB(ProgramID, "DeltaTex");
    uSceneFogColor = glGetUniformLocationARB(ProgramID, "SceneFogColor");
    uInvModelView = glGetUniformLocationARB(ProgramID, "InvModelView");
    uBinormals = glGetAttribLocationARB(ProgramID, "Binormals");
    uTangents = glGetAttribLocationARB(ProgramID, "Tangents");
    char Name[] = "local0";
    for (int32_t I = 0; I < LocalParams; ++I) {
        Name[5] = static_cast<char>('0' + I);
        uLocals[I] = glGetUniformLocationARB(ProgramID, Name);
    }
    int32_t* const SamplerLocations[Samplers] = {&Texture0, &Texture1, &Texture2, &Texture3};
    char Sampler[] = "Texture0";
    for (int32_t I = 0; I < Samplers; ++I) {
        Sampler[7] = static_cast<char>('0' + I);
        *SamplerLocations[I] = glGetUniformLocationARB(ProgramID, Sampler);
        if (*SamplerLocations[I] >= 0) glUniform1iARB(*SamplerLocations[I], I);
    }
    glUseProgramObjectARB(0);
    CheckGLError();
}

void tHLSLProgram::UseProgram() {
    glUseProgramObjectARB(ProgramID);
    SetupProgramsParams();
}

void tHLSLProgram::SetupProgramsParams() {
    const TProgramEnvironment Env = CurrentProgramEnvironment();
    SetVector(uCameraPos, Vector4(Env.CameraPos.x, Env.CameraPos.y, Env.CameraPos.z, 1.0f));
    if (uInvModelView >= 0) {
        TMatrix4 ModelView;
        glGetFloatv(GL_MODELVIEW_MATRIX, ModelView.data());
        // The model view is the model transform followed by the camera's view;
        // undoing the view leaves the model transform, which is inverted.
        const TMatrix4 InvModel = InverseMatrix4_TR(ModelView * InverseMatrix4_TR(Env.CameraView));
        glUniformMatrix4fvARB(uInvModelView, 1, GL_FALSE, InvModel.data());
    }
    if (uWorldTime >= 0) glUniform1fARB(uWorldTime, Env.WorldTime);
    SetVector(uDeltaTex, DeltaTexCache);
    for (int32_t I = 0; I < LocalParams; ++I) SetVector(uLocals[I], LocalsCache[I]);
    SetVector(uSceneFogColor, Vector4(Env.FogColor.x, Env.FogColor.y, Env.FogColor.z, 1.0f));
}

void tHLSLProgram::SetLocalParam(int32_t Index, const TVector4& V) {
    Logger->Guard(Index >= 0 && Index < LocalParams, "Invalid Local index");
    LocalsCache[Index] = V;
}

TProgramEnvironment CurrentProgramEnvironment() {
    TProgramEnvironment Env;
    if (!Engine) return Env;
    tRenderDevice* Device = Engine->Renderer;
    if (!Device) return Env;
    Env.FogColor = Device->GetFogColor();
    const TSceneView& Scene = Device->GetSceneView();
    Env.WorldTime = Scene.WorldTime;
    // A sub-view is a scene of its own, seen by its own camera.
    if (const TMatrix4* SubView = Device->SubViewCamera()) {
        const TMatrix4 Eye = InverseMatrix4_TR(*SubView);
        Env.CameraPos = {Eye[12], Eye[13], Eye[14]};
        Env.CameraView = *SubView;
    } else {
        Env.CameraPos = Scene.CameraPos;
        Env.CameraView = Scene.CameraView;
    }
    return Env;
}
